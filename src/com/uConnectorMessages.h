#pragma once

#include <string>

namespace vq {

// Texts of the call frame.

// A method whose body this build does not carry.
std::string MethodNotAvailableMessage(const std::string& method);

// An import call made while no session is held (OpenConnection was not called, or a
// later session-owning call released it).
extern const char* const NoSessionMessage;

} // namespace vq
