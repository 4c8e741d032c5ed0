#include "sandbox/uTsqlEngine.h"

#include "core/uError.h"
#include "core/uNumberText.h"
#include "core/uText.h"
#include "sandbox/uSqlServerFunctions.h"
#include "sandbox/uTsqlProcedural.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace vq::sandbox {
namespace {

struct StatementHandle {
  sqlite3_stmt* Stmt = nullptr;
  ~StatementHandle() { sqlite3_finalize(Stmt); }
};

std::string ColumnText(sqlite3_stmt* stmt, int i) {
  const unsigned char* t = sqlite3_column_text(stmt, i);
  return t ? std::string(reinterpret_cast<const char*>(t), static_cast<size_t>(sqlite3_column_bytes(stmt, i)))
           : std::string();
}

std::string ArgText(sqlite3_value* v) {
  const unsigned char* t = sqlite3_value_text(v);
  return t ? std::string(reinterpret_cast<const char*>(t), static_cast<size_t>(sqlite3_value_bytes(v))) : std::string();
}

TypeInfo PlaceholderType(const Value& v) {
  TypeInfo t;
  switch (v.Type()) {
  case ValueType::Empty:
  case ValueType::Null: t.Type = SqlType::Null; break;
  case ValueType::Boolean: t.Type = SqlType::Bit; break;
  case ValueType::Integer: {
    const int64_t i = v.AsInteger();
    t.Type = (i > 2147483647LL || i < -2147483648LL) ? SqlType::BigInt : SqlType::Int;
    break;
  }
  case ValueType::Number: t.Type = SqlType::Float; break;
  case ValueType::Text:
    t.Type = SqlType::Text;
    t.Length = static_cast<int>(std::max<size_t>(1, v.AsText().size()));
    break;
  case ValueType::Date: t.Type = SqlType::DateTime; break;
  case ValueType::Bytes: t.Type = SqlType::Binary; break;
  case ValueType::Array: t.Type = SqlType::Unknown; break;
  }
  return t;
}

FieldType FieldTypeOf(const TypeInfo& t) {
  switch (t.Type) {
  case SqlType::Bit:
  case SqlType::Int:
  case SqlType::BigInt:
  case SqlType::Null: return FieldType::Integer;
  case SqlType::Numeric:
  case SqlType::Money:
  case SqlType::Float: return FieldType::Number;
  case SqlType::DateTime: return FieldType::Date;
  case SqlType::Binary: return FieldType::Bytes;
  default: return FieldType::Text;
  }
}

Value CellValue(sqlite3_stmt* stmt, int i, FieldType type) {
  const int st = sqlite3_column_type(stmt, i);
  if (st == SQLITE_NULL) return Value::Null();
  switch (type) {
  case FieldType::Integer:
  case FieldType::Boolean:
    if (st == SQLITE_INTEGER) return Value(static_cast<int64_t>(sqlite3_column_int64(stmt, i)));
    if (st == SQLITE_FLOAT) return Value(static_cast<int64_t>(std::llround(sqlite3_column_double(stmt, i))));
    if (st == SQLITE_TEXT) {
      const std::string t = ColumnText(stmt, i);
      if (auto n = ParseInteger(t)) return Value(*n);
      return Value(t);
    }
    break;
  case FieldType::Number:
    if (st == SQLITE_INTEGER || st == SQLITE_FLOAT) return Value(sqlite3_column_double(stmt, i));
    if (st == SQLITE_TEXT) {
      const std::string t = ColumnText(stmt, i);
      if (auto n = ParseNumber(t)) return Value(*n);
      return Value(t);
    }
    break;
  case FieldType::Text:
    if (st == SQLITE_INTEGER) return Value(std::to_string(sqlite3_column_int64(stmt, i)));
    if (st == SQLITE_FLOAT) return Value(NumberText(sqlite3_column_double(stmt, i)));
    if (st == SQLITE_TEXT) return Value(ColumnText(stmt, i));
    break;
  case FieldType::Date:
    if (st == SQLITE_TEXT) {
      const std::string t = ColumnText(stmt, i);
      if (auto d = ParseSqlServerDateTime(t, -1)) return Value(*d);
      throw Error("The stored value '" + t + "' is not a datetime");
    }
    if (st == SQLITE_INTEGER || st == SQLITE_FLOAT) return Value(TDateTime{sqlite3_column_double(stmt, i) + 2});
    break;
  case FieldType::Bytes:
    break;
  }
  if (st == SQLITE_BLOB || type == FieldType::Bytes) {
    const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(stmt, i));
    const int n = sqlite3_column_bytes(stmt, i);
    return Value(Bytes(p, p + n));
  }
  return Value(ColumnText(stmt, i));
}

