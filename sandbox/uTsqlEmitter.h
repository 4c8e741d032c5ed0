#pragma once

#include "sandbox/uTsqlParser.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vq::sandbox {

struct ColumnInfo {
  std::string Name;
  TypeInfo Type;
};

// A variable of a batch or trigger body: it binds as the placeholder value of that index.
struct VariableSlot {
  int Index = 0;
  TypeInfo Type;
};

// What the emitter needs to know about the database.
struct EmitContext {
  // The declared variable of that name (case-insensitive), or nullopt.
  std::function<std::optional<VariableSlot>(const std::string& name)> Variable;
  // In a trigger body: the SQLite tables behind "inserted" and "deleted" (upper-case keys)
  // and the columns for which UPDATE(column) holds.
  std::map<std::string, std::string> RowSets;
  std::optional<std::vector<std::string>> UpdatedColumns;
  // Columns of a table by its SQLite name (temp tables first), or nullptr when there is no
  // such table.
  std::function<const std::vector<ColumnInfo>*(const std::string& table)> Columns;
  // Static types of the placeholder values, by position.
  std::vector<TypeInfo> PlaceholderTypes;
  // SELECTs that emulate the catalog views: dbo.sysobjects, tempdb..sysobjects, dbo.sysindexes.
  std::string SysObjectsSql, TempSysObjectsSql, SysIndexesSql;
};

struct EmittedSelect {
  std::string Sql;
  std::vector<ColumnInfo> Columns; // the result columns, names as SQL Server gives them
  bool ColumnsKnown = true;        // false when a * could not be expanded
};

enum class DmlKind { Insert, Update, Delete };

// One INSERT/UPDATE/DELETE as the engine runs it. All data changes of a batch go through
// TsqlEngine::RunDml with such a plan, so that statement-level triggers can be added there.
struct DmlPlan {
  DmlKind Kind = DmlKind::Insert;
  std::string Table;                 // SQLite name of the target table
  std::vector<std::string> Columns;  // INSERT: the columns given; UPDATE: the columns set
  std::string Sql;                   // the statement in SQLite's dialect
  std::string RowFilter;             // UPDATE/DELETE: condition on the target's rows ("1" for all)
};

// DDL and other steps the engine runs as they are.
struct DdlPlan {
  std::vector<std::string> Sql;
  bool ChangesSchema = true;
};

std::string QuoteName(std::string_view name);
std::string QuoteText(std::string_view text);
// SQL Server type name for a type ("VARCHAR(50)", "NUMERIC(28,2)"), for CREATE TABLE.
std::string TypeDeclaration(const TypeInfo& type);
// SQLite name of a table named with T-SQL's parts (the last part; "#x" stays "#x").
std::string SqliteTableName(const std::vector<std::string>& parts);

class TsqlEmitter {
public:
  explicit TsqlEmitter(const EmitContext& context) : context_(context) {}

  EmittedSelect Select(const SelectStmt& select);
  // "SELECT CASE WHEN cond THEN 1 ELSE 0 END" for IF.
  std::string Condition(const Expr& condition);
  DmlPlan Insert(const Statement& statement);
  DmlPlan Update(const Statement& statement);
  DmlPlan Delete(const Statement& statement);
  DdlPlan CreateTable(const Statement& statement);
  DdlPlan CreateTableFor(const std::string& table, const std::vector<ColumnInfo>& columns);
  DdlPlan CreateIndex(const Statement& statement);
  DdlPlan Drop(const Statement& statement);

  struct Scope;
  struct Emitted;

private:
  const EmitContext& context_;
  const TableRef* rowidSource_ = nullptr; // UPDATE ... FROM: the target's row in FROM carries its rowid

  EmittedSelect SelectIn(const SelectStmt& select, const Scope* outer, const std::vector<TypeInfo>* targets);
  EmittedSelect QueryIn(const QuerySpec& q, const std::vector<OrderItem>& orderBy, const Scope* outer,
                        const std::vector<TypeInfo>* targets);
  std::string From(const TableRef& ref, Scope& scope);
  Emitted Expression(const Expr& e, const Scope& scope);
  Emitted Function(const Expr& e, const Scope& scope);
  Emitted Column(const Expr& e, const Scope& scope);
  Emitted Compare(const std::string& op, const Emitted& a, const Emitted& b);
  Emitted Arithmetic(const std::string& op, const Emitted& a, const Emitted& b);
  Emitted CastTo(const Emitted& value, const TypeInfo& target, const std::string& style);
  Emitted ConvertForColumn(const Emitted& value, const TypeInfo& column);
  Emitted Case(const Expr& e, const Scope& scope);
  std::string TableSource(const std::vector<std::string>& names, std::vector<ColumnInfo>& columns, bool& known);
};

} // namespace vq::sandbox
