#include "sandbox/uTsqlLexer.h"

#include "core/uError.h"

namespace vq::sandbox {
namespace {

bool IsIdentStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool IsIdentChar(unsigned char c) {
  return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '$' || c == '#' || c == '@';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Context(std::string_view text, size_t pos) {
  return std::string(text.substr(pos, 30));
}

} // namespace

std::vector<Token> TokenizeTsql(std::string_view text) {
  std::vector<Token> tokens;
  size_t pos = 0;
  const size_t n = text.size();
  while (pos < n) {
    const char c = text[pos];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
      ++pos;
      continue;
    }
    if (c == '-' && pos + 1 < n && text[pos + 1] == '-') {
      while (pos < n && text[pos] != '\n') ++pos;
      continue;
    }
    if (c == '/' && pos + 1 < n && text[pos + 1] == '*') {
      // T-SQL block comments nest.
      size_t depth = 1;
      size_t p = pos + 2;
      while (p < n && depth > 0) {
        if (text[p] == '/' && p + 1 < n && text[p + 1] == '*') {
          ++depth;
          p += 2;
        } else if (text[p] == '*' && p + 1 < n && text[p + 1] == '/') {
          --depth;
          p += 2;
        } else {
          ++p;
        }
      }
      if (depth > 0) throw Error("Unterminated comment in T-SQL text");
      pos = p;
      continue;
    }
    Token token;
    token.Offset = pos;
    const bool national = (c == 'N' || c == 'n') && pos + 1 < n && text[pos + 1] == '\'';
    if (c == '\'' || national) {
      size_t p = pos + (national ? 2 : 1);
      std::string value;
      for (;;) {
        if (p >= n) throw Error("Unterminated string literal in T-SQL text: " + Context(text, pos));
        if (text[p] == '\'') {
          if (p + 1 < n && text[p + 1] == '\'') {
            value += '\'';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        value += text[p++];
      }
      token.Kind = TokenKind::String;
      token.Text = std::move(value);
      token.National = national;
      pos = p;
    } else if (c == '[' || c == '"') {
      const char close = c == '[' ? ']' : '"';
      size_t p = pos + 1;
      std::string value;
      for (;;) {
        if (p >= n) throw Error("Unterminated quoted name in T-SQL text: " + Context(text, pos));
        if (text[p] == close) {
          if (p + 1 < n && text[p + 1] == close) {
            value += close;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        value += text[p++];
      }
      token.Kind = TokenKind::Identifier;
      token.Text = std::move(value);
      token.Quoted = true;
      pos = p;
    } else if (IsIdentStart(static_cast<unsigned char>(c)) || c == '#') {
      size_t p = pos + 1;
      while (p < n && IsIdentChar(static_cast<unsigned char>(text[p]))) ++p;
      token.Kind = TokenKind::Identifier;
      token.Text = std::string(text.substr(pos, p - pos));
      pos = p;
    } else if (IsDigit(c) || (c == '.' && pos + 1 < n && IsDigit(text[pos + 1]))) {
      size_t p = pos;
      while (p < n && IsDigit(text[p])) ++p;
      if (p < n && text[p] == '.') {
        ++p;
        while (p < n && IsDigit(text[p])) ++p;
      }
      if (p < n && (text[p] == 'e' || text[p] == 'E')) {
        size_t q = p + 1;
        if (q < n && (text[q] == '+' || text[q] == '-')) ++q;
        if (q < n && IsDigit(text[q])) {
          p = q;
          while (p < n && IsDigit(text[p])) ++p;
        }
      }
      token.Kind = TokenKind::Number;
      token.Text = std::string(text.substr(pos, p - pos));
      pos = p;
    } else if (c == ':' && pos + 1 < n &&
               (IsIdentChar(static_cast<unsigned char>(text[pos + 1])))) {
      size_t p = pos + 1;
      while (p < n && IsIdentChar(static_cast<unsigned char>(text[p]))) ++p;
      token.Kind = TokenKind::Placeholder;
      token.Text = std::string(text.substr(pos + 1, p - pos - 1));
      pos = p;
    } else if (c == '@') {
      size_t p = pos + 1;
      if (p < n && text[p] == '@') ++p;
      while (p < n && IsIdentChar(static_cast<unsigned char>(text[p]))) ++p;
      token.Kind = TokenKind::Variable;
      token.Text = std::string(text.substr(pos, p - pos));
      pos = p;
    } else {
      static const char* const twoChar[] = {"<>", "!=", "<=", ">=", "!<", "!>"};
      token.Kind = TokenKind::Operator;
      bool matched = false;
      if (pos + 1 < n) {
        for (const char* op : twoChar) {
          if (text[pos] == op[0] && text[pos + 1] == op[1]) {
            token.Text = op;
            pos += 2;
            matched = true;
            break;
          }
        }
      }
      if (!matched) {
        static const std::string_view single = "(),.;+-*/%&|^~=<>";
        if (single.find(c) == std::string_view::npos)
          throw Error("Unexpected character in T-SQL text: " + Context(text, pos));
        token.Text = std::string(1, c);
        ++pos;
      }
    }
    tokens.push_back(std::move(token));
  }
  Token end;
  end.Offset = n;
  tokens.push_back(end);
  return tokens;
}

} // namespace vq::sandbox
