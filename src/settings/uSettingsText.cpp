#include "settings/uSettingsText.h"

#include "core/uCodePage.h"

namespace vq {

size_t CharacterCount(std::string_view utf8) {
  size_t count = 0;
  for (size_t pos = 0; pos < utf8.size(); ++count) DecodeUtf8(utf8, pos);
  return count;
}

std::string LeadingCharacters(std::string_view utf8, size_t count) {
  size_t pos = 0;
  for (size_t taken = 0; taken < count && pos < utf8.size(); ++taken) DecodeUtf8(utf8, pos);
  return std::string(utf8.substr(0, pos));
}

} // namespace vq
