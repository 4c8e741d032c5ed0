#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vq {

// A moment as the back office counts it: days since 30 December 1899, the time of
// day as the fraction.
struct TDateTime {
  double Days = 0;
  friend bool operator==(const TDateTime&, const TDateTime&) = default;
};

struct DateParts {
  int Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// Throws vq::Error for a day that does not exist.
TDateTime EncodeDateTime(const DateParts& parts);
DateParts DecodeDateTime(TDateTime value);
bool IsValidDate(int year, int month, int day);

TDateTime Now();
TDateTime Today();

// "dd/mm/yyyy".
std::string DayMonthYearText(TDateTime value);
// "yyyy-mm-ddThh:mm:ss.z": milliseconds without leading zeros.
std::string TimestampText(TDateTime value);

// Reads "dd/mm/yyyy" with an optional time "hh:mm[:ss[.zzz]]" after a blank; also
// "yyyy-mm-dd" with an optional "T" or blank and time. Nothing else is a date.
std::optional<TDateTime> ParseDateText(std::string_view text);

} // namespace vq
