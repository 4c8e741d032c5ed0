#pragma once

#include <optional>
#include <string>

namespace vq {

// Paths are UTF-8 inside the program, whatever the platform's own path encoding.

// The file's bytes; nothing when the file does not exist. Throws vq::Error with the
// operating system's reason when the file exists but cannot be read.
std::optional<std::string> ReadFileText(const std::string &fileName);

// Replaces the file's bytes as a whole: the text goes to a temporary file beside it,
// which then takes the file's place, so that a failure leaves the old file intact.
// A read-only file is refused, as the Windows profile functions refuse it.
void ReplaceFileText(const std::string &fileName, const std::string &bytes);

} // namespace vq
