#include "documents/uBase64.h"

namespace vq {

std::string Base64Encode(std::span<const uint8_t> bytes) {
  static constexpr char Alphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t group =
        (uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
    text += Alphabet[(group >> 18) & 63];
    text += Alphabet[(group >> 12) & 63];
    text += Alphabet[(group >> 6) & 63];
    text += Alphabet[group & 63];
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    const uint32_t group =
        (uint32_t{bytes[i]} << 16) | (rest == 2 ? uint32_t{bytes[i + 1]} << 8 : 0);
    text += Alphabet[(group >> 18) & 63];
    text += Alphabet[(group >> 12) & 63];
    text += rest == 2 ? Alphabet[(group >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

} // namespace vq
