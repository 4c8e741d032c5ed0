#include "settings/uIniValues.h"

#include "core/uNumberText.h"

#include <limits>

namespace vq {

int32_t IniInteger(std::string_view text, int32_t defaultValue) {
  const auto number = ParseInteger(text);
  if (!number || *number < std::numeric_limits<int32_t>::min() ||
      *number > std::numeric_limits<int32_t>::max())
    return defaultValue;
  return static_cast<int32_t>(*number);
}

bool IniFlag(std::string_view text, bool defaultValue) {
  return IniInteger(text, defaultValue ? 1 : 0) != 0;
}

TDateTime IniDate(std::string_view text) { return ParseDateText(text).value_or(TDateTime{}); }

std::string IniFlagText(bool value) { return value ? "1" : "0"; }

std::string IniDateText(TDateTime value) { return DayMonthYearText(value); }

} // namespace vq
