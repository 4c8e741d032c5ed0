#pragma once

#include "core/uError.h"

namespace vq::cli {

// A command line that does not follow the contract: exit status 64 with the usage text.
struct UsageError : Error {
  using Error::Error;
};

} // namespace vq::cli
