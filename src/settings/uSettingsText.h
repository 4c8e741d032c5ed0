#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vq {

// Characters of UTF-8 text, as the settings file's single-byte code page counts them.
size_t CharacterCount(std::string_view utf8);
std::string LeadingCharacters(std::string_view utf8, size_t count);

} // namespace vq