void FnObjectId(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  auto* engine = static_cast<TsqlEngine*>(sqlite3_user_data(ctx));
  if (!engine || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  try {
    const std::string type = argc > 1 ? ArgText(argv[1]) : std::string();
    auto id = engine->ObjectId(ArgText(argv[0]), type);
    if (id) sqlite3_result_int64(ctx, *id);
    else sqlite3_result_null(ctx);
  } catch (const std::exception& e) {
    sqlite3_result_error(ctx, e.what(), -1);
  }
}

void FnObjectProperty(sqlite3_context* ctx, int, sqlite3_value** argv) {
  auto* engine = static_cast<TsqlEngine*>(sqlite3_user_data(ctx));
  if (!engine || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  try {
    auto type = engine->ObjectType(sqlite3_value_int64(argv[0]));
    if (!type) {
      sqlite3_result_null(ctx);
      return;
    }
    const std::string prop = UpperAscii(ArgText(argv[1]));
    if (prop == "ISTRIGGER") sqlite3_result_int(ctx, *type == "TR");
    else if (prop == "ISUSERTABLE" || prop == "ISTABLE") sqlite3_result_int(ctx, *type == "U");
    else if (prop == "ISVIEW") sqlite3_result_int(ctx, *type == "V");
    else if (prop == "ISPROCEDURE") sqlite3_result_int(ctx, *type == "P");
    else if (prop == "ISINDEXED" || prop == "ISSYSTEMTABLE" || prop == "ISMSSHIPPED") sqlite3_result_int(ctx, 0);
    else sqlite3_result_null(ctx);
  } catch (const std::exception& e) {
    sqlite3_result_error(ctx, e.what(), -1);
  }
}

void FnObjectName(sqlite3_context* ctx, int, sqlite3_value** argv) {
  auto* engine = static_cast<TsqlEngine*>(sqlite3_user_data(ctx));
  if (!engine || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  try {
    auto name = engine->ObjectName(sqlite3_value_int64(argv[0]));
    if (name) sqlite3_result_text(ctx, name->c_str(), -1, SQLITE_TRANSIENT);
    else sqlite3_result_null(ctx);
  } catch (const std::exception& e) {
    sqlite3_result_error(ctx, e.what(), -1);
  }
}

// Splits 'tempdb..#x', '[dbo].[ZEV]', 'ZEV' into its parts without brackets.
std::vector<std::string> NameParts(std::string_view name) {
  std::vector<std::string> parts(1);
  bool bracket = false;
  for (char c : name) {
    if (bracket) {
      if (c == ']') bracket = false;
      else parts.back() += c;
    } else if (c == '[') {
      bracket = true;
    } else if (c == '.') {
      parts.emplace_back();
    } else if (c != '"') {
      parts.back() += c;
    }
  }
  for (auto& p : parts) p = Trim(p);
  return parts;
}

} // namespace

struct TsqlEngine::Run {
  Run(const std::vector<Value>& params, EmitContext context, DataPacket* result)
      : Scope(params), Context(std::move(context)), Result(result) {
    Context.Variable = [this](const std::string& name) { return Scope.Find(name); };
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  ProceduralScope Scope;
  EmitContext Context;
  DataPacket* Result = nullptr;
  int64_t Changes = 0;
};

// The inserted and deleted rows of one statement that fires triggers, as temp tables.
struct TsqlEngine::RowSets {
  std::string Inserted, Deleted, Rowids;
  std::vector<std::string> Updated; // the columns UPDATE(column) holds for
};

TsqlEngine::TsqlEngine(sqlite3* db) : db_(db), triggers_(db) {
  if (!db_) throw Error("TsqlEngine needs an open SQLite database");
  triggers_.Install();
  AddCatalogSource(TriggerStore::CatalogSql());
  RegisterSqlServerFunctions(db_);
  // The emitter quotes every name with "..": a name that matches no column must fail, not
  // turn into a string literal (SQLite's double-quoted-string misfeature).
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  const int flags = SQLITE_UTF8;
  if (sqlite3_create_function(db_, "tsql_object_id", 1, flags, this, FnObjectId, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_create_function(db_, "tsql_object_id", 2, flags, this, FnObjectId, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_create_function(db_, "tsql_objectproperty", 2, flags, this, FnObjectProperty, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_create_function(db_, "tsql_object_name", 1, flags, this, FnObjectName, nullptr, nullptr) != SQLITE_OK)
    throw Error(std::string("Cannot register the catalog functions: ") + sqlite3_errmsg(db_));
}

TsqlEngine::~TsqlEngine() {
  // The catalog functions point at this engine: take them away with it.
  sqlite3_create_function(db_, "tsql_object_id", 1, SQLITE_UTF8, nullptr, FnObjectId, nullptr, nullptr);
  sqlite3_create_function(db_, "tsql_object_id", 2, SQLITE_UTF8, nullptr, FnObjectId, nullptr, nullptr);
  sqlite3_create_function(db_, "tsql_objectproperty", 2, SQLITE_UTF8, nullptr, FnObjectProperty, nullptr, nullptr);
  sqlite3_create_function(db_, "tsql_object_name", 1, SQLITE_UTF8, nullptr, FnObjectName, nullptr, nullptr);
}

void TsqlEngine::AddCatalogSource(std::string selectSql) { catalogSources_.push_back(std::move(selectSql)); }

std::string TsqlEngine::SysObjectsSql(bool temp) const {
  std::string inner =
      std::string("SELECT name, CASE type WHEN 'table' THEN 'U' WHEN 'view' THEN 'V' ELSE 'TR' END AS xtype, "
                  "CASE type WHEN 'trigger' THEN tbl_name END AS parent FROM ") +
      (temp ? "temp" : "main") +
      ".sqlite_master WHERE type IN ('table', 'view', 'trigger') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'";
  if (!temp)
    for (const std::string& extra : catalogSources_) inner += " UNION ALL SELECT name, xtype, parent FROM (" + extra + ")";
  return "SELECT name COLLATE SQLSERVER AS name, tsql_objid(name) AS id, xtype COLLATE SQLSERVER AS xtype, "
         "xtype COLLATE SQLSERVER AS type, CASE WHEN parent IS NULL THEN 0 ELSE tsql_objid(parent) END AS parent_obj, "
         "1 AS uid, NULL AS crdate FROM (" + inner + ")";
}

std::string TsqlEngine::SysIndexesSql() const {
  return "SELECT name COLLATE SQLSERVER AS name, tsql_objid(tbl_name) AS id, 2 AS indid FROM main.sqlite_master "
         "WHERE type = 'index' UNION ALL SELECT name COLLATE SQLSERVER, tsql_objid(tbl_name), 2 FROM "
         "temp.sqlite_master WHERE type = 'index'";
}

std::optional<int64_t> TsqlEngine::ObjectId(std::string_view name, std::string_view type) {
  const auto parts = NameParts(name);
  const std::string object = parts.back();
  const bool temp = (!object.empty() && object[0] == '#') ||
                    (parts.size() >= 3 && UpperAscii(parts[parts.size() - 3]) == "TEMPDB");
  const std::string sql = "SELECT id, xtype FROM (" + SysObjectsSql(temp) + ") WHERE name = ?1";
  StatementHandle h;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &h.Stmt, nullptr) != SQLITE_OK)
    throw Error(std::string("Catalog lookup failed: ") + sqlite3_errmsg(db_));
  sqlite3_bind_text(h.Stmt, 1, object.c_str(), -1, SQLITE_TRANSIENT);
  const std::string wanted = UpperAscii(Trim(type));
  while (sqlite3_step(h.Stmt) == SQLITE_ROW) {
    if (!wanted.empty() && UpperAscii(ColumnText(h.Stmt, 1)) != wanted) continue;
    return sqlite3_column_int64(h.Stmt, 0);
  }
  return std::nullopt;
}

std::optional<std::string> TsqlEngine::ObjectType(int64_t id) {
  for (bool temp : {false, true}) {
    const std::string sql = "SELECT xtype FROM (" + SysObjectsSql(temp) + ") WHERE id = ?1";
    StatementHandle h;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &h.Stmt, nullptr) != SQLITE_OK)
      throw Error(std::string("Catalog lookup failed: ") + sqlite3_errmsg(db_));
    sqlite3_bind_int64(h.Stmt, 1, id);
    if (sqlite3_step(h.Stmt) == SQLITE_ROW) return UpperAscii(ColumnText(h.Stmt, 0));
  }
  return std::nullopt;
}

std::optional<std::string> TsqlEngine::ObjectName(int64_t id) {
  for (bool temp : {false, true}) {
    const std::string sql = "SELECT name FROM (" + SysObjectsSql(temp) + ") WHERE id = ?1";
    StatementHandle h;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &h.Stmt, nullptr) != SQLITE_OK)
      throw Error(std::string("Catalog lookup failed: ") + sqlite3_errmsg(db_));
    sqlite3_bind_int64(h.Stmt, 1, id);
    if (sqlite3_step(h.Stmt) == SQLITE_ROW) return ColumnText(h.Stmt, 0);
  }
  return std::nullopt;
}

