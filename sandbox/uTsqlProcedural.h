#pragma once

#include "core/uValue.h"
#include "sandbox/uTsqlEmitter.h"
#include "session/uDataPacket.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vq::sandbox {

// The variables and cursors of one batch or trigger firing. Values() holds the placeholder
// values of the batch first and then one value per variable, so that a variable binds as
// the placeholder of its slot.
class ProceduralScope {
public:
  explicit ProceduralScope(std::vector<Value> placeholderValues);

  const std::vector<Value> &Values() const { return values_; }

  void Declare(const std::string &name, const TypeInfo &type);
  std::optional<VariableSlot> Find(const std::string &name) const;
  // Stores the value converted to the variable's declared type.
  void Assign(const std::string &name, const Value &value);

  void DeclareCursor(const std::string &name, const SelectStmt &select);
  const SelectStmt &CursorSelect(const std::string &name) const;
  // A cursor reads its rows when it is opened: a static snapshot.
  void Open(const std::string &name, DataPacket rows);
  // Assigns the next row to the variables and sets @@FETCH_STATUS (0, or -1 past the end).
  void Fetch(const std::string &name, const std::vector<std::string> &variables);
  void Close(const std::string &name);
  void Deallocate(const std::string &name);

private:
  struct Cursor {
    const SelectStmt *Select = nullptr;
    std::optional<DataPacket> Rows; // set while open
    size_t Next = 0;
  };
  Cursor &FindCursor(const std::string &name);
  Cursor &OpenCursor(const std::string &name);

  std::vector<Value> values_;
  std::map<std::string, VariableSlot> variables_; // by upper-case name
  std::map<std::string, Cursor> cursors_;         // by upper-case name
};

} // namespace vq::sandbox
