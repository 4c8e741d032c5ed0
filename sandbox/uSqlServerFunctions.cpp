#include "sandbox/uSqlServerFunctions.h"

#include "core/uError.h"
#include "core/uNumberText.h"
#include "core/uText.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace vq::sandbox {
namespace {

// ---------------------------------------------------------------------------------------
// Text helpers

std::string_view TrimRightBlanks(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

char32_t DecodeOne(std::string_view s, size_t& pos) {
  const auto b = static_cast<unsigned char>(s[pos]);
  if (b < 0x80) {
    ++pos;
    return b;
  }
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
  char32_t c = extra == 3 ? (b & 0x07) : extra == 2 ? (b & 0x0F) : (b & 0x1F);
  ++pos;
  for (int i = 0; i < extra && pos < s.size(); ++i, ++pos)
    c = (c << 6) | (static_cast<unsigned char>(s[pos]) & 0x3F);
  return c;
}

void AppendCodePoint(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::vector<char32_t> CodePoints(std::string_view s) {
  std::vector<char32_t> out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) out.push_back(DecodeOne(s, pos));
  return out;
}

std::string FromCodePoints(const std::vector<char32_t>& cps, size_t from, size_t count) {
  std::string out;
  for (size_t i = from; i < cps.size() && i < from + count; ++i) AppendCodePoint(out, cps[i]);
  return out;
}

// Folded code points (case and accents removed), one per input code point.
std::vector<char32_t> FoldedCodePoints(std::string_view s) {
  std::vector<char32_t> out;
  out.reserve(s.size());
  size_t pos = 0;
  std::string one;
  while (pos < s.size()) {
    const size_t start = pos;
    char32_t c = DecodeOne(s, pos);
    if (c < 0x80) {
      out.push_back(c >= 'a' && c <= 'z' ? c - 32 : c);
      continue;
    }
    const std::string folded = FoldText(s.substr(start, pos - start));
    size_t p = 0;
    out.push_back(folded.empty() ? c : DecodeOne(folded, p));
  }
  return out;
}

char32_t LowerChar(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  switch (c) {
  case 0x386: return 0x3AC;
  case 0x388: return 0x3AD;
  case 0x389: return 0x3AE;
  case 0x38A: return 0x3AF;
  case 0x38C: return 0x3CC;
  case 0x38E: return 0x3CD;
  case 0x38F: return 0x3CE;
  case 0x3AA: return 0x3CA;
  case 0x3AB: return 0x3CB;
  default: return c;
  }
}

// ---------------------------------------------------------------------------------------
// SQLite value helpers

std::string ValueText(sqlite3_value* v) {
  const unsigned char* t = sqlite3_value_text(v);
  return t ? std::string(reinterpret_cast<const char*>(t), sqlite3_value_bytes(v)) : std::string();
}

struct SqlFailure {
  std::string Message;
};

[[noreturn]] void Fail(const std::string& message) { throw SqlFailure{message}; }

template <typename F> void Guard(sqlite3_context* ctx, F&& f) {
  try {
    f();
  } catch (const SqlFailure& e) {
    sqlite3_result_error(ctx, e.Message.c_str(), -1);
  } catch (const std::exception& e) {
    sqlite3_result_error(ctx, e.what(), -1);
  }
}

void ResultText(sqlite3_context* ctx, const std::string& s) {
  sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

std::string Quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

// A text converted to int as SQL Server does: blanks around, sign, digits; '' is 0.
int64_t TextToInt(std::string_view text) {
  const std::string t = Trim(text);
  if (t.empty()) return 0;
  size_t p = 0;
  bool neg = false;
  if (t[p] == '+' || t[p] == '-') {
    neg = t[p] == '-';
    ++p;
  }
  if (p >= t.size()) Fail("Conversion failed when converting the varchar value " + Quoted(text) + " to data type int.");
  int64_t v = 0;
  for (; p < t.size(); ++p) {
    if (t[p] < '0' || t[p] > '9')
      Fail("Conversion failed when converting the varchar value " + Quoted(text) + " to data type int.");
    v = v * 10 + (t[p] - '0');
    if (v > 9223372036854775807LL / 10 && p + 1 < t.size())
      Fail("Arithmetic overflow error converting expression to data type int.");
  }
  return neg ? -v : v;
}

std::optional<double> TextToNumber(std::string_view text) {
  const std::string t = Trim(text);
  if (t.empty()) return std::nullopt;
  size_t p = 0;
  if (t[p] == '+' || t[p] == '-') ++p;
  bool digits = false;
  while (p < t.size() && t[p] >= '0' && t[p] <= '9') {
    ++p;
    digits = true;
  }
  if (p < t.size() && t[p] == '.') {
    ++p;
    while (p < t.size() && t[p] >= '0' && t[p] <= '9') {
      ++p;
      digits = true;
    }
  }
  if (!digits) return std::nullopt;
  if (p < t.size() && (t[p] == 'e' || t[p] == 'E')) {
    ++p;
    if (p < t.size() && (t[p] == '+' || t[p] == '-')) ++p;
    bool expDigits = false;
    while (p < t.size() && t[p] >= '0' && t[p] <= '9') {
      ++p;
      expDigits = true;
    }
    if (!expDigits) return std::nullopt;
  }
  if (p != t.size()) return std::nullopt;
  return std::strtod(t.c_str(), nullptr);
}

double RoundHalfAway(double x, int scale) {
  const double f = std::pow(10.0, scale);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", x * f);
  const double y = std::strtod(buf, nullptr);
  return std::round(y) / f;
}

std::string FixedText(double x, int scale) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", scale < 0 ? 0 : scale, RoundHalfAway(x, scale < 0 ? 0 : scale));
  std::string s = buf;
  if (s[0] == '-') {
    bool allZero = true;
    for (size_t i = 1; i < s.size(); ++i)
      if (s[i] != '0' && s[i] != '.') allZero = false;
    if (allZero) s.erase(0, 1);
  }
  return s;
}

// FLOAT to text as CAST(float AS VARCHAR) does it: 6 significant digits, exponent of three digits.
std::string FloatText(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6g", x);
  std::string s = buf;
  const size_t e = s.find('e');
  if (e != std::string::npos) {
    std::string mant = s.substr(0, e);
    char sign = s[e + 1];
    int exp = std::atoi(s.c_str() + e + 2);
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%03d", sign, exp);
    s = mant + tail;
  }
  return s;
}

// ---------------------------------------------------------------------------------------
// Dates

const char* const MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const MonthFullNames[] = {"January", "February", "March",     "April",
                                      "May",     "June",     "July",      "August",
                                      "September", "October", "November", "December"};
const char* const DayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                "Thursday", "Friday", "Saturday"};

bool ReadDigits(std::string_view s, size_t& pos, int minDigits, int maxDigits, int& out) {
  int n = 0;
  int v = 0;
  while (pos < s.size() && n < maxDigits && s[pos] >= '0' && s[pos] <= '9') {
    v = v * 10 + (s[pos] - '0');
    ++pos;
    ++n;
  }
  if (n < minDigits) return false;
  out = v;
  return true;
}

void SkipBlanks(std::string_view s, size_t& pos) {
  while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
}

// hh:mi[:ss[.mmm|:mmm]][AM|PM]
bool ReadTimePart(std::string_view s, size_t& pos, DateParts& p) {
  SkipBlanks(s, pos);
  if (pos >= s.size()) return true;
  if (!ReadDigits(s, pos, 1, 2, p.Hour)) return false;
  if (pos >= s.size() || s[pos] != ':') {
    // "12PM"
  } else {
    ++pos;
    if (!ReadDigits(s, pos, 1, 2, p.Minute)) return false;
    if (pos < s.size() && s[pos] == ':') {
      ++pos;
      if (!ReadDigits(s, pos, 1, 2, p.Second)) return false;
      if (pos < s.size() && (s[pos] == '.' || s[pos] == ':')) {
        ++pos;
        const size_t start = pos;
        int frac = 0;
        if (!ReadDigits(s, pos, 1, 9, frac)) return false;
        int digits = static_cast<int>(pos - start);
        double ms = frac;
        while (digits > 3) {
          ms /= 10;
          --digits;
        }
        while (digits < 3) {
          ms *= 10;
          ++digits;
        }
        p.Millisecond = static_cast<int>(std::lround(ms));
        if (p.Millisecond >= 1000) p.Millisecond = 999;
      }
    }
  }
  SkipBlanks(s, pos);
  if (pos + 1 < s.size() + 0 && pos + 2 <= s.size()) {
    const std::string ampm = UpperText(s.substr(pos, 2));
    if (ampm == "AM" || ampm == "PM") {
      if (p.Hour > 12 || p.Hour == 0) return false;
      if (ampm == "AM" && p.Hour == 12) p.Hour = 0;
      if (ampm == "PM" && p.Hour != 12) p.Hour += 12;
      pos += 2;
    }
  }
  SkipBlanks(s, pos);
  return p.Hour < 24 && p.Minute < 60 && p.Second < 60;
}

std::optional<TDateTime> Finish(std::string_view s, size_t pos, DateParts& p) {
  if (!ReadTimePart(s, pos, p)) return std::nullopt;
  SkipBlanks(s, pos);
  if (pos != s.size()) return std::nullopt;
  if (!IsValidDate(p.Year, p.Month, p.Day)) return std::nullopt;
  if (p.Year < 1753) return std::nullopt;
  return EncodeDateTime(p);
}

std::optional<TDateTime> ParseIso(std::string_view s) {
  DateParts p;
  size_t pos = 0;
  if (!ReadDigits(s, pos, 4, 4, p.Year)) return std::nullopt;
  if (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
    // yyyymmdd
    if (!ReadDigits(s, pos, 2, 2, p.Month) || !ReadDigits(s, pos, 2, 2, p.Day)) return std::nullopt;
  } else {
    if (pos >= s.size() || (s[pos] != '-' && s[pos] != '/' && s[pos] != '.')) return std::nullopt;
    const char sep = s[pos++];
    if (!ReadDigits(s, pos, 1, 2, p.Month)) return std::nullopt;
    if (pos >= s.size() || s[pos] != sep) return std::nullopt;
    ++pos;
    if (!ReadDigits(s, pos, 1, 2, p.Day)) return std::nullopt;
  }
  if (pos < s.size() && s[pos] == 'T') ++pos;
  return Finish(s, pos, p);
}

// dd/mm/yyyy (dayFirst) or mm/dd/yyyy, separators / - .; years of two digits allowed.
std::optional<TDateTime> ParseDmy(std::string_view s, bool dayFirst) {
  DateParts p;
  size_t pos = 0;
  SkipBlanks(s, pos);
  int a = 0, b = 0;
  if (!ReadDigits(s, pos, 1, 2, a)) return std::nullopt;
  if (pos >= s.size() || (s[pos] != '/' && s[pos] != '-' && s[pos] != '.')) return std::nullopt;
  const char sep = s[pos++];
  if (!ReadDigits(s, pos, 1, 2, b)) return std::nullopt;
  if (pos >= s.size() || s[pos] != sep) return std::nullopt;
  ++pos;
  const size_t ystart = pos;
  if (!ReadDigits(s, pos, 2, 4, p.Year)) return std::nullopt;
  if (pos - ystart == 2) p.Year += p.Year < 50 ? 2000 : 1900;
  else if (pos - ystart == 3) return std::nullopt;
  p.Day = dayFirst ? a : b;
  p.Month = dayFirst ? b : a;
  return Finish(s, pos, p);
}

// "Dec 11 2026 12:37PM", "11 Dec 2026", "Dec 11, 2026"
std::optional<TDateTime> ParseMonthName(std::string_view s) {
  DateParts p;
  size_t pos = 0;
  SkipBlanks(s, pos);
  auto readMonth = [&](int& month) {
    const size_t start = pos;
    while (pos < s.size() && ((s[pos] >= 'A' && s[pos] <= 'Z') || (s[pos] >= 'a' && s[pos] <= 'z'))) ++pos;
    const std::string word = UpperText(s.substr(start, pos - start));
    if (word.size() < 3) return false;
    for (int i = 0; i < 12; ++i) {
      const std::string full = UpperText(MonthFullNames[i]);
      if (full.compare(0, word.size(), word) == 0) {
        month = i + 1;
        return true;
      }
    }
    return false;
  };
  if (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
    if (!ReadDigits(s, pos, 1, 2, p.Day)) return std::nullopt;
    SkipBlanks(s, pos);
    if (!readMonth(p.Month)) return std::nullopt;
  } else {
    if (!readMonth(p.Month)) return std::nullopt;
    SkipBlanks(s, pos);
    if (!ReadDigits(s, pos, 1, 2, p.Day)) return std::nullopt;
    if (pos < s.size() && s[pos] == ',') ++pos;
  }
  SkipBlanks(s, pos);
  if (!ReadDigits(s, pos, 4, 4, p.Year)) return std::nullopt;
  return Finish(s, pos, p);
}

std::string Formatted(const char* format, int v) {
  char b[16];
  std::snprintf(b, sizeof b, format, v);
  return b;
}
std::string Two(int v) { return Formatted("%02d", v); }
std::string Three(int v) { return Formatted("%03d", v); }
std::string Four(int v) { return Formatted("%04d", v); }
std::string Padded2(int v) { return Formatted("%2d", v); }

std::string TwelveHour(const DateParts& p, bool withSeconds) {
  int h = p.Hour % 12;
  if (h == 0) h = 12;
  std::string s = Padded2(h) + ":" + Two(p.Minute);
  if (withSeconds) s += ":" + Two(p.Second) + ":" + Three(p.Millisecond);
  return s + (p.Hour < 12 ? "AM" : "PM");
}

DateParts Parts(TDateTime v) { return DecodeDateTime(v); }

TDateTime DateArg(sqlite3_value* v, bool& isNull) {
  isNull = false;
  switch (sqlite3_value_type(v)) {
  case SQLITE_NULL:
    isNull = true;
    return {};
  case SQLITE_INTEGER:
  case SQLITE_FLOAT:
    return TDateTime{sqlite3_value_double(v) + 2};
  default: {
    const std::string t = ValueText(v);
    auto d = ParseSqlServerDateTime(t, -1);
    if (!d) Fail("Conversion failed when converting date and/or time from character string.");
    return *d;
  }
  }
}

std::string NormalPart(std::string part) {
  part = UpperText(part);
  if (part == "YY" || part == "YYYY" || part == "YEAR") return "YEAR";
  if (part == "QQ" || part == "Q" || part == "QUARTER") return "QUARTER";
  if (part == "MM" || part == "M" || part == "MONTH") return "MONTH";
  if (part == "DY" || part == "Y" || part == "DAYOFYEAR") return "DAYOFYEAR";
  if (part == "DD" || part == "D" || part == "DAY") return "DAY";
  if (part == "WK" || part == "WW" || part == "WEEK") return "WEEK";
  if (part == "DW" || part == "W" || part == "WEEKDAY") return "WEEKDAY";
  if (part == "HH" || part == "HOUR") return "HOUR";
  if (part == "MI" || part == "N" || part == "MINUTE") return "MINUTE";
  if (part == "SS" || part == "S" || part == "SECOND") return "SECOND";
  if (part == "MS" || part == "MILLISECOND") return "MILLISECOND";
  Fail("'" + part + "' is not a recognized datepart option.");
}

int64_t DayNumber(TDateTime v) { return static_cast<int64_t>(std::floor(v.Days + 1e-9)); }

int DayOfYear(const DateParts& p) {
  DateParts jan1;
  jan1.Year = p.Year;
  jan1.Month = 1;
  jan1.Day = 1;
  DateParts d = p;
  d.Hour = d.Minute = d.Second = d.Millisecond = 0;
  return static_cast<int>(EncodeDateTime(d).Days - EncodeDateTime(jan1).Days) + 1;
}

// Weekday with DATEFIRST 7 (us_english): Sunday 1 ... Saturday 7.
int WeekDay(TDateTime v) {
  // 30 Dec 1899 was a Saturday.
  int64_t d = DayNumber(v);
  int w = static_cast<int>(((d % 7) + 7 + 6) % 7); // 0 = Sunday
  return w + 1;
}

int64_t DatePartValue(const std::string& part, TDateTime v) {
  const DateParts p = Parts(v);
  if (part == "YEAR") return p.Year;
  if (part == "QUARTER") return (p.Month - 1) / 3 + 1;
  if (part == "MONTH") return p.Month;
  if (part == "DAYOFYEAR") return DayOfYear(p);
  if (part == "DAY") return p.Day;
  if (part == "WEEK") {
    DateParts jan1;
    jan1.Year = p.Year;
    jan1.Month = 1;
    jan1.Day = 1;
    const int firstWeekDay = WeekDay(EncodeDateTime(jan1)); // 1..7
    return (DayOfYear(p) + firstWeekDay - 2) / 7 + 1;
  }
  if (part == "WEEKDAY") return WeekDay(v);
  if (part == "HOUR") return p.Hour;
  if (part == "MINUTE") return p.Minute;
  if (part == "SECOND") return p.Second;
  return p.Millisecond;
}

TDateTime AddMonths(TDateTime v, int64_t months) {
  DateParts p = Parts(v);
  int64_t total = static_cast<int64_t>(p.Year) * 12 + (p.Month - 1) + months;
  p.Year = static_cast<int>(total / 12);
  p.Month = static_cast<int>(total % 12) + 1;
  while (!IsValidDate(p.Year, p.Month, p.Day)) --p.Day;
  return EncodeDateTime(p);
}

TDateTime AddDaysExact(TDateTime v, double days) {
  // Keep the result on whole milliseconds.
  const DateParts p = Parts(v);
  (void)p;
  double r = v.Days + days;
  double ms = std::round(r * 86400000.0);
  return TDateTime{ms / 86400000.0};
}

TDateTime DateAdd(const std::string& part, double number, TDateTime v) {
  const int64_t n = static_cast<int64_t>(number); // SQL Server truncates the number
  if (part == "YEAR") return AddMonths(v, n * 12);
  if (part == "QUARTER") return AddMonths(v, n * 3);
  if (part == "MONTH") return AddMonths(v, n);
  if (part == "DAY" || part == "DAYOFYEAR" || part == "WEEKDAY") return AddDaysExact(v, static_cast<double>(n));
  if (part == "WEEK") return AddDaysExact(v, static_cast<double>(n * 7));
  if (part == "HOUR") return AddDaysExact(v, n / 24.0);
  if (part == "MINUTE") return AddDaysExact(v, n / 1440.0);
  if (part == "SECOND") return AddDaysExact(v, n / 86400.0);
  return AddDaysExact(v, n / 86400000.0);
}

int64_t DateDiff(const std::string& part, TDateTime a, TDateTime b) {
  const DateParts pa = Parts(a), pb = Parts(b);
  if (part == "YEAR") return pb.Year - pa.Year;
  if (part == "QUARTER") return (pb.Year - pa.Year) * 4 + ((pb.Month - 1) / 3 - (pa.Month - 1) / 3);
  if (part == "MONTH") return (pb.Year - pa.Year) * 12 + (pb.Month - pa.Month);
  const int64_t days = DayNumber(b) - DayNumber(a);
  if (part == "DAY" || part == "DAYOFYEAR" || part == "WEEKDAY") return days;
  if (part == "WEEK") {
    // Sunday boundaries crossed.
    const int64_t sa = DayNumber(a) - (WeekDay(a) - 1);
    const int64_t sb = DayNumber(b) - (WeekDay(b) - 1);
    return (sb - sa) / 7;
  }
  const int64_t hours = days * 24 + (pb.Hour - pa.Hour);
  if (part == "HOUR") return hours;
  const int64_t minutes = hours * 60 + (pb.Minute - pa.Minute);
  if (part == "MINUTE") return minutes;
  const int64_t seconds = minutes * 60 + (pb.Second - pa.Second);
  if (part == "SECOND") return seconds;
  return seconds * 1000 + (pb.Millisecond - pa.Millisecond);
}

// ---------------------------------------------------------------------------------------
// Conversions used by CAST / CONVERT. Kind: I int, B bit, N numeric, M money, F float,
// D datetime, T text, X binary, ? unknown (decided from the value).

char RuntimeKind(sqlite3_value* v, char kind) {
  if (kind != '?') return kind;
  switch (sqlite3_value_type(v)) {
  case SQLITE_INTEGER: return 'I';
  case SQLITE_FLOAT: return 'R'; // a real of unknown SQL type
  case SQLITE_BLOB: return 'X';
  default: return 'T';
  }
}

char KindArg(sqlite3_value* v) {
  const std::string k = ValueText(v);
  return k.empty() ? '?' : k[0];
}

int64_t ToInt(sqlite3_value* v, char kind) {
  kind = RuntimeKind(v, kind);
  switch (sqlite3_value_type(v)) {
  case SQLITE_INTEGER:
    return sqlite3_value_int64(v);
  case SQLITE_FLOAT: {
    double d = sqlite3_value_double(v);
    if (kind == 'D') return static_cast<int64_t>(std::llround(d));
    return static_cast<int64_t>(std::trunc(d));
  }
  default:
    break;
  }
  const std::string t = ValueText(v);
  if (kind == 'D') {
    auto d = ParseSqlServerDateTime(t, -1);
    if (!d) Fail("Conversion failed when converting date and/or time from character string.");
    return static_cast<int64_t>(std::llround(d->Days - 2));
  }
  if (kind == 'N' || kind == 'M' || kind == 'F' || kind == 'R') {
    auto n = TextToNumber(t);
    if (!n) Fail("Error converting data type varchar to numeric.");
    return static_cast<int64_t>(std::trunc(*n));
  }
  return TextToInt(t);
}

double ToNumber(sqlite3_value* v, char kind, const char* target) {
  kind = RuntimeKind(v, kind);
  switch (sqlite3_value_type(v)) {
  case SQLITE_INTEGER:
  case SQLITE_FLOAT:
    return sqlite3_value_double(v);
  default:
    break;
  }
  const std::string t = ValueText(v);
  if (kind == 'D') {
    auto d = ParseSqlServerDateTime(t, -1);
    if (!d) Fail("Conversion failed when converting date and/or time from character string.");
    return d->Days - 2;
  }
  if (std::strcmp(target, "float") == 0 && Trim(t).empty()) return 0;
  auto n = TextToNumber(t);
  if (!n) Fail(std::string("Error converting data type varchar to ") + target + ".");
  return *n;
}

std::string ToText(sqlite3_value* v, char kind, int scale, int style) {
  kind = RuntimeKind(v, kind);
  const int type = sqlite3_value_type(v);
  switch (kind) {
  case 'I':
  case 'B':
    if (type == SQLITE_FLOAT) return std::to_string(static_cast<int64_t>(std::trunc(sqlite3_value_double(v))));
    if (type == SQLITE_INTEGER) return std::to_string(sqlite3_value_int64(v));
    return ValueText(v);
  case 'N':
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) return FixedText(sqlite3_value_double(v), scale);
    return ValueText(v);
  case 'M':
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
      if (style == 1) {
        // with thousands separators
        std::string s = FixedText(sqlite3_value_double(v), 2);
        size_t dot = s.find('.');
        size_t begin = s[0] == '-' ? 1 : 0;
        for (int i = static_cast<int>(dot) - 3; i > static_cast<int>(begin); i -= 3) s.insert(i, ",");
        return s;
      }
      return FixedText(sqlite3_value_double(v), style == 2 ? 4 : 2);
    }
    return ValueText(v);
  case 'F':
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
      if (style == 1) {
        char b[64];
        std::snprintf(b, sizeof b, "%.7e", sqlite3_value_double(v));
        return b;
      }
      if (style == 2) {
        char b[64];
        std::snprintf(b, sizeof b, "%.15e", sqlite3_value_double(v));
        return b;
      }
      if (style == 3) {
        char b[64];
        std::snprintf(b, sizeof b, "%.17g", sqlite3_value_double(v));
        return b;
      }
      return FloatText(sqlite3_value_double(v));
    }
    return ValueText(v);
  case 'R':
    return NumberText(sqlite3_value_double(v));
  case 'D': {
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
      return SqlServerDateTimeText(TDateTime{sqlite3_value_double(v) + 2}, style);
    const std::string t = ValueText(v);
    auto d = ParseSqlServerDateTime(t, -1);
    if (!d) return t;
    return SqlServerDateTimeText(*d, style);
  }
  default:
    return ValueText(v);
  }
}

