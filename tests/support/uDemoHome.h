#pragma once

#include "com/dBackOfficeConnector.h"
#include "support/uTempHome.h"

#include <memory>
#include <string>

namespace vq::test {

// A fresh connector home with the sandbox's demo work area and settings, and the sandbox
// installed as the back office for as long as it lives.
class DemoHome {
public:
  // Extra settings lines are appended to BackOfficeParams.ini (UTF-8; written in the
  // file's code page).
  explicit DemoHome(const std::string &extraSettings = {});
  ~DemoHome();

  const TempHome &Home() const { return home_; }
  // A connector object on this home that has opened its session; fails the test otherwise.
  std::unique_ptr<TBackOfficeConnector> OpenConnector() const;

private:
  TempHome home_;
};

} // namespace vq::test
