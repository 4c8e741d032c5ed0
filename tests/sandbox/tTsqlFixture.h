#pragma once

#include "core/uError.h"
#include "core/uNumberText.h"
#include "sandbox/uTsqlEngine.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

namespace vq::sandbox::testing {

// An in-memory database with the engine and a small schema of its own.
class TsqlDb {
public:
  TsqlDb() {
    sqlite3_open(":memory:", &db_);
    engine_ = std::make_unique<TsqlEngine>(db_);
  }
  ~TsqlDb() {
    engine_.reset();
    sqlite3_close(db_);
  }
  TsqlDb(const TsqlDb&) = delete;
  TsqlDb& operator=(const TsqlDb&) = delete;

  TsqlEngine& Engine() { return *engine_; }
  sqlite3* Db() { return db_; }

  // Plain SQLite, for fixtures.
  void Raw(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK)
      ADD_FAILURE() << (message ? message : "") << " in: " << sql;
    sqlite3_free(message);
  }

  DataPacket Query(const std::string& sql, const std::vector<Value>& params = {}) {
    return engine_->Query(sql, params);
  }
  int64_t Execute(const std::string& sql, const std::vector<Value>& params = {}) {
    return engine_->Execute(sql, params);
  }

private:
  sqlite3* db_ = nullptr;
  std::unique_ptr<TsqlEngine> engine_;
};

// A cell as text for comparisons: NULL, integers, numbers with NumberText, dates as stored.
std::string CellText(const Value& v);

} // namespace vq::sandbox::testing
