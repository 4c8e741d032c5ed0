#pragma once

#include <filesystem>
#include <string>

namespace vq::test {

// A fresh directory for one test, removed with the object.
class TempHome {
public:
  TempHome();
  ~TempHome();
  TempHome(const TempHome &) = delete;
  TempHome &operator=(const TempHome &) = delete;

  const std::filesystem::path &Path() const { return path_; }
  std::string Dir() const { return path_.string() + "/"; }
  // Writes a file in the directory (UTF-8 text as given) and returns its path.
  std::string Write(const std::string &name, const std::string &text) const;

private:
  std::filesystem::path path_;
};

} // namespace vq::test
