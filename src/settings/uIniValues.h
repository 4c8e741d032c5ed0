#pragma once

#include "core/uDateTime.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vq {

// How the stored texts of the settings file read as typed values. A missing key reads
// as empty text.

// Decimal digits; empty text, anything else, or a number beyond int32 gives the default.
int32_t IniInteger(std::string_view text, int32_t defaultValue);
// True when the stored integer is not 0; no integer gives the default.
bool IniFlag(std::string_view text, bool defaultValue);
// "dd/mm/yyyy"; empty text or text that is no date gives day 0 (30 December 1899).
TDateTime IniDate(std::string_view text);

std::string IniFlagText(bool value);
std::string IniDateText(TDateTime value);

} // namespace vq
