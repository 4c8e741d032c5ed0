#include "settings/uIniFile.h"

#include "core/uError.h"
#include "settings/uFileText.h"
#include "settings/uIniValues.h"

#include <string>

namespace vq {

IniFile::IniFile(std::string fileName) : fileName_(std::move(fileName)) {}

// The profile functions read a file they cannot open as an empty one.
IniDocument IniFile::Current() const {
  if (held_) return *held_;
  try {
    return IniDocument(ReadFileText(fileName_).value_or(""));
  } catch (const Error &) {
    return IniDocument();
  }
}

// Unlike a read, a write must not mistake an unreadable file for an empty one: it would
// replace the file with the one key written.
IniDocument IniFile::LoadForWrite() const {
  return IniDocument(ReadFileText(fileName_).value_or(""));
}

template <typename Edit> void IniFile::Change(Edit edit) {
  if (held_) {
    edit(*held_);
    return;
  }
  IniDocument document = LoadForWrite();
  const std::string before = document.Text();
  edit(document);
  // An edit that changes nothing (erasing what is not there) creates no file.
  if (const std::string after = document.Text(); after != before) ReplaceFileText(fileName_, after);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  return Current().Value(section, key).value_or(std::string(defaultValue));
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
  return IniInteger(ReadString(section, key, ""), defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return IniFlag(ReadString(section, key, ""), defaultValue);
}

TDateTime IniFile::ReadDate(std::string_view section, std::string_view key) const {
  return IniDate(ReadString(section, key, ""));
}

std::vector<IniEntry> IniFile::ReadSectionValues(std::string_view section) const {
  return Current().Entries(section);
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  for (IniEntry &entry : ReadSectionValues(section)) keys.push_back(std::move(entry.Key));
  return keys;
}

bool IniFile::SectionExists(std::string_view section) const {
  return Current().HasSection(section);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Change([&](IniDocument &document) { document.SetValue(section, key, value); });
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, IniFlagText(value));
}

void IniFile::WriteDate(std::string_view section, std::string_view key, TDateTime value) {
  WriteString(section, key, IniDateText(value));
}

void IniFile::EraseSection(std::string_view section) {
  Change([&](IniDocument &document) { document.EraseSection(section); });
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
  Change([&](IniDocument &document) { document.DeleteKey(section, key); });
}

void IniFile::UpdateFile() {
  if (held_) ReplaceFileText(fileName_, held_->Text());
}

IniWriteBatch::IniWriteBatch(IniFile &file) : file_(file), outermost_(!file.held_) {
  if (outermost_) file_.held_ = file_.LoadForWrite();
}

IniWriteBatch::~IniWriteBatch() {
  if (outermost_) file_.held_.reset();
}

} // namespace vq
