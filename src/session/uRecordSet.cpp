#include "session/uRecordSet.h"

#include "core/uError.h"
#include "core/uText.h"

#include <algorithm>
#include <numeric>

namespace vq {
namespace {

const Value NoValue = Value::Null();

bool IsNumeric(const Value &v) {
  return v.Type() == ValueType::Integer || v.Type() == ValueType::Number ||
         v.Type() == ValueType::Boolean;
}

// Coerces a search value to the field's type the way a dataset compares a key.
bool CellMatches(const Value &cell, const Value &wanted) {
  if (cell.IsMissing() || wanted.IsMissing()) return cell.IsMissing() && wanted.IsMissing();
  try {
    if (IsNumeric(cell) || IsNumeric(wanted)) return cell.AsNumber() == wanted.AsNumber();
    if (cell.Type() == ValueType::Date || wanted.Type() == ValueType::Date)
      return cell.AsDate() == wanted.AsDate();
    return cell.AsText() == wanted.AsText();
  } catch (const Error &) {
    return false; // a text that is no number matches no number
  }
}

} // namespace

int CompareCells(const Value &a, const Value &b) {
  if (a.IsMissing() || b.IsMissing()) return (a.IsMissing() ? 0 : 1) - (b.IsMissing() ? 0 : 1);
  try {
    if (IsNumeric(a) || IsNumeric(b) || a.Type() == ValueType::Date ||
        b.Type() == ValueType::Date) {
      const double x = a.AsNumber();
      const double y = b.AsNumber();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
  } catch (const Error &) {
    // mixed kinds order as texts
  }
  const std::string x = a.AsText();
  const std::string y = b.AsText();
  return x < y ? -1 : (x > y ? 1 : 0);
}

RecordSet::RecordSet(DataPacket packet) : packet_(std::move(packet)), active_(true) {
  ApplyIndex();
}

void RecordSet::SetData(const Value &packet) {
  if (packet.Type() != ValueType::Bytes) throw Error("The value is not a data packet");
  packet_ = DataPacket::Decode(packet.AsBytes());
  active_ = true;
  state_ = State::Browse;
  ApplyIndex();
}

Value RecordSet::Data() const { return Value(packet_.Encode()); }

void RecordSet::AddFieldDef(std::string name, FieldType type, int size) {
  if (active_) throw Error("Cannot add field definitions to an open dataset");
  packet_.Fields.push_back(FieldDef{std::move(name), type, size});
}

void RecordSet::CreateDataSet() {
  if (packet_.Fields.empty()) throw Error("A dataset needs field definitions");
  packet_.Rows.clear();
  active_ = true;
  state_ = State::Browse;
  ApplyIndex();
}

int RecordSet::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < packet_.Fields.size(); ++i)
    if (SameTextIgnoringCase(packet_.Fields[i].Name, name)) return static_cast<int>(i);
  return -1;
}

int RecordSet::RequireField(std::string_view name) const {
  const int index = FieldIndex(name);
  if (index < 0) throw Error("Field '" + std::string(name) + "' not found");
  return index;
}

std::vector<int> RecordSet::ResolveFields(std::string_view names) const {
  std::vector<int> indexes;
  for (const std::string &name : SplitText(names, ';')) {
    const std::string trimmed = Trim(name);
    if (!trimmed.empty()) indexes.push_back(RequireField(trimmed));
  }
  return indexes;
}

void RecordSet::Reposition() {
  const long count = static_cast<long>(order_.size());
  cursor_ = 0;
  bof_ = true;
  eof_ = count == 0;
}

void RecordSet::First() {
  if (Editing()) Post();
  Reposition();
}

void RecordSet::Next() {
  if (Editing()) Post();
  bof_ = false;
  if (cursor_ + 1 < static_cast<long>(order_.size()))
    ++cursor_;
  else
    eof_ = true;
}

void RecordSet::Prior() {
  if (Editing()) Post();
  eof_ = false;
  if (cursor_ > 0)
    --cursor_;
  else
    bof_ = true;
  if (order_.empty()) eof_ = true;
}

