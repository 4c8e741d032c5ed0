#pragma once

#include "core/uValue.h"

#include <string>
#include <vector>

namespace vq {

// Column types of a record set, as the back office's SQL Server types arrive.
enum class FieldType { Integer, Number, Text, Date, Bytes, Boolean };

struct FieldDef {
  std::string Name;
  FieldType Type = FieldType::Text;
  int Size = 0; // characters of a text field; 0 for the others
  friend bool operator==(const FieldDef &, const FieldDef &) = default;
};

using Row = std::vector<Value>;

// The serialisable form of a record set: its fields and rows. A NULL cell is Value::Null().
struct DataPacket {
  std::vector<FieldDef> Fields;
  std::vector<Row> Rows;

  // Bytes as they cross the server interface (the "data packet" of OpenSQL and GetInstance).
  Bytes Encode() const;
  // Throws vq::Error for bytes that are not a packet.
  static DataPacket Decode(const Bytes &bytes);

  friend bool operator==(const DataPacket &, const DataPacket &) = default;
};

const char *FieldTypeName(FieldType type);

} // namespace vq
