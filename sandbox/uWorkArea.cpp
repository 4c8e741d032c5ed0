#include "sandbox/uWorkArea.h"

#include "core/uError.h"
#include "sandbox/uDemoData.h"
#include "sandbox/uSqlServerFunctions.h"
#include "sandbox/uWorkAreaSchema.h"

#include <algorithm>

namespace vq::sandbox {
namespace {

constexpr const char *Extension = ".sqlite";

// SQLite would take a double-quoted name it cannot resolve as a text literal; names must
// resolve or fail, as they do on SQL Server.
void RefuseQuotedLiterals(sqlite3 *db) {
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
}

} // namespace

std::filesystem::path WorkAreaPath(const std::filesystem::path &home, const std::string &name) {
  return home / (name + Extension);
}

std::vector<std::string> WorkAreaNames(const std::filesystem::path &home) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto &entry : std::filesystem::directory_iterator(home, error)) {
    if (entry.is_regular_file() && entry.path().extension() == Extension)
      names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

Database::Database(const std::filesystem::path &file) {
  const std::string path = file.string();
  const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close(db_);
    db_ = nullptr;
    throw Error("Cannot open the work area " + path + ": " + message);
  }
  RefuseQuotedLiterals(db_);
  RegisterSqlServerFunctions(db_);
}

Database::~Database() { sqlite3_close(db_); }

void Database::Exec(const std::string &sql) {
  char *message = nullptr;
  const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    const std::string text = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    throw Error(text + " in: " + sql.substr(0, 200));
  }
}

void CreateWorkArea(const std::filesystem::path &home, const std::string &name,
                    WorkAreaContent content) {
  if (name.empty() || name.find_first_of("/\\:*?\"<>|") != std::string::npos)
    throw Error("Not a valid work area name: '" + name + "'");
  const std::filesystem::path target = WorkAreaPath(home, name);
  if (std::filesystem::exists(target)) throw Error("The work area " + name + " exists already");
  std::filesystem::create_directories(home);
  const std::filesystem::path partial = target.string() + ".partial";
  std::filesystem::remove(partial);
  {
    sqlite3 *raw = nullptr;
    const std::string path = partial.string();
    const int rc =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
      const std::string message = raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc);
      sqlite3_close(raw);
      throw Error("Cannot create the work area " + target.string() + ": " + message);
    }
    sqlite3_close(raw);
  }
  try {
    Database db(partial);
    db.Exec("BEGIN");
    for (const std::string_view statement : WorkAreaSchema()) db.Exec(std::string(statement));
    const auto &data = content == WorkAreaContent::Demo ? DemoData() : MinimalData();
    for (const std::string_view statement : data) db.Exec(std::string(statement));
    db.Exec("COMMIT");
  } catch (...) {
    std::filesystem::remove(partial);
    throw;
  }
  std::filesystem::rename(partial, target);
}

} // namespace vq::sandbox
