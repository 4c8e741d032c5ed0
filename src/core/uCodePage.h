#pragma once

#include <string>
#include <string_view>

namespace vq {

// The ANSI code page of the settings file and the trace. Windows-1253 (Greek)
// unless changed; 1252 is the other page we know.
int AnsiCodePage();
void SetAnsiCodePage(int codePage);

// A character the page cannot hold becomes "?"; invalid UTF-8 bytes likewise.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

// UTF-16 for the COM edge and for character-wise text handling.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Decodes one code point at `pos` and advances it; invalid bytes give U+FFFD.
char32_t DecodeUtf8(std::string_view text, size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);

} // namespace vq
