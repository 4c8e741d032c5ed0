#pragma once

#include "session/uDataPacket.h"

#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vq {

// The position of a column of a result, found as a record set finds a field (letter case
// ignored, the first of a name wins); raises vq::Error when there is none, except in a
// result without rows, where nothing is read (-1).
int ColumnIndex(const DataPacket &rows, std::string_view name);

// A decimal or counter value as the documents carry it: "0" when missing, else its text
// ("." as decimal point).
std::string DecimalText(const Value &value);

// The rows of a result by the text of a key column, built in one pass, so that matching
// every exported record against a related result costs one lookup instead of a scan.
// Each key's rows keep the result's order, or are ordered (stably) by further columns
// ("A;B") as an index on key and columns orders them. Rows whose key is missing match
// nothing. The result must outlive the lookup.
class TRowLookup {
public:
  TRowLookup(const DataPacket &rows, std::string_view keyColumn,
             std::string_view orderColumns = {});

  std::span<const Row *const> Rows(const Value &key) const;
  // The first row of a key, or nullptr.
  const Row *First(const Value &key) const;

private:
  std::unordered_map<std::string, std::vector<const Row *>> groups_;
};

} // namespace vq
