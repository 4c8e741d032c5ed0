#include "core/uCodePage.h"

#include <array>
#include <cstdint>

namespace vq {
namespace {

// Upper halves of the two pages, 0 where the page has no character.
constexpr std::array<char16_t, 128> Page1253 = {
    8364, 0,   8218, 402, 8222, 8230, 8224, 8225, 0,   8240, 0,    8249, 0,   0,   0,   0,
    0,    8216, 8217, 8220, 8221, 8226, 8211, 8212, 0,   8482, 0,    8250, 0,   0,   0,   0,
    160,  901, 902,  163, 164,  165,  166,  167,  168, 169,  0,    171,  172, 173, 174, 8213,
    176,  177, 178,  179, 900,  181,  182,  183,  904, 905,  906,  187,  908, 189, 910, 911,
    912,  913, 914,  915, 916,  917,  918,  919,  920, 921,  922,  923,  924, 925, 926, 927,
    928,  929, 0,    931, 932,  933,  934,  935,  936, 937,  938,  939,  940, 941, 942, 943,
    944,  945, 946,  947, 948,  949,  950,  951,  952, 953,  954,  955,  956, 957, 958, 959,
    960,  961, 962,  963, 964,  965,  966,  967,  968, 969,  970,  971,  972, 973, 974, 0};

constexpr std::array<char16_t, 128> Page1252 = [] {
  std::array<char16_t, 128> page{};
  constexpr char16_t low[32] = {8364, 0,    8218, 402,  8222, 8230, 8224, 8225, 710,  8240, 352,
                                8249, 338,  0,    381,  0,    0,    8216, 8217, 8220, 8221, 8226,
                                8211, 8212, 732,  8482, 353,  8250, 339,  0,    382,  376};
  for (int i = 0; i < 32; ++i) page[i] = low[i];
  for (int i = 32; i < 128; ++i) page[i] = static_cast<char16_t>(128 + i);
  return page;
}();

int currentPage = 1253;

const std::array<char16_t, 128>& Page() { return currentPage == 1252 ? Page1252 : Page1253; }

} // namespace

int AnsiCodePage() { return currentPage; }

void SetAnsiCodePage(int codePage) { currentPage = codePage == 1252 ? 1252 : 1253; }

char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int extra = 0;
  char32_t cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + extra >= text.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i <= extra; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  pos += extra + 1;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Utf8ToAnsi(std::string_view utf8) {
  const auto& page = Page();
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = DecodeUtf8(utf8, pos);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (size_t i = 0; i < page.size(); ++i) {
      if (page[i] != 0 && page[i] == cp) {
        mapped = static_cast<char>(0x80 + i);
        break;
      }
    }
    out += mapped;
  }
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  const auto& page = Page();
  std::string out;
  out.reserve(ansi.size() * 2);
  for (const char c : ansi) {
    const auto b = static_cast<uint8_t>(c);
    if (b < 0x80) {
      out += c;
    } else {
      const char16_t cp = page[b - 0x80];
      AppendUtf8(out, cp == 0 ? U'?' : cp);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = DecodeUtf8(utf8, pos);
    if (cp >= 0x10000) {
      const char32_t v = cp - 0x10000;
      out += static_cast<char16_t>(0xD800 + (v >> 10));
      out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 2);
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

} // namespace vq