// ---------------------------------------------------------------------------------------
// The functions

void FnAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* a = argv[0];
    sqlite3_value* b = argv[1];
    const int ta = sqlite3_value_type(a), tb = sqlite3_value_type(b);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    const bool textA = ta == SQLITE_TEXT, textB = tb == SQLITE_TEXT;
    if (textA && textB) {
      ResultText(ctx, ValueText(a) + ValueText(b));
      return;
    }
    if (ta == SQLITE_BLOB || tb == SQLITE_BLOB) Fail("The data types varbinary and int are incompatible in the add operator.");
    if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
      sqlite3_result_int64(ctx, sqlite3_value_int64(a) + sqlite3_value_int64(b));
      return;
    }
    if (textA || textB) {
      sqlite3_value* num = textA ? b : a;
      sqlite3_value* txt = textA ? a : b;
      if (sqlite3_value_type(num) == SQLITE_INTEGER) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(num) + TextToInt(ValueText(txt)));
      } else {
        sqlite3_result_double(ctx, sqlite3_value_double(num) + ToNumber(txt, 'T', "numeric"));
      }
      return;
    }
    sqlite3_result_double(ctx, sqlite3_value_double(a) + sqlite3_value_double(b));
  });
}

// tsql_num(x [, target]): a value as a number for arithmetic or comparison with a number.
// target 'I' (int rules: '1.5' fails), 'N' numeric, 'F' float.
void FnNum(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* v = argv[0];
    const char target = argc > 1 ? KindArg(argv[1]) : '?';
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: sqlite3_result_int64(ctx, sqlite3_value_int64(v)); return;
    case SQLITE_FLOAT: sqlite3_result_double(ctx, sqlite3_value_double(v)); return;
    case SQLITE_BLOB: Fail("Implicit conversion from data type varbinary to int is not allowed.");
    default: break;
    }
    const std::string t = ValueText(v);
    if (target == 'I') {
      sqlite3_result_int64(ctx, TextToInt(t));
      return;
    }
    if (target == 'N' || target == 'F') {
      sqlite3_result_double(ctx, ToNumber(v, 'T', target == 'N' ? "numeric" : "float"));
      return;
    }
    // Unknown target: an integer text stays an integer.
    const std::string trimmed = Trim(t);
    if (!trimmed.empty() && trimmed.find_first_of(".eE") == std::string::npos) {
      sqlite3_result_int64(ctx, TextToInt(t));
      return;
    }
    auto n = TextToNumber(t);
    if (!n) Fail("Conversion failed when converting the varchar value " + Quoted(t) + " to data type int.");
    sqlite3_result_double(ctx, *n);
  });
}

