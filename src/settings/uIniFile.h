#pragma once

#include "core/uDateTime.h"
#include "settings/uIniDocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// The settings file, with the semantics of the Windows private-profile functions (see
// IniDocument for the lookup rules). The file is in the ANSI code page on disk; names and
// values are UTF-8 here.
//
// Reads look at the file as it is on disk at that moment, so an object held across calls
// sees edits made meanwhile; a file that does not exist or cannot be read gives every
// read its default. Each write replaces the file as a whole and keeps every line it does
// not concern; a failing write raises vq::Error and leaves the file as it was.
class IniFile {
public:
  explicit IniFile(std::string fileName);

  const std::string &FileName() const { return fileName_; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  TDateTime ReadDate(std::string_view section, std::string_view key) const;
  std::vector<IniEntry> ReadSectionValues(std::string_view section) const;
  std::vector<std::string> ReadSection(std::string_view section) const;
  bool SectionExists(std::string_view section) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void WriteDate(std::string_view section, std::string_view key, TDateTime value);
  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view key);

  // Puts the writes held by an IniWriteBatch on disk; without one every write is
  // already there.
  void UpdateFile();

private:
  friend class IniWriteBatch;

  IniDocument Current() const;
  IniDocument LoadForWrite() const;
  template <typename Edit> void Change(Edit edit);

  std::string fileName_;
  std::optional<IniDocument> held_;
};

// Holds the writes made to a file while it lives, so that a writer's many keys reach the
// disk together at UpdateFile. Writes not flushed when it ends are dropped: a writer that
// fails half-way leaves the file as it was. Reads meanwhile see the held writes.
class IniWriteBatch {
public:
  explicit IniWriteBatch(IniFile &file);
  ~IniWriteBatch();
  IniWriteBatch(const IniWriteBatch &) = delete;
  IniWriteBatch &operator=(const IniWriteBatch &) = delete;

private:
  IniFile &file_;
  bool outermost_;
};

} // namespace vq
