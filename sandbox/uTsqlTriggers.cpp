#include "sandbox/uTsqlTriggers.h"

#include "core/uError.h"

#include <sqlite3.h>

#include <memory>

namespace vq::sandbox {
namespace {

using SqlitePtr = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

// EVENTS holds ",INSERT,UPDATE," so that one LIKE finds an event.
std::string EventPattern(DmlKind kind) {
  switch (kind) {
  case DmlKind::Insert: return "%,INSERT,%";
  case DmlKind::Update: return "%,UPDATE,%";
  case DmlKind::Delete: return "%,DELETE,%";
  }
  return {};
}

SqlitePtr Prepared(sqlite3 *db, const char *sql, const std::vector<std::string> &texts) {
  sqlite3_stmt *raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
    throw Error(std::string("The trigger store failed: ") + sqlite3_errmsg(db));
  SqlitePtr stmt(raw, &sqlite3_finalize);
  for (size_t i = 0; i < texts.size(); ++i)
    sqlite3_bind_text(raw, static_cast<int>(i + 1), texts[i].c_str(), -1, SQLITE_TRANSIENT);
  return stmt;
}

std::string Text(sqlite3_stmt *stmt, int column) {
  const unsigned char *t = sqlite3_column_text(stmt, column);
  return t ? reinterpret_cast<const char *>(t) : "";
}

void Finish(sqlite3 *db, const char *sql, const std::vector<std::string> &texts) {
  SqlitePtr stmt = Prepared(db, sql, texts);
  if (sqlite3_step(stmt.get()) != SQLITE_DONE)
    throw Error(std::string("The trigger store failed: ") + sqlite3_errmsg(db));
}

} // namespace

void TriggerStore::Install() {
  Finish(db_,
         "CREATE TABLE IF NOT EXISTS SBX_TRIGGER (NAME TEXT NOT NULL, TABLENAME TEXT NOT NULL, "
         "EVENTS TEXT NOT NULL, BODY TEXT NOT NULL)",
         {});
}

std::string TriggerStore::CatalogSql() {
  return "SELECT NAME AS name, 'TR' AS xtype, TABLENAME AS parent FROM main.SBX_TRIGGER";
}

void TriggerStore::Add(const std::string &name, const std::string &table,
                       const std::vector<std::string> &events, const std::string &body) {
  std::string eventList = ",";
  for (const std::string &e : events) eventList += e + ",";
  Finish(db_,
         "INSERT INTO main.SBX_TRIGGER (NAME, TABLENAME, EVENTS, BODY) VALUES (?1, ?2, ?3, ?4)",
         {name, table, eventList, body});
}

std::vector<StoredTrigger> TriggerStore::For(const std::string &table, DmlKind kind) const {
  SqlitePtr stmt = Prepared(db_,
                            "SELECT NAME, BODY FROM main.SBX_TRIGGER WHERE TABLENAME = ?1 "
                            "COLLATE NOCASE AND EVENTS LIKE ?2 ORDER BY rowid",
                            {table, EventPattern(kind)});
  std::vector<StoredTrigger> triggers;
  int rc;
  while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
    triggers.push_back({Text(stmt.get(), 0), Text(stmt.get(), 1)});
  if (rc != SQLITE_DONE)
    throw Error(std::string("The trigger store failed: ") + sqlite3_errmsg(db_));
  return triggers;
}

void TriggerStore::DropFor(const std::string &table) {
  Finish(db_, "DELETE FROM main.SBX_TRIGGER WHERE TABLENAME = ?1 COLLATE NOCASE", {table});
}

} // namespace vq::sandbox