// tsql_div(a, b, exact): exact 1 divides integers (truncating), else reals.
// SQL Server's functions of two texts give NULL when either is NULL.
bool FirstTwoNull(sqlite3_context* ctx, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) != SQLITE_NULL && sqlite3_value_type(argv[1]) != SQLITE_NULL)
    return false;
  sqlite3_result_null(ctx);
  return true;
}

void FnDiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (FirstTwoNull(ctx, argv)) return;
    const bool exact = sqlite3_value_int(argv[2]) != 0;
    if (exact) {
      const int64_t a = ToInt(argv[0], '?');
      const int64_t b = ToInt(argv[1], '?');
      if (b == 0) Fail("Divide by zero error encountered.");
      sqlite3_result_int64(ctx, a / b);
      return;
    }
    const double a = ToNumber(argv[0], '?', "numeric");
    const double b = ToNumber(argv[1], '?', "numeric");
    if (b == 0) Fail("Divide by zero error encountered.");
    sqlite3_result_double(ctx, a / b);
  });
}

void FnCompare(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* a = argv[0];
    sqlite3_value* b = argv[1];
    const int ta = sqlite3_value_type(a), tb = sqlite3_value_type(b);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    int r = 0;
    const bool numA = ta == SQLITE_INTEGER || ta == SQLITE_FLOAT;
    const bool numB = tb == SQLITE_INTEGER || tb == SQLITE_FLOAT;
    if (numA || numB) {
      double x, y;
      if (numA && numB) {
        if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
          const int64_t i = sqlite3_value_int64(a), j = sqlite3_value_int64(b);
          sqlite3_result_int(ctx, i < j ? -1 : i > j ? 1 : 0);
          return;
        }
        x = sqlite3_value_double(a);
        y = sqlite3_value_double(b);
      } else {
        sqlite3_value* num = numA ? a : b;
        sqlite3_value* other = numA ? b : a;
        const double n = sqlite3_value_double(num);
        double o;
        if (sqlite3_value_type(num) == SQLITE_INTEGER) o = static_cast<double>(TextToInt(ValueText(other)));
        else o = ToNumber(other, 'T', "numeric");
        x = numA ? n : o;
        y = numA ? o : n;
      }
      r = x < y ? -1 : x > y ? 1 : 0;
    } else if (ta == SQLITE_BLOB || tb == SQLITE_BLOB) {
      const int na = sqlite3_value_bytes(a), nb = sqlite3_value_bytes(b);
      const int c = std::memcmp(sqlite3_value_blob(a), sqlite3_value_blob(b), static_cast<size_t>(std::min(na, nb)));
      r = c != 0 ? (c < 0 ? -1 : 1) : (na < nb ? -1 : na > nb ? 1 : 0);
    } else {
      const int c = CompareSqlServerText(ValueText(a), ValueText(b));
      r = c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    sqlite3_result_int(ctx, r);
  });
}

void FnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (FirstTwoNull(ctx, argv)) return;
    int escape = -1;
    if (argc > 2 && sqlite3_value_type(argv[2]) != SQLITE_NULL) {
      const std::string e = ValueText(argv[2]);
      auto cps = CodePoints(e);
      if (cps.size() != 1) Fail("The escape sequence for LIKE must be one character.");
      escape = static_cast<int>(cps[0]);
    }
    sqlite3_result_int(ctx, LikeSqlServer(ValueText(argv[0]), ValueText(argv[1]), escape) ? 1 : 0);
  });
}

// tsql_text(x, kind, scale, length, fixed, style)
void FnText(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    char kind = argc > 1 ? KindArg(argv[1]) : '?';
    const int scale = argc > 2 ? sqlite3_value_int(argv[2]) : 0;
    const int length = argc > 3 ? sqlite3_value_int(argv[3]) : 0;
    const bool fixed = argc > 4 && sqlite3_value_int(argv[4]) != 0;
    const int style = argc > 5 && sqlite3_value_type(argv[5]) != SQLITE_NULL ? sqlite3_value_int(argv[5]) : -1;
    kind = RuntimeKind(v, kind);
    if (kind == 'X' || sqlite3_value_type(v) == SQLITE_BLOB) {
      const auto* p = static_cast<const char*>(sqlite3_value_blob(v));
      std::string raw(p ? p : "", static_cast<size_t>(sqlite3_value_bytes(v)));
      ResultText(ctx, raw);
      return;
    }
    std::string s = ToText(v, kind, scale, style);
    if (length > 0) {
      auto cps = CodePoints(s);
      if (cps.size() > static_cast<size_t>(length)) {
        if (kind == 'I' || kind == 'B') s = "*";
        else if (kind == 'N' || kind == 'M' || kind == 'F' || kind == 'R')
          Fail("Arithmetic overflow error converting numeric to data type varchar.");
        else s = FromCodePoints(cps, 0, static_cast<size_t>(length));
      } else if (fixed) {
        s.append(static_cast<size_t>(length) - cps.size(), ' ');
      }
    }
    ResultText(ctx, s);
  });
}

