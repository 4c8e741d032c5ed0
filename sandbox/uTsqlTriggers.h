#pragma once

#include "sandbox/uTsqlEmitter.h"

#include <string>
#include <vector>

struct sqlite3;

namespace vq::sandbox {

struct StoredTrigger {
  std::string Name;
  std::string Body; // the T-SQL after AS
};

// The triggers of a work area, kept in its own table SBX_TRIGGER so that they outlive the
// engine; the table is created when missing, so older work areas take triggers too.
class TriggerStore {
public:
  explicit TriggerStore(sqlite3 *db) : db_(db) {}

  void Install();
  // The catalog rows of the triggers: name, xtype 'TR', parent.
  static std::string CatalogSql();
  void Add(const std::string &name, const std::string &table,
           const std::vector<std::string> &events, const std::string &body);
  // The triggers that an INSERT, UPDATE or DELETE on the table fires, in creation order.
  std::vector<StoredTrigger> For(const std::string &table, DmlKind kind) const;
  void DropFor(const std::string &table);

private:
  sqlite3 *db_;
};

} // namespace vq::sandbox
