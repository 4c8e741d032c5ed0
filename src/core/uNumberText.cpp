#include "core/uNumberText.h"

#include "core/uText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace vq {

std::string NumberText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  const size_t e = text.find('e');
  if (e == std::string::npos) return text;
  // Exponent as "E20" / "E-5", without "+" or leading zeros.
  std::string mantissa = text.substr(0, e);
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  exponent);
  return mantissa + "E" + std::to_string(exponent);
}

std::optional<double> ParseNumber(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  const char* begin = trimmed.data();
  const char* end = begin + trimmed.size();
  if (*begin == '+') ++begin;
  double value = 0;
  const auto result = std::from_chars(begin, end, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  const char* begin = trimmed.data();
  const char* end = begin + trimmed.size();
  if (*begin == '+') ++begin;
  int64_t value = 0;
  const auto result = std::from_chars(begin, end, value);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

} // namespace vq
