#include "core/uTrace.h"

#ifdef _WIN32
#include <windows.h>

#include <atomic>

namespace vq {
namespace {
// Shared by every object of the process, whatever apartment thread it runs on; once found
// it is kept.
std::atomic<HWND> listener{nullptr};
} // namespace

void SendTraceToWindow(const TraceRecord &record) {
  HWND window = listener.load();
  if (window == nullptr) {
    window = FindWindowA("ZAVODIDI", "DORAREV");
    if (window == nullptr) return;
    listener.store(window);
  }
  COPYDATASTRUCT data{};
  data.dwData = 1;
  data.cbData = static_cast<DWORD>(record.size());
  data.lpData = const_cast<uint8_t *>(record.data());
  SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

} // namespace vq
#else
namespace vq {
void SendTraceToWindow(const TraceRecord &) {}
} // namespace vq
#endif
