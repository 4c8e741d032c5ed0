#include "settings/uFileText.h"

#include "core/uError.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace vq {
namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string &utf8) {
  return fs::path(std::u8string(reinterpret_cast<const char8_t *>(utf8.data()), utf8.size()));
}

// The stream library reports no reason of its own; the C library's errno carries it.
std::error_code LastStreamError() {
  return errno != 0 ? std::error_code(errno, std::generic_category())
                    : std::make_error_code(std::errc::io_error);
}

[[noreturn]] void Fail(const std::string &what, const std::string &fileName,
                       const std::error_code &reason) {
  throw Error(what + " " + fileName + ": " + reason.message());
}

bool IsReadOnly(const fs::file_status &status) {
  constexpr auto anyWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (status.permissions() & anyWrite) == fs::perms::none;
}

// Beside the target, so that the final rename stays on one volume.
fs::path TemporaryBeside(const fs::path &target) {
  std::random_device random;
  std::ostringstream suffix;
  suffix << ".~" << std::hex << random() << random();
  fs::path temporary = target;
  temporary += suffix.str();
  return temporary;
}

void CheckWritable(const fs::path &path, const std::string &fileName) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) return;
  if (fs::is_directory(status))
    Fail("Cannot write", fileName, std::make_error_code(std::errc::is_a_directory));
  if (IsReadOnly(status))
    Fail("Cannot write", fileName, std::make_error_code(std::errc::permission_denied));
}

} // namespace

std::optional<std::string> ReadFileText(const std::string &fileName) {
  const fs::path path = PathOf(fileName);
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) return std::nullopt;
  if (fs::is_directory(status))
    Fail("Cannot read", fileName, std::make_error_code(std::errc::is_a_directory));
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("Cannot read", fileName, LastStreamError());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) Fail("Cannot read", fileName, LastStreamError());
  return std::move(bytes).str();
}

void ReplaceFileText(const std::string &fileName, const std::string &bytes) {
  const fs::path path = PathOf(fileName);
  CheckWritable(path, fileName);
  const fs::path temporary = TemporaryBeside(path);
  {
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) Fail("Cannot write", fileName, LastStreamError());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      const std::error_code reason = LastStreamError();
      std::error_code ignored;
      fs::remove(temporary, ignored);
      Fail("Cannot write", fileName, reason);
    }
  }
  // The new file takes over the old one's permissions along with its place.
  std::error_code ignored;
  const fs::file_status old = fs::status(path, ignored);
  if (fs::exists(old)) fs::permissions(temporary, old.permissions(), ignored);
  std::error_code renamed;
  fs::rename(temporary, path, renamed);
  if (renamed) {
    fs::remove(temporary, ignored);
    Fail("Cannot write", fileName, renamed);
  }
}

} // namespace vq
