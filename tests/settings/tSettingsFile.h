#pragma once

#include "core/uCodePage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace vq::test {

// A directory of its own for each test, holding the settings file under test.
class SettingsFileTest : public ::testing::Test {
protected:
  SettingsFileTest() {
    std::random_device random;
    dir_ = std::filesystem::temp_directory_path() /
           ("vq_settings_" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(dir_);
  }
  ~SettingsFileTest() override {
    std::error_code ignored;
    std::filesystem::permissions(Path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }

  std::filesystem::path Path() const { return dir_ / "BackOfficeParams.ini"; }
  std::string FileName() const { return Path().string(); }
  const std::filesystem::path &Dir() const { return dir_; }

  // The file as stored: UTF-8 text of the test goes to disk in the ANSI code page.
  void WriteUtf8(const std::string &text) const { WriteBytes(Utf8ToAnsi(text)); }
  void WriteBytes(const std::string &bytes) const {
    std::ofstream(Path(), std::ios::binary) << bytes;
  }
  std::string Bytes() const {
    std::ifstream in(Path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  std::string Utf8() const { return AnsiToUtf8(Bytes()); }

private:
  std::filesystem::path dir_;
};

} // namespace vq::test
