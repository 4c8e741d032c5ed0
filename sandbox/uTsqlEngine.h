#pragma once

#include "core/uValue.h"
#include "sandbox/uTsqlEmitter.h"
#include "sandbox/uTsqlTriggers.h"
#include "session/uDataPacket.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace vq::sandbox {

// Runs the connector's T-SQL batches on a SQLite database with SQL Server's semantics:
// parses the batch, translates each statement to SQLite, binds the placeholder values
// in order of appearance and types the result rows as SQL Server would.
//
// Storage conventions: DATETIME columns hold "yyyy-mm-dd hh:mm:ss.zzz" texts, BIT columns
// 0/1, NUMERIC/DECIMAL/MONEY/FLOAT reals (or integers), IMAGE/VARBINARY blobs, text
// columns are declared COLLATE SQLSERVER, identity columns INTEGER PRIMARY KEY AUTOINCREMENT.
class TsqlEngine {
public:
  // Registers the SQL Server functions and the SQLSERVER collation on db. The engine
  // does not own db; it must outlive the engine.
  explicit TsqlEngine(sqlite3* db);
  ~TsqlEngine();
  TsqlEngine(const TsqlEngine&) = delete;
  TsqlEngine& operator=(const TsqlEngine&) = delete;

  // "OpenSQL": runs the batch and returns the rows of its last SELECT with typed fields.
  DataPacket Query(std::string_view tsql, const std::vector<Value>& params);
  // "ExecSQL": runs the batch and returns the number of rows its INSERT/UPDATE/DELETE
  // statements changed.
  int64_t Execute(std::string_view tsql, const std::vector<Value>& params);

  // The SQLite text of every statement of the batch (both branches of an IF), without
  // running anything: for tests, diagnostics and benchmarks.
  std::vector<std::string> Translate(std::string_view tsql, const std::vector<Value>& params);

  // Adds a source of objects to the catalog emulation (dbo.sysobjects, OBJECT_ID,
  // OBJECTPROPERTY): a SELECT giving the columns name, xtype ('U', 'V', 'TR', 'P') and
  // parent (the table name of a trigger, else NULL). The sandbox's own trigger store uses it.
  void AddCatalogSource(std::string selectSql);

  sqlite3* Database() const { return db_; }

  // Catalog lookups behind OBJECT_ID and OBJECTPROPERTY (public for the SQL functions).
  std::optional<int64_t> ObjectId(std::string_view name, std::string_view type);
  std::optional<std::string> ObjectType(int64_t id);
  std::optional<std::string> ObjectName(int64_t id);

private:
  struct Run;
  struct RowSets;
  void RunBatch(std::string_view tsql, const std::vector<Value>& params, DataPacket* result, int64_t* changes);
  void RunStatement(const Statement& s, Run& run);
  bool Holds(const Expr& condition, Run& run, const Statement& s);
  void Assign(const Statement& s, Run& run);
  void CreateTrigger(const Statement& s);
  // The one place where data changes run: the change and the AFTER triggers it fires.
  int64_t RunDml(const DmlPlan& plan, Run& run, const Statement& s);
  int64_t RunChange(const DmlPlan& plan, Run& run, const Statement& s);
  RowSets CreateRowSets(const DmlPlan& plan, Run& run, const Statement& s);
  void FireTrigger(const StoredTrigger& trigger, const RowSets& rows);
  void RunDdl(const DdlPlan& plan, Run& run, const Statement& s);
  DataPacket RunSelect(const EmittedSelect& select, Run& run, const Statement& s);
  const std::vector<ColumnInfo>* TableColumns(const std::string& table);
  EmitContext MakeContext(const std::vector<Value>& params);
  std::string SysObjectsSql(bool temp) const;
  std::string SysIndexesSql() const;

  sqlite3* db_;
  TriggerStore triggers_;
  int nesting_ = 0;      // trigger firings under way
  int64_t firings_ = 0;  // numbers the row-set tables of each firing statement
  std::vector<std::string> catalogSources_;
  std::map<std::string, std::vector<ColumnInfo>> columnCache_;
};

} // namespace vq::sandbox