// tsql_int(x, kind, big)
void FnInt(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    const char kind = argc > 1 ? KindArg(argv[1]) : '?';
    const bool big = argc > 2 && sqlite3_value_int(argv[2]) != 0;
    const int64_t r = ToInt(v, kind);
    if (!big && (r > 2147483647LL || r < -2147483648LL))
      Fail("Arithmetic overflow error converting expression to data type int.");
    sqlite3_result_int64(ctx, r);
  });
}

void FnBit(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* v = argv[0];
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: sqlite3_result_int(ctx, sqlite3_value_double(v) != 0 ? 1 : 0); return;
    default: break;
    }
    const std::string t = UpperText(Trim(ValueText(v)));
    if (t == "TRUE") sqlite3_result_int(ctx, 1);
    else if (t == "FALSE") sqlite3_result_int(ctx, 0);
    else sqlite3_result_int(ctx, TextToInt(t) != 0 ? 1 : 0);
  });
}

// tsql_numeric(x, precision, scale, kind); scale -1 keeps the value.
void FnNumeric(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    const int precision = argc > 1 ? sqlite3_value_int(argv[1]) : 18;
    const int scale = argc > 2 ? sqlite3_value_int(argv[2]) : 0;
    const char kind = argc > 3 ? KindArg(argv[3]) : '?';
    double d = ToNumber(v, kind, "numeric");
    if (scale >= 0) d = RoundHalfAway(d, scale);
    if (precision > 0 && precision < 38 && scale >= 0) {
      const double limit = std::pow(10.0, precision - scale);
      if (std::fabs(d) >= limit) Fail("Arithmetic overflow error converting numeric to data type numeric.");
    }
    if (scale == 0 && std::fabs(d) < 9.2e18) sqlite3_result_int64(ctx, static_cast<int64_t>(d));
    else sqlite3_result_double(ctx, d);
  });
}

void FnFloat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    const char kind = argc > 1 ? KindArg(argv[1]) : '?';
    sqlite3_result_double(ctx, ToNumber(v, kind, "float"));
  });
}

// tsql_datetime(x, style, kind)
void FnDateTime(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* v = argv[0];
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    const int style = argc > 1 && sqlite3_value_type(argv[1]) != SQLITE_NULL ? sqlite3_value_int(argv[1]) : -1;
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
      ResultText(ctx, StoredDateTimeText(TDateTime{sqlite3_value_double(v) + 2}));
      return;
    }
    if (type == SQLITE_BLOB) Fail("Explicit conversion from data type varbinary to datetime is not allowed.");
    const std::string t = ValueText(v);
    auto d = ParseSqlServerDateTime(t, style);
    if (!d) Fail("Conversion failed when converting date and/or time from character string.");
    ResultText(ctx, StoredDateTimeText(*d));
  });
}

void FnGetDate(sqlite3_context* ctx, int, sqlite3_value**) {
  Guard(ctx, [&] { ResultText(ctx, StoredDateTimeText(Now())); });
}

void FnDateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    const std::string part = NormalPart(ValueText(argv[0]));
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    bool isNull = false;
    const TDateTime d = DateArg(argv[2], isNull);
    if (isNull) {
      sqlite3_result_null(ctx);
      return;
    }
    const double n = ToNumber(argv[1], '?', "int");
    ResultText(ctx, StoredDateTimeText(DateAdd(part, n, d)));
  });
}

