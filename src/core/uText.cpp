#include "core/uText.h"

#include "core/uCodePage.h"

namespace vq {
namespace {

char32_t UpperChar(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32; // Latin-1 letters
  if (c == 0xFF) return 0x178;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 32; // α..ω
  switch (c) {
  case 0x3C2: return 0x3A3; // ς
  case 0x3AC: return 0x386; // ά
  case 0x3AD: return 0x388;
  case 0x3AE: return 0x389;
  case 0x3AF: return 0x38A;
  case 0x3CC: return 0x38C;
  case 0x3CD: return 0x38E;
  case 0x3CE: return 0x38F;
  case 0x3CA: return 0x3AA; // ϊ
  case 0x3CB: return 0x3AB; // ϋ
  default: return c;
  }
}

char32_t StripAccent(char32_t c) {
  switch (c) {
  case 0x386: return 0x391;
  case 0x388: return 0x395;
  case 0x389: return 0x397;
  case 0x38A: case 0x3AA: return 0x399;
  case 0x38C: return 0x39F;
  case 0x38E: case 0x3AB: return 0x3A5;
  case 0x38F: return 0x3A9;
  case 0x390: return 0x399; // ΐ
  case 0x3B0: return 0x3A5; // ΰ
  default: break;
  }
  if (c >= 0xC0 && c <= 0xC5) return U'A';
  if (c == 0xC7) return U'C';
  if (c >= 0xC8 && c <= 0xCB) return U'E';
  if (c >= 0xCC && c <= 0xCF) return U'I';
  if (c == 0xD1) return U'N';
  if ((c >= 0xD2 && c <= 0xD6) || c == 0xD8) return U'O';
  if (c >= 0xD9 && c <= 0xDC) return U'U';
  if (c == 0xDD || c == 0x178) return U'Y';
  return c;
}

template <typename Map> std::string MapText(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (b < 0x80) {
      out += static_cast<char>(map(b));
      ++pos;
      continue;
    }
    AppendUtf8(out, map(DecodeUtf8(text, pos)));
  }
  return out;
}

} // namespace

std::string UpperText(std::string_view text) { return MapText(text, UpperChar); }

std::string FoldText(std::string_view text) {
  return MapText(text, [](char32_t c) { return StripAccent(UpperChar(c)); });
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return UpperText(a) == UpperText(b);
}

std::string Trim(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (true) {
    const size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::vector<std::string> SplitText(std::string_view text, char separator) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (true) {
    const size_t hit = text.find(separator, pos);
    parts.emplace_back(text.substr(pos, hit == std::string_view::npos ? hit : hit - pos));
    if (hit == std::string_view::npos) break;
    pos = hit + 1;
  }
  return parts;
}

} // namespace vq
