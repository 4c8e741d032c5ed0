#include "uInputFiles.h"

#include "core/uError.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace vq::cli {

std::string ReadInputFile(const std::string &name, const std::filesystem::path &base) {
  std::string text;
  if (name == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::filesystem::path path(name);
    if (path.is_relative() && !base.empty()) path = base / path;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error("Cannot read " + path.string());
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
  }
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  return text;
}

} // namespace vq::cli
