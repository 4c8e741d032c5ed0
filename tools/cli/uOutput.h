#pragma once

#include "uMethodCalls.h"

#include <iosfwd>
#include <string>

namespace vq::cli {

std::string JsonString(const std::string &text);

// Prints an outcome as the command line does: Value on standard output, the result lines
// on standard error; or one JSON object on one line of standard output.
void PrintOutcome(const CallOutcome &outcome, bool json, bool withMethod, std::ostream &out,
                  std::ostream &err);

} // namespace vq::cli