const std::vector<ColumnInfo>* TsqlEngine::TableColumns(const std::string& table) {
  const std::string key = UpperAscii(table);
  auto it = columnCache_.find(key);
  if (it != columnCache_.end()) return &it->second;
  std::vector<ColumnInfo> columns;
  bool found = false;
  for (const char* schema : {"temp", "main"}) {
    // Temp tables hide main tables of the same name, as SQLite resolves them.
    StatementHandle h;
    const std::string sql = std::string("SELECT name, type, pk, (SELECT sql FROM ") + schema +
                            ".sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE) FROM " + schema +
                            ".pragma_table_info(?1)";
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &h.Stmt, nullptr) != SQLITE_OK) continue;
    sqlite3_bind_text(h.Stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(h.Stmt) == SQLITE_ROW) {
      found = true;
      ColumnInfo c;
      c.Name = ColumnText(h.Stmt, 0);
      c.Type = TypeFromName(ColumnText(h.Stmt, 1));
      const std::string ddl = UpperAscii(ColumnText(h.Stmt, 3));
      if (sqlite3_column_int(h.Stmt, 2) == 1 && UpperAscii(ColumnText(h.Stmt, 1)) == "INTEGER" &&
          ddl.find("AUTOINCREMENT") != std::string::npos) {
        c.Type.Identity = true;
        c.Type.Type = SqlType::Int;
      }
      columns.push_back(std::move(c));
    }
    if (found) break;
  }
  if (!found) return nullptr;
  return &(columnCache_[key] = std::move(columns));
}

