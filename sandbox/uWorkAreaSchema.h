#pragma once

#include <string_view>
#include <vector>

namespace vq::sandbox {

// SQLite DDL of a sandbox work area: the ERP tables and columns the connector reads and the
// business objects write, plus the SBX_ tables the sandbox server keeps for itself. ZEV is left
// out: the connector creates it at login. Run in order on an empty database that has the
// SQLSERVER collation registered.
const std::vector<std::string_view> &WorkAreaSchema();

} // namespace vq::sandbox