// datetime + number of days (the number may have a fraction)
void FnDtAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    bool isNull = false;
    const TDateTime d = DateArg(argv[0], isNull);
    if (isNull || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    ResultText(ctx, StoredDateTimeText(AddDaysExact(d, ToNumber(argv[1], '?', "int"))));
  });
}

void FnDateDiff(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    const std::string part = NormalPart(ValueText(argv[0]));
    bool n1 = false, n2 = false;
    const TDateTime a = DateArg(argv[1], n1);
    const TDateTime b = DateArg(argv[2], n2);
    if (n1 || n2) {
      sqlite3_result_null(ctx);
      return;
    }
    sqlite3_result_int64(ctx, DateDiff(part, a, b));
  });
}

void FnDatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    const std::string part = NormalPart(ValueText(argv[0]));
    bool isNull = false;
    const TDateTime d = DateArg(argv[1], isNull);
    if (isNull) {
      sqlite3_result_null(ctx);
      return;
    }
    sqlite3_result_int64(ctx, DatePartValue(part, d));
  });
}

void FnDateName(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    const std::string part = NormalPart(ValueText(argv[0]));
    bool isNull = false;
    const TDateTime d = DateArg(argv[1], isNull);
    if (isNull) {
      sqlite3_result_null(ctx);
      return;
    }
    if (part == "MONTH") ResultText(ctx, MonthFullNames[Parts(d).Month - 1]);
    else if (part == "WEEKDAY") ResultText(ctx, DayNames[WeekDay(d) - 1]);
    else ResultText(ctx, std::to_string(DatePartValue(part, d)));
  });
}

// tsql_round(x, n [, truncate], exact)
void FnRound(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    const int n = sqlite3_value_int(argv[1]);
    const bool truncate = argc > 2 && sqlite3_value_type(argv[2]) != SQLITE_NULL && sqlite3_value_int(argv[2]) != 0;
    if (sqlite3_value_type(v) == SQLITE_INTEGER) {
      int64_t x = sqlite3_value_int64(v);
      if (n >= 0) {
        sqlite3_result_int64(ctx, x);
        return;
      }
      int64_t f = 1;
      for (int i = 0; i < -n && f < 1000000000000000000LL; ++i) f *= 10;
      int64_t q = x / f;
      int64_t r = x % f;
      if (!truncate && (r >= 0 ? r : -r) * 2 >= f) q += x < 0 ? -1 : 1;
      sqlite3_result_int64(ctx, q * f);
      return;
    }
    const double x = ToNumber(v, '?', "numeric");
    if (truncate) {
      const double f = std::pow(10.0, n);
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.15g", x * f);
      sqlite3_result_double(ctx, std::trunc(std::strtod(buf, nullptr)) / f);
      return;
    }
    sqlite3_result_double(ctx, RoundHalfAway(x, n));
  });
}

void FnLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_BLOB) {
      sqlite3_result_int(ctx, sqlite3_value_bytes(argv[0]));
      return;
    }
    const std::string t = ValueText(argv[0]);
    sqlite3_result_int64(ctx, static_cast<int64_t>(CodePoints(TrimRightBlanks(t)).size()));
  });
}

void FnDataLength(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
      sqlite3_result_int(ctx, 4);
      return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_FLOAT) {
      sqlite3_result_int(ctx, 8);
      return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_BLOB) {
      sqlite3_result_int(ctx, sqlite3_value_bytes(argv[0]));
      return;
    }
    sqlite3_result_int64(ctx, static_cast<int64_t>(CodePoints(ValueText(argv[0])).size()));
  });
}

void FnSubstring(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    for (int i = 0; i < 3; ++i)
      if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
      }
    const int64_t start = ToInt(argv[1], '?');
    const int64_t length = ToInt(argv[2], '?');
    if (length < 0) Fail("Invalid length parameter passed to the substring function.");
    const auto cps = CodePoints(ValueText(argv[0]));
    int64_t from = start - 1;
    int64_t to = from + length; // exclusive
    if (from < 0) from = 0;
    if (to > static_cast<int64_t>(cps.size())) to = static_cast<int64_t>(cps.size());
    if (to <= from) {
      ResultText(ctx, "");
      return;
    }
    ResultText(ctx, FromCodePoints(cps, static_cast<size_t>(from), static_cast<size_t>(to - from)));
  });
}

void FnLeftRight(sqlite3_context* ctx, sqlite3_value** argv, bool left) {
  Guard(ctx, [&] {
    if (FirstTwoNull(ctx, argv)) return;
    const int64_t n = ToInt(argv[1], '?');
    if (n < 0) Fail(std::string("Invalid length parameter passed to the ") + (left ? "left" : "right") + " function.");
    const auto cps = CodePoints(ValueText(argv[0]));
    const size_t count = std::min<size_t>(static_cast<size_t>(n), cps.size());
    ResultText(ctx, FromCodePoints(cps, left ? 0 : cps.size() - count, count));
  });
}
void FnLeft(sqlite3_context* ctx, int, sqlite3_value** argv) { FnLeftRight(ctx, argv, true); }
void FnRight(sqlite3_context* ctx, int, sqlite3_value** argv) { FnLeftRight(ctx, argv, false); }

void FnUpper(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    ResultText(ctx, UpperText(ValueText(argv[0])));
  });
}

void FnLower(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    std::string out;
    for (char32_t c : CodePoints(ValueText(argv[0]))) AppendCodePoint(out, LowerChar(c));
    ResultText(ctx, out);
  });
}

// REPLACE with the collation's matching (case and accent insensitive).
void FnReplace(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    for (int i = 0; i < 3; ++i)
      if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
      }
    const std::string s = ValueText(argv[0]);
    const std::string from = ValueText(argv[1]);
    const std::string to = ValueText(argv[2]);
    if (from.empty()) {
      ResultText(ctx, s);
      return;
    }
    const auto cps = CodePoints(s);
    const auto fs = FoldedCodePoints(s);
    const auto ff = FoldedCodePoints(from);
    std::string out;
    size_t i = 0;
    while (i < cps.size()) {
      bool match = i + ff.size() <= fs.size();
      for (size_t k = 0; match && k < ff.size(); ++k)
        if (fs[i + k] != ff[k]) match = false;
      if (match) {
        out += to;
        i += ff.size();
      } else {
        AppendCodePoint(out, cps[i]);
        ++i;
      }
    }
    ResultText(ctx, out);
  });
}

void FnCharIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (FirstTwoNull(ctx, argv)) return;
    const auto needle = FoldedCodePoints(ValueText(argv[0]));
    const auto hay = FoldedCodePoints(ValueText(argv[1]));
    int64_t start = argc > 2 && sqlite3_value_type(argv[2]) != SQLITE_NULL ? ToInt(argv[2], '?') : 1;
    if (start < 1) start = 1;
    if (needle.empty()) {
      sqlite3_result_int(ctx, 0);
      return;
    }
    for (size_t i = static_cast<size_t>(start - 1); i + needle.size() <= hay.size(); ++i) {
      bool match = true;
      for (size_t k = 0; match && k < needle.size(); ++k)
        if (hay[i + k] != needle[k]) match = false;
      if (match) {
        sqlite3_result_int64(ctx, static_cast<int64_t>(i + 1));
        return;
      }
    }
    sqlite3_result_int(ctx, 0);
  });
}