EmitContext TsqlEngine::MakeContext(const std::vector<Value>& params) {
  EmitContext ctx;
  ctx.Columns = [this](const std::string& table) { return TableColumns(table); };
  for (const Value& v : params) ctx.PlaceholderTypes.push_back(PlaceholderType(v));
  ctx.SysObjectsSql = SysObjectsSql(false);
  ctx.TempSysObjectsSql = SysObjectsSql(true);
  ctx.SysIndexesSql = SysIndexesSql();
  return ctx;
}

namespace {

std::string StatementContext(const Statement& s) {
  std::string text = Trim(s.SourceText);
  if (text.size() > 300) text = text.substr(0, 300) + "...";
  return text;
}

[[noreturn]] void SqliteFailure(sqlite3* db, const Statement& s, const std::string& sql) {
  (void)sql;
  throw Error(std::string(sqlite3_errmsg(db)) + "\nT-SQL: " + StatementContext(s));
}

void Prepare(sqlite3* db, const std::string& sql, const Statement& s, StatementHandle& h) {
  if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &h.Stmt, nullptr) != SQLITE_OK)
    SqliteFailure(db, s, sql);
}

void Bind(sqlite3* db, sqlite3_stmt* stmt, const std::vector<Value>& params) {
  const int count = sqlite3_bind_parameter_count(stmt);
  for (int i = 1; i <= count; ++i) {
    const char* name = sqlite3_bind_parameter_name(stmt, i);
    if (!name || name[0] != '?') continue;
    const size_t index = static_cast<size_t>(std::atoi(name + 1)) - 1;
    if (index >= params.size()) throw Error("Not enough placeholder values");
    const Value& v = params[index];
    int rc = SQLITE_OK;
    switch (v.Type()) {
    case ValueType::Empty:
    case ValueType::Null: rc = sqlite3_bind_null(stmt, i); break;
    case ValueType::Boolean: rc = sqlite3_bind_int(stmt, i, v.AsBoolean() ? 1 : 0); break;
    case ValueType::Integer: rc = sqlite3_bind_int64(stmt, i, v.AsInteger()); break;
    case ValueType::Number: rc = sqlite3_bind_double(stmt, i, v.AsNumber()); break;
    case ValueType::Text: {
      const std::string t = v.AsText();
      rc = sqlite3_bind_text(stmt, i, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
      break;
    }
    case ValueType::Date: {
      const std::string t = StoredDateTimeText(v.AsDate());
      rc = sqlite3_bind_text(stmt, i, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
      break;
    }
    case ValueType::Bytes: {
      const Bytes& b = v.AsBytes();
      rc = sqlite3_bind_blob(stmt, i, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
      break;
    }
    case ValueType::Array: throw Error("An array cannot be a placeholder value");
    }
    if (rc != SQLITE_OK) throw Error(std::string("Cannot bind a placeholder value: ") + sqlite3_errmsg(db));
  }
}

} // namespace

DataPacket TsqlEngine::RunSelect(const EmittedSelect& select, Run& run, const Statement& s) {
  StatementHandle h;
  Prepare(db_, select.Sql, s, h);
  Bind(db_, h.Stmt, run.Scope.Values());
  const int n = sqlite3_column_count(h.Stmt);
  std::vector<TypeInfo> types(static_cast<size_t>(n));
  DataPacket packet;
  packet.Fields.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    FieldDef& f = packet.Fields[static_cast<size_t>(i)];
    if (select.ColumnsKnown && static_cast<size_t>(i) < select.Columns.size()) {
      f.Name = select.Columns[static_cast<size_t>(i)].Name;
      types[static_cast<size_t>(i)] = select.Columns[static_cast<size_t>(i)].Type;
    } else {
      const char* name = sqlite3_column_name(h.Stmt, i);
      f.Name = name ? name : "";
      const char* decl = sqlite3_column_decltype(h.Stmt, i);
      if (decl) types[static_cast<size_t>(i)] = TypeFromName(decl);
    }
  }
  // Rows first: a column of unknown type takes the type of its first non-null value.
  std::vector<bool> decided(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const TypeInfo& t = types[static_cast<size_t>(i)];
    decided[static_cast<size_t>(i)] = t.Type != SqlType::Unknown;
    packet.Fields[static_cast<size_t>(i)].Type = FieldTypeOf(t);
    packet.Fields[static_cast<size_t>(i)].Size =
        t.Type == SqlType::Text && t.Length > 0 ? t.Length : 0;
  }
  for (;;) {
    const int rc = sqlite3_step(h.Stmt);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) SqliteFailure(db_, s, select.Sql);
    Row row(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      const size_t k = static_cast<size_t>(i);
      if (!decided[k] && sqlite3_column_type(h.Stmt, i) != SQLITE_NULL) {
        switch (sqlite3_column_type(h.Stmt, i)) {
        case SQLITE_INTEGER: packet.Fields[k].Type = FieldType::Integer; break;
        case SQLITE_FLOAT: packet.Fields[k].Type = FieldType::Number; break;
        case SQLITE_BLOB: packet.Fields[k].Type = FieldType::Bytes; break;
        default: packet.Fields[k].Type = FieldType::Text; break;
        }
        decided[k] = true;
      }
      row[k] = CellValue(h.Stmt, i, packet.Fields[k].Type);
    }
    packet.Rows.push_back(std::move(row));
  }
  return packet;
}

