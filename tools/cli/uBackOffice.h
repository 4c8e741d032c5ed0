#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vq::cli {

// Makes the connector create its connection objects in the back office of this build.
void InstallBackOffice();

// "sandbox init DIR [--demo]" and "sandbox sql DIR WORKAREA STATEMENT [VALUE...]";
// args[from] is the subcommand.
int RunSandboxCommand(const std::vector<std::string> &args, size_t from, bool json);

// A short POS day on a fresh temporary demo home, each call and its result printed.
int RunDemo(std::ostream &out);

} // namespace vq::cli
