#include "support/uDemoHome.h"

#include "core/uCodePage.h"
#include "sandbox/uSandboxServer.h"
#include "session/uServerFactory.h"
#include "uSandboxHome.h"

#include <fstream>
#include <gtest/gtest.h>

namespace vq::test {

DemoHome::DemoHome(const std::string &extraSettings) {
  vq::cli::CreateSandboxHome(home_.Path(), true);
  if (!extraSettings.empty()) {
    std::ofstream out(home_.Path() / "BackOfficeParams.ini", std::ios::binary | std::ios::app);
    out << "\r\n" << Utf8ToAnsi(extraSettings);
  }
  SetConnectionFactory(sandbox::MakeSandboxConnection);
}

DemoHome::~DemoHome() { SetConnectionFactory(nullptr); }

std::unique_ptr<TBackOfficeConnector> DemoHome::OpenConnector() const {
  auto connector = std::make_unique<TBackOfficeConnector>(home_.Dir());
  int32_t code = -1;
  std::string message;
  connector->OpenConnection(code, message);
  EXPECT_EQ(code, 0) << message;
  return connector;
}

} // namespace vq::test