void RecordSet::Last() {
  if (Editing()) Post();
  const long count = static_cast<long>(order_.size());
  cursor_ = count > 0 ? count - 1 : 0;
  eof_ = true;
  bof_ = count == 0;
}

const Value &RecordSet::Field(std::string_view name) const {
  const int index = RequireField(name);
  if (state_ != State::Browse) return buffer_[index];
  if (order_.empty()) return NoValue;
  return packet_.Rows[order_[cursor_]][index];
}

void RecordSet::SetField(std::string_view name, Value value) {
  if (state_ == State::Browse) throw Error("Dataset not in edit or insert mode");
  buffer_[RequireField(name)] = std::move(value);
}

void RecordSet::Append() {
  if (!active_) throw Error("Cannot perform this operation on a closed dataset");
  if (Editing()) Post();
  buffer_.assign(packet_.Fields.size(), Value::Null());
  state_ = State::Append;
}

void RecordSet::Edit() {
  if (!active_) throw Error("Cannot perform this operation on a closed dataset");
  if (Editing()) return;
  if (order_.empty()) throw Error("Cannot edit an empty dataset");
  buffer_ = packet_.Rows[order_[cursor_]];
  state_ = State::Edit;
}

void RecordSet::Post() {
  if (state_ == State::Browse) return;
  size_t rowNumber = 0;
  if (state_ == State::Append) {
    rowNumber = packet_.Rows.size();
    packet_.Rows.push_back(std::move(buffer_));
  } else {
    rowNumber = order_[cursor_];
    packet_.Rows[rowNumber] = std::move(buffer_);
  }
  state_ = State::Browse;
  buffer_.clear();
  ApplyIndex();
  const auto at = std::find(order_.begin(), order_.end(), rowNumber);
  cursor_ = static_cast<long>(at - order_.begin());
  bof_ = false;
  eof_ = false;
}

void RecordSet::Cancel() {
  state_ = State::Browse;
  buffer_.clear();
}

void RecordSet::Delete() {
  if (Editing()) Cancel();
  if (order_.empty()) throw Error("Cannot delete from an empty dataset");
  const size_t rowNumber = order_[cursor_];
  packet_.Rows.erase(packet_.Rows.begin() + static_cast<long>(rowNumber));
  const long keep = cursor_;
  ApplyIndex();
  cursor_ = std::min(keep, static_cast<long>(order_.size()) - 1);
  if (cursor_ < 0) cursor_ = 0;
  eof_ = order_.empty();
  bof_ = order_.empty();
}

bool RecordSet::Locate(std::string_view keyFields, const std::vector<Value> &values) {
  if (Editing()) Post();
  const std::vector<int> fields = ResolveFields(keyFields);
  if (fields.size() != values.size()) throw Error("Locate needs one value for each key field");
  for (size_t position = 0; position < order_.size(); ++position) {
    const Row &row = packet_.Rows[order_[position]];
    bool all = true;
    for (size_t k = 0; k < fields.size() && all; ++k) all = CellMatches(row[fields[k]], values[k]);
    if (all) {
      cursor_ = static_cast<long>(position);
      bof_ = false;
      eof_ = false;
      return true;
    }
  }
  return false;
}

void RecordSet::SetIndexFieldNames(std::string_view fieldNames) {
  if (Editing()) Post();
  ResolveFields(fieldNames); // unknown names fail before anything changes
  indexFieldNames_ = std::string(fieldNames);
  ApplyIndex();
  Reposition();
}

void RecordSet::ApplyIndex() {
  order_.resize(packet_.Rows.size());
  std::iota(order_.begin(), order_.end(), size_t{0});
  if (!indexFieldNames_.empty()) {
    const std::vector<int> fields = ResolveFields(indexFieldNames_);
    std::stable_sort(order_.begin(), order_.end(), [&](size_t a, size_t b) {
      for (const int f : fields) {
        const int c = CompareCells(packet_.Rows[a][f], packet_.Rows[b][f]);
        if (c != 0) return c < 0;
      }
      return false;
    });
  }
  Reposition();
}

} // namespace vq