namespace {

// Makes a statement and the triggers it fires one unit: a failure anywhere undoes all of it.
class Savepoint {
public:
  explicit Savepoint(sqlite3* db) : db_(db) { Run("SAVEPOINT vq_dml"); }
  ~Savepoint() {
    if (db_) sqlite3_exec(db_, "ROLLBACK TO vq_dml; RELEASE vq_dml", nullptr, nullptr, nullptr);
  }
  Savepoint(const Savepoint&) = delete;
  Savepoint& operator=(const Savepoint&) = delete;
  void Release() {
    Run("RELEASE vq_dml");
    db_ = nullptr;
  }

private:
  void Run(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw Error(sqlite3_errmsg(db_));
  }
  sqlite3* db_;
};

constexpr int MaxNesting = 32;

std::string ColumnList(const std::vector<ColumnInfo>& columns) {
  std::string list;
  for (const ColumnInfo& c : columns) list += (list.empty() ? "" : ", ") + QuoteName(c.Name);
  return list;
}

} // namespace

int64_t TsqlEngine::RunDml(const DmlPlan& plan, Run& run, const Statement& s) {
  if (run.Context.RowSets.count(UpperAscii(plan.Table)))
    throw Error("The logical tables INSERTED and DELETED cannot be updated.");
  const std::vector<StoredTrigger> triggers = triggers_.For(plan.Table, plan.Kind);
  if (triggers.empty()) return RunChange(plan, run, s);
  try {
    Savepoint savepoint(db_);
    const RowSets rows = CreateRowSets(plan, run, s);
    const std::string fromRowids = " FROM " + QuoteName(plan.Table) + " WHERE rowid IN (SELECT r FROM " +
                                   QuoteName(rows.Rowids) + ")";
    const std::string columns = ColumnList(*TableColumns(rows.Inserted));
    auto runSql = [&](const std::string& sql) { RunDdl(DdlPlan{{sql}, false}, run, s); };
    // The rows an UPDATE or DELETE will touch, before it runs; the new rows of an INSERT after.
    const DataPacket last =
        RunSelect(EmittedSelect{"SELECT IFNULL(MAX(rowid), 0) FROM " + QuoteName(plan.Table), {}, false}, run, s);
    const std::string rowids = "INSERT INTO " + QuoteName(rows.Rowids) + " SELECT rowid FROM " + QuoteName(plan.Table);
    if (plan.Kind != DmlKind::Insert) {
      runSql(rowids + " WHERE " + plan.RowFilter);
      runSql("INSERT INTO " + QuoteName(rows.Deleted) + " (" + columns + ") SELECT " + columns + fromRowids);
    }
    const int64_t changes = RunChange(plan, run, s);
    if (plan.Kind == DmlKind::Insert)
      runSql(rowids + " WHERE rowid > " + std::to_string(last.Rows.at(0).at(0).AsInteger()));
    if (plan.Kind != DmlKind::Delete)
      runSql("INSERT INTO " + QuoteName(rows.Inserted) + " (" + columns + ") SELECT " + columns + fromRowids);
    for (const StoredTrigger& trigger : triggers) FireTrigger(trigger, rows);
    for (const std::string& table : {rows.Inserted, rows.Deleted, rows.Rowids})
      RunDdl(DdlPlan{{"DROP TABLE temp." + QuoteName(table)}, true}, run, s);
    savepoint.Release();
    return changes;
  } catch (...) {
    columnCache_.clear(); // the rollback took the row-set tables away
    throw;
  }
}

