#pragma once

#include "core/uDateTime.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vq {

enum class ValueType { Empty, Null, Boolean, Integer, Number, Text, Date, Bytes, Array };

using Bytes = std::vector<uint8_t>;

// The one dynamic value that crosses the server interface, as a VARIANT does on COM:
// empty (nothing passed), null (a database NULL), and the typed values. Text is UTF-8.
class Value {
public:
  Value() = default;
  Value(bool v) : data_(v) {}
  Value(int v) : data_(static_cast<int64_t>(v)) {}
  Value(int64_t v) : data_(v) {}
  Value(double v) : data_(v) {}
  Value(std::string v) : data_(std::move(v)) {}
  Value(const char* v) : data_(std::string(v)) {}
  Value(TDateTime v) : data_(v) {}
  Value(Bytes v) : data_(std::move(v)) {}
  Value(std::vector<Value> v) : data_(std::move(v)) {}

  static Value Null() {
    Value v;
    v.data_ = NullTag{};
    return v;
  }

  ValueType Type() const { return static_cast<ValueType>(data_.index()); }
  bool IsEmpty() const { return Type() == ValueType::Empty; }
  bool IsNull() const { return Type() == ValueType::Null; }
  // Empty or null: what a field read or a missing argument gives when nothing is there.
  bool IsMissing() const { return IsEmpty() || IsNull(); }

  // Conversions as the back office's field accessors do them: a missing value gives
  // 0, false or empty text; a text that does not convert raises vq::Error.
  bool AsBoolean() const;
  int64_t AsInteger() const;
  int32_t AsInt32() const;
  double AsNumber() const;
  std::string AsText() const;
  TDateTime AsDate() const;
  const Bytes& AsBytes() const;
  const std::vector<Value>& AsArray() const;

  // Same type and same content; a number and an integer of equal value are equal.
  friend bool operator==(const Value& a, const Value& b);

private:
  struct NullTag {
    friend bool operator==(NullTag, NullTag) { return true; }
  };
  std::variant<std::monostate, NullTag, bool, int64_t, double, std::string, TDateTime, Bytes,
               std::vector<Value>>
      data_;
};

const char* ValueTypeName(ValueType type);

} // namespace vq
