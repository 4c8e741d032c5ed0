#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vq::sandbox {

enum class TokenKind {
  End,
  Identifier,       // plain word (keywords too), #temp names, [bracketed] and "quoted" names
  Number,           // 12, 1.5, .5, 1e3
  String,           // 'text' (quotes removed, '' undoubled)
  Placeholder,      // :Name or :0 (Text holds the name without the colon)
  Variable,         // @name or @@name (Text holds the name with the at signs)
  Operator          // punctuation and operators: ( ) , . ; + - * / % & | ^ ~ = <> != < > <= >= !< !>
};

struct Token {
  TokenKind Kind = TokenKind::End;
  std::string Text;
  size_t Offset = 0;
  bool Quoted = false;  // Identifier: written [..] or "..", so never a keyword
  bool National = false; // String: written N'..'
};

// Splits T-SQL text into tokens; comments (-- and /* */) and blanks are dropped.
// Throws vq::Error for an unterminated literal, name or comment, or a character the
// dialect does not know.
std::vector<Token> TokenizeTsql(std::string_view text);

} // namespace vq::sandbox