void FnSpace(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    const int64_t n = ToInt(argv[0], '?');
    if (n < 0) {
      sqlite3_result_null(ctx);
      return;
    }
    ResultText(ctx, std::string(static_cast<size_t>(std::min<int64_t>(n, 8000)), ' '));
  });
}

void FnReplicate(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (FirstTwoNull(ctx, argv)) return;
    const int64_t n = ToInt(argv[1], '?');
    if (n < 0) {
      sqlite3_result_null(ctx);
      return;
    }
    const std::string s = ValueText(argv[0]);
    std::string out;
    for (int64_t i = 0; i < n && out.size() < 8000; ++i) out += s;
    ResultText(ctx, out);
  });
}

void FnLTrimRTrim(sqlite3_context* ctx, sqlite3_value** argv, bool left) {
  Guard(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    std::string s = ValueText(argv[0]);
    if (left) {
      size_t p = 0;
      while (p < s.size() && s[p] == ' ') ++p;
      s.erase(0, p);
    } else {
      s = std::string(TrimRightBlanks(s));
    }
    ResultText(ctx, s);
  });
}
void FnLTrim(sqlite3_context* ctx, int, sqlite3_value** argv) { FnLTrimRTrim(ctx, argv, true); }
void FnRTrim(sqlite3_context* ctx, int, sqlite3_value** argv) { FnLTrimRTrim(ctx, argv, false); }

void FnFloorCeiling(sqlite3_context* ctx, sqlite3_value** argv, bool floorIt) {
  Guard(ctx, [&] {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    if (sqlite3_value_type(v) == SQLITE_INTEGER) {
      sqlite3_result_int64(ctx, sqlite3_value_int64(v));
      return;
    }
    const double d = ToNumber(v, '?', "numeric");
    sqlite3_result_double(ctx, floorIt ? std::floor(d) : std::ceil(d));
  });
}
void FnFloor(sqlite3_context* ctx, int, sqlite3_value** argv) { FnFloorCeiling(ctx, argv, true); }
void FnCeiling(sqlite3_context* ctx, int, sqlite3_value** argv) { FnFloorCeiling(ctx, argv, false); }

void FnSign(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    const double d = ToNumber(v, '?', "numeric");
    const int s = d > 0 ? 1 : d < 0 ? -1 : 0;
    if (sqlite3_value_type(v) == SQLITE_INTEGER) sqlite3_result_int(ctx, s);
    else sqlite3_result_double(ctx, s);
  });
}

void FnPower(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (FirstTwoNull(ctx, argv)) return;
    const double r = std::pow(ToNumber(argv[0], '?', "float"), ToNumber(argv[1], '?', "float"));
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER && std::fabs(r) < 9e18) sqlite3_result_int64(ctx, static_cast<int64_t>(r));
    else sqlite3_result_double(ctx, r);
  });
}

void FnObjId(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Guard(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
    sqlite3_result_int64(ctx, CatalogObjectId(ValueText(argv[0])));
  });
}

int CollationCompare(void*, int na, const void* a, int nb, const void* b) {
  return CompareSqlServerText(std::string_view(static_cast<const char*>(a), static_cast<size_t>(na)),
                              std::string_view(static_cast<const char*>(b), static_cast<size_t>(nb)));
}

struct FunctionDef {
  const char* Name;
  int Args;
  void (*Fn)(sqlite3_context*, int, sqlite3_value**);
  bool Deterministic;
};

const FunctionDef Functions[] = {
    {"tsql_add", 2, FnAdd, true},
    {"tsql_num", 1, FnNum, true},
    {"tsql_num", 2, FnNum, true},
    {"tsql_div", 3, FnDiv, true},
    {"tsql_compare", 2, FnCompare, true},
    {"tsql_like", 2, FnLike, true},
    {"tsql_like", 3, FnLike, true},
    {"tsql_text", -1, FnText, true},
    {"tsql_int", -1, FnInt, true},
    {"tsql_bit", 1, FnBit, true},
    {"tsql_numeric", -1, FnNumeric, true},
    {"tsql_float", -1, FnFloat, true},
    {"tsql_datetime", -1, FnDateTime, true},
    {"tsql_getdate", 0, FnGetDate, false},
    {"tsql_dateadd", 3, FnDateAdd, true},
    {"tsql_dtadd", 2, FnDtAdd, true},
    {"tsql_datediff", 3, FnDateDiff, true},
    {"tsql_datepart", 2, FnDatePart, true},
    {"tsql_datename", 2, FnDateName, true},
    {"tsql_round", 2, FnRound, true},
    {"tsql_round", 3, FnRound, true},
    {"tsql_len", 1, FnLen, true},
    {"tsql_datalength", 1, FnDataLength, true},
    {"tsql_substring", 3, FnSubstring, true},
    {"tsql_left", 2, FnLeft, true},
    {"tsql_right", 2, FnRight, true},
    {"tsql_upper", 1, FnUpper, true},
    {"tsql_lower", 1, FnLower, true},
    {"tsql_replace", 3, FnReplace, true},
    {"tsql_charindex", 2, FnCharIndex, true},
    {"tsql_charindex", 3, FnCharIndex, true},
    {"tsql_space", 1, FnSpace, true},
    {"tsql_replicate", 2, FnReplicate, true},
    {"tsql_ltrim", 1, FnLTrim, true},
    {"tsql_rtrim", 1, FnRTrim, true},
    {"tsql_floor", 1, FnFloor, true},
    {"tsql_ceiling", 1, FnCeiling, true},
    {"tsql_sign", 1, FnSign, true},
    {"tsql_power", 2, FnPower, true},
    {"tsql_objid", 1, FnObjId, true},
};

} // namespace

