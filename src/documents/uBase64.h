#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vq {

// Base64 with the standard alphabet, "=" padding and no line breaks.
std::string Base64Encode(std::span<const uint8_t> bytes);

} // namespace vq
