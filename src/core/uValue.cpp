#include "core/uValue.h"

#include "core/uError.h"
#include "core/uNumberText.h"
#include "core/uText.h"

#include <cmath>
#include <limits>

namespace vq {
namespace {

[[noreturn]] void CannotConvert(ValueType from, const char* to) {
  throw Error(std::string("Could not convert variant of type (") + ValueTypeName(from) +
              ") into type (" + to + ")");
}

} // namespace

const char* ValueTypeName(ValueType type) {
  switch (type) {
  case ValueType::Empty: return "Empty";
  case ValueType::Null: return "Null";
  case ValueType::Boolean: return "Boolean";
  case ValueType::Integer: return "Integer";
  case ValueType::Number: return "Double";
  case ValueType::Text: return "String";
  case ValueType::Date: return "Date";
  case ValueType::Bytes: return "Bytes";
  case ValueType::Array: return "Array";
  }
  return "Unknown";
}

bool Value::AsBoolean() const {
  switch (Type()) {
  case ValueType::Empty:
  case ValueType::Null: return false;
  case ValueType::Boolean: return std::get<bool>(data_);
  case ValueType::Integer: return std::get<int64_t>(data_) != 0;
  case ValueType::Number: return std::get<double>(data_) != 0;
  case ValueType::Date: return std::get<TDateTime>(data_).Days != 0;
  case ValueType::Text: {
    const std::string& text = std::get<std::string>(data_);
    if (SameTextIgnoringCase(text, "true")) return true;
    if (SameTextIgnoringCase(text, "false")) return false;
    if (const auto number = ParseNumber(text)) return *number != 0;
    CannotConvert(Type(), "Boolean");
  }
  default: CannotConvert(Type(), "Boolean");
  }
}

int64_t Value::AsInteger() const {
  switch (Type()) {
  case ValueType::Empty:
  case ValueType::Null: return 0;
  case ValueType::Boolean: return std::get<bool>(data_) ? -1 : 0;
  case ValueType::Integer: return std::get<int64_t>(data_);
  case ValueType::Number:
  case ValueType::Date: {
    const double d = AsNumber();
    if (!(std::fabs(d) < 9.2e18)) CannotConvert(Type(), "Int64");
    return static_cast<int64_t>(std::nearbyint(d)); // banker's rounding like VARIANT
  }
  case ValueType::Text: {
    const std::string& text = std::get<std::string>(data_);
    if (const auto integer = ParseInteger(text)) return *integer;
    if (const auto number = ParseNumber(text); number && std::fabs(*number) < 9.2e18)
      return static_cast<int64_t>(std::nearbyint(*number));
    CannotConvert(Type(), "Integer");
  }
  default: CannotConvert(Type(), "Integer");
  }
}

int32_t Value::AsInt32() const {
  const int64_t v = AsInteger();
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    throw Error("Integer value out of range: " + std::to_string(v));
  return static_cast<int32_t>(v);
}

double Value::AsNumber() const {
  switch (Type()) {
  case ValueType::Empty:
  case ValueType::Null: return 0;
  case ValueType::Boolean: return std::get<bool>(data_) ? -1 : 0;
  case ValueType::Integer: return static_cast<double>(std::get<int64_t>(data_));
  case ValueType::Number: return std::get<double>(data_);
  case ValueType::Date: return std::get<TDateTime>(data_).Days;
  case ValueType::Text:
    if (const auto number = ParseNumber(std::get<std::string>(data_))) return *number;
    CannotConvert(Type(), "Double");
  default: CannotConvert(Type(), "Double");
  }
}

std::string Value::AsText() const {
  switch (Type()) {
  case ValueType::Empty:
  case ValueType::Null: return {};
  case ValueType::Boolean: return std::get<bool>(data_) ? "True" : "False";
  case ValueType::Integer: return std::to_string(std::get<int64_t>(data_));
  case ValueType::Number: return NumberText(std::get<double>(data_));
  case ValueType::Text: return std::get<std::string>(data_);
  case ValueType::Date: {
    const TDateTime d = std::get<TDateTime>(data_);
    const DateParts p = DecodeDateTime(d);
    std::string text = DayMonthYearText(d);
    if (p.Hour || p.Minute || p.Second) {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, " %02d:%02d:%02d", p.Hour, p.Minute, p.Second);
      text += buffer;
    }
    return text;
  }
  default: CannotConvert(Type(), "String");
  }
}

TDateTime Value::AsDate() const {
  switch (Type()) {
  case ValueType::Empty:
  case ValueType::Null: return TDateTime{};
  case ValueType::Date: return std::get<TDateTime>(data_);
  case ValueType::Integer:
  case ValueType::Number: return TDateTime{AsNumber()};
  case ValueType::Text:
    if (const auto date = ParseDateText(std::get<std::string>(data_))) return *date;
    CannotConvert(Type(), "Date");
  default: CannotConvert(Type(), "Date");
  }
}

const Bytes& Value::AsBytes() const {
  if (Type() != ValueType::Bytes) CannotConvert(Type(), "Bytes");
  return std::get<Bytes>(data_);
}

const std::vector<Value>& Value::AsArray() const {
  if (Type() != ValueType::Array) CannotConvert(Type(), "Array");
  return std::get<std::vector<Value>>(data_);
}

bool operator==(const Value& a, const Value& b) {
  const bool aNumeric = a.Type() == ValueType::Integer || a.Type() == ValueType::Number;
  const bool bNumeric = b.Type() == ValueType::Integer || b.Type() == ValueType::Number;
  if (aNumeric && bNumeric && a.Type() != b.Type()) return a.AsNumber() == b.AsNumber();
  return a.data_ == b.data_;
}

} // namespace vq
