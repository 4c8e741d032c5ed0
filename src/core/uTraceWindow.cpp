#include "core/uTrace.h"

#ifdef _WIN32
#include <windows.h>

namespace vq {
namespace {
// Shared by every object of the process; once found it is kept.
HWND listener = nullptr;
} // namespace

void SendTraceToWindow(const TraceRecord& record) {
  if (listener == nullptr) listener = FindWindowA("ZAVODIDI", "DORAREV");
  if (listener == nullptr) return;
  COPYDATASTRUCT data{};
  data.dwData = 1;
  data.cbData = static_cast<DWORD>(record.size());
  data.lpData = const_cast<uint8_t*>(record.data());
  SendMessageA(listener, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

} // namespace vq
#else
namespace vq {
void SendTraceToWindow(const TraceRecord&) {}
} // namespace vq
#endif
