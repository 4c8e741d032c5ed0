#pragma once

#include "com/dBackOfficeConnector.h"

#include <filesystem>
#include <iosfwd>
#include <string>

namespace vq::cli {

// Runs a script: one method call per line on one connector object. Returns 0 when every
// line ran, 4 when a call failed at the COM level; raises UsageError for a
// line that names no method or has the wrong arguments, before anything runs.
int RunScript(TBackOfficeConnector &connector, const std::filesystem::path &script, bool json,
              std::ostream &out, std::ostream &err);

} // namespace vq::cli