TsqlEngine::RowSets TsqlEngine::CreateRowSets(const DmlPlan& plan, Run& run, const Statement& s) {
  const std::vector<ColumnInfo>* tableColumns = TableColumns(plan.Table);
  if (!tableColumns) throw Error("Invalid object name '" + plan.Table + "'.");
  std::vector<ColumnInfo> columns = *tableColumns;
  RowSets rows;
  for (ColumnInfo& c : columns) {
    c.Type.Identity = false;
    if (plan.Kind == DmlKind::Insert) rows.Updated.push_back(c.Name);
  }
  if (plan.Kind == DmlKind::Update) rows.Updated = plan.Columns;
  const std::string suffix = std::to_string(++firings_);
  rows.Inserted = "#__inserted_" + suffix;
  rows.Deleted = "#__deleted_" + suffix;
  rows.Rowids = "#__rowids_" + suffix;
  TsqlEmitter emitter(run.Context);
  RunDdl(emitter.CreateTableFor(rows.Inserted, columns), run, s);
  RunDdl(emitter.CreateTableFor(rows.Deleted, columns), run, s);
  RunDdl(DdlPlan{{"CREATE TEMP TABLE " + QuoteName(rows.Rowids) + " (r INTEGER)"}, true}, run, s);
  return rows;
}

void TsqlEngine::FireTrigger(const StoredTrigger& trigger, const RowSets& rows) {
  if (nesting_ >= MaxNesting)
    throw Error("Maximum stored procedure, function, trigger, or view nesting level exceeded (limit 32).");
  struct Level {
    int& Depth;
    explicit Level(int& depth) : Depth(++depth) {}
    ~Level() { --Depth; }
  } level(nesting_);
  const Batch body = ParseTsql(trigger.Body);
  Run run({}, MakeContext({}), nullptr);
  run.Context.RowSets = {{"INSERTED", rows.Inserted}, {"DELETED", rows.Deleted}};
  run.Context.UpdatedColumns = rows.Updated;
  for (const auto& statement : body.Statements) RunStatement(*statement, run);
}

