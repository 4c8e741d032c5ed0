#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

// The shortest text of at most 15 significant digits, "." as decimal point whatever
// the locale: 2.5 gives "2.5", 24 gives "24", 1e20 gives "1E20".
std::string NumberText(double value);

// Reads a decimal number with "." as decimal point (blanks around it allowed);
// nothing else, whatever the locale.
std::optional<double> ParseNumber(std::string_view text);
std::optional<int64_t> ParseInteger(std::string_view text);

} // namespace vq
