#include "export/uResultRows.h"

#include "core/uError.h"
#include "core/uText.h"
#include "session/uRecordSet.h"

#include <algorithm>

namespace vq {

int ColumnIndex(const DataPacket &rows, std::string_view name) {
  for (size_t i = 0; i < rows.Fields.size(); ++i)
    if (SameTextIgnoringCase(rows.Fields[i].Name, name)) return static_cast<int>(i);
  if (rows.Rows.empty()) return -1;
  throw Error("Field '" + std::string(name) + "' not found");
}

std::string DecimalText(const Value &value) { return value.IsMissing() ? "0" : value.AsText(); }

TRowLookup::TRowLookup(const DataPacket &rows, std::string_view keyColumn,
                       std::string_view orderColumns) {
  const int key = ColumnIndex(rows, keyColumn);
  std::vector<int> order;
  for (const std::string &name : SplitText(orderColumns, ';'))
    if (!Trim(name).empty()) order.push_back(ColumnIndex(rows, Trim(name)));
  for (const Row &row : rows.Rows)
    if (!row[key].IsMissing()) groups_[row[key].AsText()].push_back(&row);
  if (order.empty()) return;
  for (auto &[text, group] : groups_)
    std::stable_sort(group.begin(), group.end(), [&](const Row *a, const Row *b) {
      for (const int column : order)
        if (const int c = CompareCells((*a)[column], (*b)[column]); c != 0) return c < 0;
      return false;
    });
}

std::span<const Row *const> TRowLookup::Rows(const Value &key) const {
  if (key.IsMissing()) return {};
  const auto group = groups_.find(key.AsText());
  if (group == groups_.end()) return {};
  return group->second;
}

const Row *TRowLookup::First(const Value &key) const {
  const std::span<const Row *const> rows = Rows(key);
  return rows.empty() ? nullptr : rows.front();
}

} // namespace vq