int64_t TsqlEngine::RunChange(const DmlPlan& plan, Run& run, const Statement& s) {
  StatementHandle h;
  Prepare(db_, plan.Sql, s, h);
  Bind(db_, h.Stmt, run.Scope.Values());
  const int rc = sqlite3_step(h.Stmt);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) SqliteFailure(db_, s, plan.Sql);
  const int64_t changes = sqlite3_changes64(db_);
  run.Changes += changes;
  return changes;
}

void TsqlEngine::RunDdl(const DdlPlan& plan, Run& run, const Statement& s) {
  for (const std::string& sql : plan.Sql) {
    StatementHandle h;
    Prepare(db_, sql, s, h);
    Bind(db_, h.Stmt, run.Scope.Values());
    const int rc = sqlite3_step(h.Stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) SqliteFailure(db_, s, sql);
  }
  if (plan.ChangesSchema) columnCache_.clear();
}

void TsqlEngine::RunStatement(const Statement& s, Run& run) {
  TsqlEmitter emitter(run.Context);
  switch (s.Kind) {
  case StatementKind::Set: Assign(s, run); return;
  case StatementKind::Select: {
    const auto& items = s.Select->Members[0].Items;
    if (std::any_of(items.begin(), items.end(), [](const SelectItem& i) { return !i.Variable.empty(); })) {
      Assign(s, run);
      return;
    }
    EmittedSelect select = emitter.Select(*s.Select);
    const auto& into = s.Select->Members[0].Into;
    if (!into.empty()) {
      const std::string table = SqliteTableName(into);
      if (!select.ColumnsKnown) throw Error("SELECT INTO needs known columns\nT-SQL: " + StatementContext(s));
      RunDdl(emitter.CreateTableFor(table, select.Columns), run, s);
      DmlPlan plan;
      plan.Kind = DmlKind::Insert;
      plan.Table = table;
      for (const auto& c : select.Columns) plan.Columns.push_back(c.Name);
      plan.Sql = "INSERT INTO " + QuoteName(table) + " " + select.Sql;
      RunDml(plan, run, s);
      return;
    }
    DataPacket packet = RunSelect(select, run, s);
    if (run.Result) *run.Result = std::move(packet);
    return;
  }
  case StatementKind::Insert: RunDml(emitter.Insert(s), run, s); return;
  case StatementKind::Update: RunDml(emitter.Update(s), run, s); return;
  case StatementKind::Delete: RunDml(emitter.Delete(s), run, s); return;
  case StatementKind::CreateTable: RunDdl(emitter.CreateTable(s), run, s); return;
  case StatementKind::CreateIndex: RunDdl(emitter.CreateIndex(s), run, s); return;
  case StatementKind::DropTable:
    RunDdl(emitter.Drop(s), run, s);
    // A dropped table takes its triggers along, as on SQL Server.
    triggers_.DropFor(SqliteTableName(s.Table));
    return;
  case StatementKind::DropIndex: RunDdl(emitter.Drop(s), run, s); return;
  case StatementKind::If:
    if (Holds(*s.Condition, run, s)) RunStatement(*s.Then, run);
    else if (s.Else) RunStatement(*s.Else, run);
    return;
  case StatementKind::While:
    while (Holds(*s.Condition, run, s)) RunStatement(*s.Then, run);
    return;
  case StatementKind::Block:
    for (const auto& b : s.Body) RunStatement(*b, run);
    return;
  case StatementKind::Declare:
    for (const ColumnDef& v : s.ColumnDefs) run.Scope.Declare(v.Name, v.Type);
    return;
  case StatementKind::DeclareCursor: run.Scope.DeclareCursor(s.Name, *s.Select); return;
  case StatementKind::Open:
    run.Scope.Open(s.Name, RunSelect(emitter.Select(run.Scope.CursorSelect(s.Name)), run, s));
    return;
  case StatementKind::Fetch: run.Scope.Fetch(s.Name, s.Columns); return;
  case StatementKind::Close: run.Scope.Close(s.Name); return;
  case StatementKind::Deallocate: run.Scope.Deallocate(s.Name); return;
  case StatementKind::CreateTrigger: CreateTrigger(s); return;
  }
}

