#pragma once

#include <filesystem>
#include <string>

namespace vq::cli {

// Reads an XML argument file as UTF-8 text without its BOM; "-" reads standard input.
// Raises vq::Error when the file cannot be read.
std::string ReadInputFile(const std::string &name, const std::filesystem::path &base = {});

} // namespace vq::cli
