#include "support/uTempHome.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>

namespace vq::test {

TempHome::TempHome() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::path(::testing::TempDir()) /
          ("vqhome-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TempHome::~TempHome() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempHome::Write(const std::string &name, const std::string &text) const {
  const std::filesystem::path file = path_ / name;
  std::ofstream out(file, std::ios::binary);
  out << text;
  return file.string();
}

} // namespace vq::test
