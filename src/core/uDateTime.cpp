#include "core/uDateTime.h"

#include "core/uError.h"

#include <chrono>
#include <cmath>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace vq {
namespace {

constexpr double MsPerDay = 86400000.0;

// Days from civil, proleptic Gregorian (H. Hinnant's algorithm).
constexpr long long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

constexpr long long Epoch = DaysFromCivil(1899, 12, 30);

bool ReadInt(std::string_view text, size_t& pos, int minDigits, int maxDigits, int& out) {
  int digits = 0;
  out = 0;
  while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
    out = out * 10 + (text[pos] - '0');
    ++pos;
    ++digits;
  }
  return digits >= minDigits;
}

bool ReadTime(std::string_view text, size_t& pos, DateParts& parts) {
  if (!ReadInt(text, pos, 1, 2, parts.Hour) || pos >= text.size() || text[pos] != ':') return false;
  ++pos;
  if (!ReadInt(text, pos, 1, 2, parts.Minute)) return false;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    if (!ReadInt(text, pos, 1, 2, parts.Second)) return false;
    if (pos < text.size() && text[pos] == '.') {
      ++pos;
      const size_t start = pos;
      if (!ReadInt(text, pos, 1, 3, parts.Millisecond)) return false;
      for (size_t n = pos - start; n < 3; ++n) parts.Millisecond *= 10;
      while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
    }
  }
  return parts.Hour < 24 && parts.Minute < 60 && parts.Second < 60;
}

} // namespace

bool IsValidDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= lengths[month - 1] + (month == 2 && leap ? 1 : 0);
}

TDateTime EncodeDateTime(const DateParts& p) {
  if (!IsValidDate(p.Year, p.Month, p.Day) || p.Hour < 0 || p.Hour > 23 || p.Minute < 0 ||
      p.Minute > 59 || p.Second < 0 || p.Second > 59 || p.Millisecond < 0 || p.Millisecond > 999)
    throw Error("Invalid date or time");
  const double days = static_cast<double>(DaysFromCivil(p.Year, p.Month, p.Day) - Epoch);
  const double time =
      ((p.Hour * 60.0 + p.Minute) * 60.0 + p.Second) * 1000.0 + p.Millisecond;
  // Before the epoch the time still counts forwards from midnight: -1.25 is 29/12/1899 06:00.
  return TDateTime{days < 0 ? days - time / MsPerDay : days + time / MsPerDay};
}

DateParts DecodeDateTime(TDateTime value) {
  double whole = std::trunc(value.Days);
  long long ms = std::llround(std::fabs(value.Days - whole) * MsPerDay);
  if (ms >= static_cast<long long>(MsPerDay)) {
    ms -= static_cast<long long>(MsPerDay);
    whole += value.Days < 0 ? -1 : 1;
  }
  DateParts p;
  CivilFromDays(static_cast<long long>(whole) + Epoch, p.Year, p.Month, p.Day);
  p.Millisecond = static_cast<int>(ms % 1000);
  p.Second = static_cast<int>(ms / 1000 % 60);
  p.Minute = static_cast<int>(ms / 60000 % 60);
  p.Hour = static_cast<int>(ms / 3600000);
  return p;
}

TDateTime Now() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  const std::tm local = *std::localtime(&seconds); // the connector has no threads of its own
  return EncodeDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, std::min(local.tm_sec, 59), ms});
}

TDateTime Today() { return TDateTime{std::floor(Now().Days)}; }

std::string DayMonthYearText(TDateTime value) {
  const DateParts p = DecodeDateTime(value);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", p.Day, p.Month, p.Year);
  return buffer;
}

std::string TimestampText(TDateTime value) {
  const DateParts p = DecodeDateTime(value);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d.%d", p.Year, p.Month, p.Day,
                p.Hour, p.Minute, p.Second, p.Millisecond);
  return buffer;
}

std::optional<TDateTime> ParseDateText(std::string_view text) {
  DateParts p;
  size_t pos = 0;
  int first = 0;
  if (!ReadInt(text, pos, 1, 4, first) || pos >= text.size()) return std::nullopt;
  if (text[pos] == '/' && pos <= 2) {
    p.Day = first;
    ++pos;
    if (!ReadInt(text, pos, 1, 2, p.Month) || pos >= text.size() || text[pos] != '/')
      return std::nullopt;
    ++pos;
    if (!ReadInt(text, pos, 4, 4, p.Year)) return std::nullopt;
    if (pos < text.size()) {
      if (text[pos] != ' ') return std::nullopt;
      ++pos;
      if (!ReadTime(text, pos, p)) return std::nullopt;
    }
  } else if (text[pos] == '-' && pos == 4) {
    p.Year = first;
    ++pos;
    if (!ReadInt(text, pos, 1, 2, p.Month) || pos >= text.size() || text[pos] != '-')
      return std::nullopt;
    ++pos;
    if (!ReadInt(text, pos, 1, 2, p.Day)) return std::nullopt;
    if (pos < text.size()) {
      if (text[pos] != ' ' && text[pos] != 'T') return std::nullopt;
      ++pos;
      if (!ReadTime(text, pos, p)) return std::nullopt;
    }
  } else {
    return std::nullopt;
  }
  if (pos != text.size() || !IsValidDate(p.Year, p.Month, p.Day)) return std::nullopt;
  return EncodeDateTime(p);
}

} // namespace vq