int CompareSqlServerText(std::string_view a, std::string_view b) {
  a = TrimRightBlanks(a);
  b = TrimRightBlanks(b);
  if (IsAscii(a) && IsAscii(b)) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
      unsigned char x = static_cast<unsigned char>(a[i]);
      unsigned char y = static_cast<unsigned char>(b[i]);
      if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
      if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
      if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
  }
  const std::string fa = FoldText(a);
  const std::string fb = FoldText(b);
  const int c = fa.compare(fb);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool LikeSqlServer(std::string_view value, std::string_view pattern, int escape) {
  const auto v = FoldedCodePoints(value);
  const auto p = FoldedCodePoints(pattern);
  const char32_t esc = escape < 0 ? 0xFFFFFFFF : static_cast<char32_t>(escape);
  // Folded escape: the escape char itself folds like any other char; compare the folded form.
  char32_t escFolded = esc;
  if (escape >= 0) {
    std::string e;
    AppendCodePoint(e, esc);
    auto f = FoldedCodePoints(e);
    escFolded = f.empty() ? esc : f[0];
  }
  // Iterative matcher with backtracking over the last %.
  size_t vi = 0, pi = 0;
  size_t starP = std::string::npos, starV = 0;
  auto matchOne = [&](size_t& pj, char32_t c) -> bool {
    // Matches one pattern element at pj against c; advances pj past it.
    if (escape >= 0 && p[pj] == escFolded && pj + 1 < p.size()) {
      const bool ok = p[pj + 1] == c;
      pj += 2;
      return ok;
    }
    if (p[pj] == '_') {
      ++pj;
      return true;
    }
    if (p[pj] == '[') {
      size_t k = pj + 1;
      bool negate = false;
      if (k < p.size() && p[k] == '^') {
        negate = true;
        ++k;
      }
      bool found = false;
      bool first = true;
      while (k < p.size() && (p[k] != ']' || first)) {
        first = false;
        if (k + 2 < p.size() && p[k + 1] == '-' && p[k + 2] != ']') {
          if (c >= p[k] && c <= p[k + 2]) found = true;
          k += 3;
        } else {
          if (p[k] == c) found = true;
          ++k;
        }
      }
      if (k >= p.size()) {
        // No closing bracket: '[' is literal.
        const bool ok = c == '[';
        ++pj;
        return ok;
      }
      pj = k + 1;
      return found != negate;
    }
    const bool ok = p[pj] == c;
    ++pj;
    return ok;
  };
  while (vi < v.size()) {
    if (pi < p.size() && p[pi] == '%' && !(escape >= 0 && false)) {
      starP = ++pi;
      starV = vi;
      continue;
    }
    if (pi < p.size()) {
      size_t pj = pi;
      if (matchOne(pj, v[vi])) {
        pi = pj;
        ++vi;
        continue;
      }
    }
    if (starP != std::string::npos) {
      pi = starP;
      vi = ++starV;
      continue;
    }
    return false;
  }
  while (pi < p.size() && p[pi] == '%') ++pi;
  return pi == p.size();
}

std::string StoredDateTimeText(TDateTime value) {
  const DateParts p = DecodeDateTime(value);
  return Four(p.Year) + "-" + Two(p.Month) + "-" + Two(p.Day) + " " + Two(p.Hour) + ":" + Two(p.Minute) +
         ":" + Two(p.Second) + "." + Three(p.Millisecond);
}

std::optional<TDateTime> ParseStoredDateTime(std::string_view text) { return ParseIso(text); }

std::optional<TDateTime> ParseSqlServerDateTime(std::string_view text, int style) {
  const std::string t = Trim(text);
  if (t.empty()) return TDateTime{2}; // '' converts to 1900-01-01
  switch (style) {
  case 101: case 1: case 110: case 10:
    return ParseDmy(t, false);
  case 103: case 3: case 104: case 4: case 105: case 5:
    return ParseDmy(t, true);
  case 102: case 2: case 111: case 11: case 112: case 12:
  case 120: case 20: case 121: case 21: case 23: case 126: case 127:
    return ParseIso(t);
  default:
    break;
  }
  if (auto d = ParseIso(t)) return d;
  if (auto d = ParseMonthName(t)) return d;
  // Slashed dates without a style: day first, as a Greek login reads them (DATEFORMAT dmy).
  if (auto d = ParseDmy(t, true)) return d;
  // A time alone is a moment of 1900-01-01.
  DateParts p;
  p.Year = 1900;
  p.Month = 1;
  p.Day = 1;
  if (t.find(':') != std::string::npos) return Finish(t, 0, p);
  return std::nullopt;
}

std::string SqlServerDateTimeText(TDateTime value, int style) {
  const DateParts p = DecodeDateTime(value);
  const std::string yyyy = Four(p.Year), yy = Two(p.Year % 100), mm = Two(p.Month), dd = Two(p.Day);
  const std::string mon = MonthNames[p.Month - 1];
  const std::string hms = Two(p.Hour) + ":" + Two(p.Minute) + ":" + Two(p.Second);
  switch (style) {
  case 1: return mm + "/" + dd + "/" + yy;
  case 101: return mm + "/" + dd + "/" + yyyy;
  case 2: return yy + "." + mm + "." + dd;
  case 102: return yyyy + "." + mm + "." + dd;
  case 3: return dd + "/" + mm + "/" + yy;
  case 103: return dd + "/" + mm + "/" + yyyy;
  case 4: return dd + "." + mm + "." + yy;
  case 104: return dd + "." + mm + "." + yyyy;
  case 5: return dd + "-" + mm + "-" + yy;
  case 105: return dd + "-" + mm + "-" + yyyy;
  case 6: return dd + " " + mon + " " + yy;
  case 106: return dd + " " + mon + " " + yyyy;
  case 7: return mon + " " + dd + ", " + yy;
  case 107: return mon + " " + dd + ", " + yyyy;
  case 8: case 108: case 24: return hms;
  case 9: case 109: return mon + " " + Padded2(p.Day) + " " + yyyy + " " + TwelveHour(p, true);
  case 10: return mm + "-" + dd + "-" + yy;
  case 110: return mm + "-" + dd + "-" + yyyy;
  case 11: return yy + "/" + mm + "/" + dd;
  case 111: return yyyy + "/" + mm + "/" + dd;
  case 12: return yy + mm + dd;
  case 112: return yyyy + mm + dd;
  case 13: case 113: return dd + " " + mon + " " + yyyy + " " + hms + ":" + Three(p.Millisecond);
  case 14: case 114: return hms + ":" + Three(p.Millisecond);
  case 20: case 120: return yyyy + "-" + mm + "-" + dd + " " + hms;
  case 21: case 121: case 25: return yyyy + "-" + mm + "-" + dd + " " + hms + "." + Three(p.Millisecond);
  case 23: return yyyy + "-" + mm + "-" + dd;
  case 126: case 127: {
    std::string s = yyyy + "-" + mm + "-" + dd + "T" + hms;
    if (p.Millisecond != 0) s += "." + Three(p.Millisecond);
    return s;
  }
  case 22: {
    int h = p.Hour % 12;
    if (h == 0) h = 12;
    return mm + "/" + dd + "/" + yy + " " + Padded2(h) + ":" + Two(p.Minute) + ":" + Two(p.Second) +
           (p.Hour < 12 ? " AM" : " PM");
  }
  default:
    return mon + " " + Padded2(p.Day) + " " + yyyy + " " + TwelveHour(p, false);
  }
}

int64_t CatalogObjectId(std::string_view name) {
  const std::string folded = FoldText(name);
  uint32_t h = 2166136261u;
  for (unsigned char c : folded) {
    h ^= c;
    h *= 16777619u;
  }
  return static_cast<int64_t>(h & 0x3FFFFFFF) + 1000;
}

void RegisterSqlServerFunctions(sqlite3* db) {
  if (sqlite3_create_collation(db, "SQLSERVER", SQLITE_UTF8, nullptr, CollationCompare) != SQLITE_OK)
    throw Error(std::string("Cannot register the SQLSERVER collation: ") + sqlite3_errmsg(db));
  for (const FunctionDef& f : Functions) {
    const int flags = SQLITE_UTF8 | (f.Deterministic ? SQLITE_DETERMINISTIC : 0);
    if (sqlite3_create_function(db, f.Name, f.Args, flags, nullptr, f.Fn, nullptr, nullptr) != SQLITE_OK)
      throw Error(std::string("Cannot register the SQLite function ") + f.Name + ": " + sqlite3_errmsg(db));
  }
}

} // namespace vq::sandbox
