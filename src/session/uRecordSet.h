#pragma once

#include "session/uDataPacket.h"

#include <string>
#include <string_view>
#include <vector>

namespace vq {

// The in-memory dataset of the server interface: fields, rows, a cursor, locate and
// index order, and editing. Loaded from and written back to a data packet.
class RecordSet {
public:
  RecordSet() = default;
  explicit RecordSet(DataPacket packet);

  // Packet in and out; a Value that holds no packet raises vq::Error.
  void SetData(const Value &packet);
  Value Data() const;
  const DataPacket &Packet() const { return packet_; }

  // In-memory field definitions: add them, then CreateDataSet opens an empty set.
  void AddFieldDef(std::string name, FieldType type, int size = 0);
  void CreateDataSet();
  bool Active() const { return active_; }

  const std::vector<FieldDef> &Fields() const { return packet_.Fields; }
  int FieldIndex(std::string_view name) const; // -1 when absent; names ignore case
  int RecordCount() const { return static_cast<int>(packet_.Rows.size()); }

  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  // At its end and at its beginning at the same time: no rows.
  bool IsEmpty() const { return eof_ && bof_; }
  void First();
  void Next();
  void Prior();
  void Last();

  // The field of the current row; raises vq::Error for an unknown field or no row.
  const Value &Field(std::string_view name) const;
  void SetField(std::string_view name, Value value); // only while appending or editing

  void Append();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  bool Editing() const { return state_ != State::Browse; }

  // Moves to the first row (in index order) whose fields, named "A;B", equal the
  // values; texts compare exactly, numbers by value. Stays put when none matches.
  bool Locate(std::string_view keyFields, const std::vector<Value> &values);

  // Orders the rows by the fields named "A;B" (ascending, stable) and goes to the first.
  void SetIndexFieldNames(std::string_view fieldNames);
  const std::string &IndexFieldNames() const { return indexFieldNames_; }

private:
  enum class State { Browse, Append, Edit };

  std::vector<int> ResolveFields(std::string_view names) const;
  int RequireField(std::string_view name) const;
  void ApplyIndex();
  void Reposition();

  DataPacket packet_;
  bool active_ = false;
  std::vector<size_t> order_; // row numbers in index order
  long cursor_ = 0;           // position in order_
  bool eof_ = true;
  bool bof_ = true;
  State state_ = State::Browse;
  Row buffer_;
  std::string indexFieldNames_;
};

// Orders two cells as the dataset index and locate do: missing first, numbers by value,
// texts by code point, dates by day number.
int CompareCells(const Value &a, const Value &b);

} // namespace vq
