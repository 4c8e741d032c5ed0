#pragma once

#include <cstdint>
#include <string>

namespace vq {

// The session's own texts, as the back office's users know them.

// The text for a login result code of the application server.
std::string LoginMessage(int32_t code);

// Recorded when the server object reports "not connected" without a failure of its own.
extern const char *const NotConnectedMessage;

} // namespace vq
