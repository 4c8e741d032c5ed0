#include "sandbox/uTsqlProcedural.h"

#include "core/uError.h"

namespace vq::sandbox {
namespace {

const char *const FetchStatus = "@@FETCH_STATUS";

Value Converted(const Value &value, const TypeInfo &type) {
  if (value.IsMissing()) return Value::Null();
  switch (type.Type) {
  case SqlType::Bit: return Value(static_cast<int64_t>(value.AsNumber() != 0));
  case SqlType::Int:
  case SqlType::BigInt:
    return value.Type() == ValueType::Number ? Value(static_cast<int64_t>(value.AsNumber()))
                                             : Value(value.AsInteger());
  case SqlType::Numeric:
  case SqlType::Money:
  case SqlType::Float: return Value(value.AsNumber());
  case SqlType::Text: {
    std::string text = value.AsText();
    if (type.Length > 0 && text.size() > static_cast<size_t>(type.Length)) text.resize(type.Length);
    return Value(std::move(text));
  }
  default: return value;
  }
}

} // namespace

ProceduralScope::ProceduralScope(std::vector<Value> placeholderValues)
    : values_(std::move(placeholderValues)) {
  TypeInfo status;
  status.Type = SqlType::Int;
  Declare(FetchStatus, status);
  values_.back() = Value(int64_t{-1});
}

void ProceduralScope::Declare(const std::string &name, const TypeInfo &type) {
  VariableSlot slot{static_cast<int>(values_.size()), type};
  if (!variables_.emplace(UpperAscii(name), slot).second)
    throw Error("The variable name '" + name +
                "' has already been declared. Variable names must be unique within a query "
                "batch or stored procedure.");
  values_.push_back(Value::Null());
}

std::optional<VariableSlot> ProceduralScope::Find(const std::string &name) const {
  auto it = variables_.find(UpperAscii(name));
  if (it == variables_.end()) return std::nullopt;
  return it->second;
}

void ProceduralScope::Assign(const std::string &name, const Value &value) {
  const std::optional<VariableSlot> slot = Find(name);
  if (!slot) throw Error("Must declare the scalar variable \"" + name + "\".");
  values_[static_cast<size_t>(slot->Index)] = Converted(value, slot->Type);
}

void ProceduralScope::DeclareCursor(const std::string &name, const SelectStmt &select) {
  if (!cursors_.emplace(UpperAscii(name), Cursor{&select, std::nullopt, 0}).second)
    throw Error("A cursor with the name '" + name + "' already exists.");
}

ProceduralScope::Cursor &ProceduralScope::FindCursor(const std::string &name) {
  auto it = cursors_.find(UpperAscii(name));
  if (it == cursors_.end()) throw Error("A cursor with the name '" + name + "' does not exist.");
  return it->second;
}

ProceduralScope::Cursor &ProceduralScope::OpenCursor(const std::string &name) {
  Cursor &cursor = FindCursor(name);
  if (!cursor.Rows) throw Error("The cursor is not open.");
  return cursor;
}

const SelectStmt &ProceduralScope::CursorSelect(const std::string &name) const {
  auto it = cursors_.find(UpperAscii(name));
  if (it == cursors_.end()) throw Error("A cursor with the name '" + name + "' does not exist.");
  return *it->second.Select;
}

void ProceduralScope::Open(const std::string &name, DataPacket rows) {
  Cursor &cursor = FindCursor(name);
  if (cursor.Rows) throw Error("The cursor is already open.");
  cursor.Rows = std::move(rows);
  cursor.Next = 0;
}

void ProceduralScope::Fetch(const std::string &name, const std::vector<std::string> &variables) {
  Cursor &cursor = OpenCursor(name);
  if (cursor.Next >= cursor.Rows->Rows.size()) {
    Assign(FetchStatus, Value(int64_t{-1}));
    return;
  }
  const Row &row = cursor.Rows->Rows[cursor.Next++];
  if (row.size() != variables.size())
    throw Error("Cursorfetch: The number of variables declared in the INTO list must match that "
                "of selected columns.");
  for (size_t i = 0; i < variables.size(); ++i) Assign(variables[i], row[i]);
  Assign(FetchStatus, Value(int64_t{0}));
}

void ProceduralScope::Close(const std::string &name) { OpenCursor(name).Rows.reset(); }

void ProceduralScope::Deallocate(const std::string &name) {
  FindCursor(name);
  cursors_.erase(UpperAscii(name));
}

} // namespace vq::sandbox
