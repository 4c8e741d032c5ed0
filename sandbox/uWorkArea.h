#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vq::sandbox {

// A work area is one SQLite file "<name>.sqlite" in the connector's home directory.
std::filesystem::path WorkAreaPath(const std::filesystem::path &home, const std::string &name);
// Names of the work areas in the home directory, sorted.
std::vector<std::string> WorkAreaNames(const std::filesystem::path &home);

enum class WorkAreaContent { MinimalCompany, Demo };

// Creates a new work area with the schema and its data; fails when one of that name exists.
// The file appears only when complete.
void CreateWorkArea(const std::filesystem::path &home, const std::string &name,
                    WorkAreaContent content);

// An open SQLite connection; closes on destruction.
class Database {
public:
  // Raises vq::Error when the file does not exist or cannot be opened.
  explicit Database(const std::filesystem::path &file);
  ~Database();
  Database(const Database &) = delete;
  Database &operator=(const Database &) = delete;

  sqlite3 *Handle() const { return db_; }
  // Runs statements that return no rows; raises vq::Error with SQLite's message.
  void Exec(const std::string &sql);

private:
  sqlite3 *db_ = nullptr;
};

} // namespace vq::sandbox
