#include "session/uDataPacket.h"

#include "core/uError.h"

#include <cstring>

namespace vq {
namespace {

constexpr char Magic[4] = {'V', 'Q', 'D', 'P'};
constexpr uint8_t FormatVersion = 1;

class Writer {
public:
  void U8(uint8_t v) { out_.push_back(v); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void U64(uint64_t v) {
    for (int i = 0; i < 8; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void F64(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    U64(bits);
  }
  void Blob(const void *data, size_t size) {
    U32(static_cast<uint32_t>(size));
    const auto *bytes = static_cast<const uint8_t *>(data);
    out_.insert(out_.end(), bytes, bytes + size);
  }
  void Cell(const Value &v) {
    U8(static_cast<uint8_t>(v.Type()));
    switch (v.Type()) {
    case ValueType::Empty:
    case ValueType::Null: break;
    case ValueType::Boolean: U8(v.AsBoolean() ? 1 : 0); break;
    case ValueType::Integer: U64(static_cast<uint64_t>(v.AsInteger())); break;
    case ValueType::Number: F64(v.AsNumber()); break;
    case ValueType::Date: F64(v.AsDate().Days); break;
    case ValueType::Text: {
      const std::string text = v.AsText();
      Blob(text.data(), text.size());
      break;
    }
    case ValueType::Bytes: Blob(v.AsBytes().data(), v.AsBytes().size()); break;
    case ValueType::Array:
      U32(static_cast<uint32_t>(v.AsArray().size()));
      for (const Value &item : v.AsArray()) Cell(item);
      break;
    }
  }
  Bytes Take() { return std::move(out_); }

private:
  Bytes out_;
};

class Reader {
public:
  explicit Reader(const Bytes &in) : in_(in) {}
  void Need(size_t n) const {
    if (in_.size() - pos_ < n) throw Error("The data packet is truncated");
  }
  uint8_t U8() {
    Need(1);
    return in_[pos_++];
  }
  uint32_t U32() {
    Need(4);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(in_[pos_++]) << (8 * i);
    return v;
  }
  uint64_t U64() {
    Need(8);
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(in_[pos_++]) << (8 * i);
    return v;
  }
  double F64() {
    const uint64_t bits = U64();
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  std::string Text() {
    const uint32_t size = U32();
    Need(size);
    std::string text(reinterpret_cast<const char *>(in_.data() + pos_), size);
    pos_ += size;
    return text;
  }
  Bytes Blob() {
    const uint32_t size = U32();
    Need(size);
    Bytes blob(in_.begin() + static_cast<long>(pos_), in_.begin() + static_cast<long>(pos_ + size));
    pos_ += size;
    return blob;
  }
  Value Cell(int depth = 0) {
    const uint8_t tag = U8();
    switch (static_cast<ValueType>(tag)) {
    case ValueType::Empty: return Value();
    case ValueType::Null: return Value::Null();
    case ValueType::Boolean: return Value(U8() != 0);
    case ValueType::Integer: return Value(static_cast<int64_t>(U64()));
    case ValueType::Number: return Value(F64());
    case ValueType::Date: return Value(TDateTime{F64()});
    case ValueType::Text: return Value(Text());
    case ValueType::Bytes: return Value(Blob());
    case ValueType::Array: {
      if (depth > 32) throw Error("The data packet nests too deeply");
      const uint32_t count = U32();
      Need(count); // every cell takes at least its tag byte
      std::vector<Value> items;
      items.reserve(count);
      for (uint32_t i = 0; i < count; ++i) items.push_back(Cell(depth + 1));
      return Value(std::move(items));
    }
    }
    throw Error("The data packet holds an unknown value type");
  }
  bool AtEnd() const { return pos_ == in_.size(); }

private:
  const Bytes &in_;
  size_t pos_ = 0;
};

} // namespace

const char *FieldTypeName(FieldType type) {
  switch (type) {
  case FieldType::Integer: return "Integer";
  case FieldType::Number: return "Number";
  case FieldType::Text: return "Text";
  case FieldType::Date: return "Date";
  case FieldType::Bytes: return "Bytes";
  case FieldType::Boolean: return "Boolean";
  }
  return "Unknown";
}

Bytes DataPacket::Encode() const {
  Writer w;
  for (const char c : Magic) w.U8(static_cast<uint8_t>(c));
  w.U8(FormatVersion);
  w.U32(static_cast<uint32_t>(Fields.size()));
  for (const FieldDef &field : Fields) {
    w.Blob(field.Name.data(), field.Name.size());
    w.U8(static_cast<uint8_t>(field.Type));
    w.U32(static_cast<uint32_t>(field.Size));
  }
  w.U32(static_cast<uint32_t>(Rows.size()));
  for (const Row &row : Rows) {
    if (row.size() != Fields.size()) throw Error("A data packet row does not match its fields");
    for (const Value &cell : row) w.Cell(cell);
  }
  return w.Take();
}

DataPacket DataPacket::Decode(const Bytes &bytes) {
  Reader r(bytes);
  for (const char c : Magic)
    if (r.U8() != static_cast<uint8_t>(c)) throw Error("The value is not a data packet");
  if (r.U8() != FormatVersion) throw Error("The data packet has an unknown format version");
  DataPacket packet;
  const uint32_t fieldCount = r.U32();
  r.Need(fieldCount);
  for (uint32_t i = 0; i < fieldCount; ++i) {
    FieldDef field;
    field.Name = r.Text();
    const uint8_t type = r.U8();
    if (type > static_cast<uint8_t>(FieldType::Boolean))
      throw Error("The data packet holds an unknown field type");
    field.Type = static_cast<FieldType>(type);
    field.Size = static_cast<int>(r.U32());
    packet.Fields.push_back(std::move(field));
  }
  const uint32_t rowCount = r.U32();
  if (fieldCount > 0) r.Need(rowCount);
  for (uint32_t i = 0; i < rowCount; ++i) {
    Row row;
    row.reserve(fieldCount);
    for (uint32_t j = 0; j < fieldCount; ++j) row.push_back(r.Cell());
    packet.Rows.push_back(std::move(row));
  }
  if (!r.AtEnd()) throw Error("The data packet has trailing bytes");
  return packet;
}

} // namespace vq
