#include "uBackOffice.h"

#include "uUsage.h"

namespace vq::cli {

void InstallBackOffice() {}

int RunSandboxCommand(const std::vector<std::string>&, size_t, bool) {
  throw UsageError("this build has no sandbox back office");
}

int RunDemo(std::ostream&) { throw UsageError("this build has no sandbox back office"); }

} // namespace vq::cli
