#pragma once

#include "core/uDateTime.h"

#include <optional>
#include <string>
#include <string_view>

struct sqlite3;

namespace vq::sandbox {

// Registers on db the collation "SQLSERVER" (case and accent insensitive, Greek
// included, trailing blanks ignored) and the tsql_* functions that the emitter calls
// to give SQL Server's semantics. Throws vq::Error when SQLite refuses.
void RegisterSqlServerFunctions(sqlite3* db);

// The collation's comparison: <0, 0, >0.
int CompareSqlServerText(std::string_view a, std::string_view b);

// LIKE with %, _, [abc], [a-z], [^abc]; case and accent insensitive.
bool LikeSqlServer(std::string_view value, std::string_view pattern, int escape = -1);

// Stored form of a DATETIME: "yyyy-mm-dd hh:mm:ss.zzz".
std::string StoredDateTimeText(TDateTime value);
// Reads the stored form (also without milliseconds or without time).
std::optional<TDateTime> ParseStoredDateTime(std::string_view text);
// Text to DATETIME as CONVERT(DATETIME, text, style) does it (style -1: none given).
std::optional<TDateTime> ParseSqlServerDateTime(std::string_view text, int style);
// DATETIME to text as CONVERT(VARCHAR, value, style) does it (style -1: default, "Dec 11 2026 12:37PM").
std::string SqlServerDateTimeText(TDateTime value, int style);

// Object id that the catalog emulation gives an object name (stable, positive).
int64_t CatalogObjectId(std::string_view name);

} // namespace vq::sandbox