bool TsqlEngine::Holds(const Expr& condition, Run& run, const Statement& s) {
  const std::string sql = TsqlEmitter(run.Context).Condition(condition);
  StatementHandle h;
  Prepare(db_, sql, s, h);
  Bind(db_, h.Stmt, run.Scope.Values());
  const int rc = sqlite3_step(h.Stmt);
  if (rc != SQLITE_ROW) SqliteFailure(db_, s, sql);
  return sqlite3_column_int(h.Stmt, 0) != 0;
}

// SELECT @a = x, @b = y FROM ...: the last row's values; no row leaves the variables as they are.
void TsqlEngine::Assign(const Statement& s, Run& run) {
  if (s.Select->Members.size() != 1) throw Error("Unsupported T-SQL construct: UNION in an assignment SELECT");
  const auto& items = s.Select->Members[0].Items;
  if (!std::all_of(items.begin(), items.end(), [](const SelectItem& i) { return !i.Variable.empty(); }))
    throw Error("A SELECT statement that assigns a value to a variable must not be combined with "
                "data-retrieval operations.");
  const DataPacket rows = RunSelect(TsqlEmitter(run.Context).Select(*s.Select), run, s);
  if (rows.Rows.empty()) return;
  for (size_t i = 0; i < items.size(); ++i) run.Scope.Assign(items[i].Variable, rows.Rows.back().at(i));
}

void TsqlEngine::CreateTrigger(const Statement& s) {
  const std::string table = SqliteTableName(s.Table);
  if (!table.empty() && table[0] == '#') throw Error("Cannot create trigger on a temporary object.");
  if (!TableColumns(table))
    throw Error("Cannot find the object \"" + table + "\" because it does not exist or you do not have permissions.");
  if (ObjectId(s.Name, "")) throw Error("There is already an object named '" + s.Name + "' in the database.");
  triggers_.Add(s.Name, table, s.Events, s.Then->SourceText);
}

void TsqlEngine::RunBatch(std::string_view tsql, const std::vector<Value>& params, DataPacket* result,
                          int64_t* changes) {
  Batch batch = ParseTsql(tsql);
  if (params.size() < static_cast<size_t>(batch.PlaceholderCount)) throw Error("Not enough placeholder values");
  columnCache_.clear(); // other code may have changed the schema since the last batch
  Run run(params, MakeContext(params), result);
  for (const auto& s : batch.Statements) RunStatement(*s, run);
  if (changes) *changes = run.Changes;
}

DataPacket TsqlEngine::Query(std::string_view tsql, const std::vector<Value>& params) {
  DataPacket packet;
  RunBatch(tsql, params, &packet, nullptr);
  return packet;
}

int64_t TsqlEngine::Execute(std::string_view tsql, const std::vector<Value>& params) {
  int64_t changes = 0;
  RunBatch(tsql, params, nullptr, &changes);
  return changes;
}

std::vector<std::string> TsqlEngine::Translate(std::string_view tsql, const std::vector<Value>& params) {
  Batch batch = ParseTsql(tsql);
  if (params.size() < static_cast<size_t>(batch.PlaceholderCount)) throw Error("Not enough placeholder values");
  columnCache_.clear();
  EmitContext ctx = MakeContext(params);
  TsqlEmitter emitter(ctx);
  std::vector<std::string> out;
  std::function<void(const Statement&)> visit = [&](const Statement& s) {
    switch (s.Kind) {
    case StatementKind::Select: out.push_back(emitter.Select(*s.Select).Sql); break;
    case StatementKind::Insert: out.push_back(emitter.Insert(s).Sql); break;
    case StatementKind::Update: out.push_back(emitter.Update(s).Sql); break;
    case StatementKind::Delete: out.push_back(emitter.Delete(s).Sql); break;
    case StatementKind::CreateTable:
      for (auto& x : emitter.CreateTable(s).Sql) out.push_back(x);
      break;
    case StatementKind::CreateIndex:
      for (auto& x : emitter.CreateIndex(s).Sql) out.push_back(x);
      break;
    case StatementKind::DropTable:
    case StatementKind::DropIndex:
      for (auto& x : emitter.Drop(s).Sql) out.push_back(x);
      break;
    case StatementKind::If:
      out.push_back(emitter.Condition(*s.Condition));
      visit(*s.Then);
      if (s.Else) visit(*s.Else);
      break;
    case StatementKind::Block:
      for (const auto& b : s.Body) visit(*b);
      break;
    default: break;
    }
  };
  for (const auto& s : batch.Statements) visit(*s);
  return out;
}

} // namespace vq::sandbox
