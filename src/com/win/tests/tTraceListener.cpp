// A trace listener: the window of class "ZAVODIDI" titled "DORAREV". It runs the
// VBScript client tTraced.vbs in another process and checks the WM_COPYDATA records that
// arrive: identifier 1, 260 bytes, an int32 value, then the label as a short string in
// the ANSI code page, cut to 255 characters.

#include "uWineTest.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace vq::wine;

namespace {

struct Record {
  ULONG_PTR Identifier;
  std::string Bytes;
};

std::vector<Record> records;

LRESULT CALLBACK Listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
    records.push_back(
        {data->dwData, std::string(static_cast<const char *>(data->lpData), data->cbData)});
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int32_t ValueOf(const Record &record) {
  int32_t value = 0;
  std::memcpy(&value, record.Bytes.data(), sizeof value);
  return value;
}

std::string LabelOf(const Record &record) {
  const auto length = static_cast<unsigned char>(record.Bytes[4]);
  return record.Bytes.substr(5, length);
}

bool Has(const char *label, int32_t value) {
  for (const Record &record : records)
    if (record.Bytes.size() == 260 && LabelOf(record) == label && ValueOf(record) == value)
      return true;
  return false;
}

// Runs the client and serves the window until it has finished.
bool RunClient() {
  std::wstring command = L"cscript.exe //nologo \"" + ProgramDirectory() + L"tTraced.vbs\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  for (;;) {
    const DWORD woken =
        MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) break;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return status == 0;
}

} // namespace

int wmain() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Listen;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"ZAVODIDI";
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowW(L"ZAVODIDI", L"DORAREV", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                    nullptr, windowClass.hInstance, nullptr);
  Check(window != nullptr, "the listener window exists");
  Check(RunClient(), "the traced client ran");

  Check(!records.empty(), "trace records arrived");
  bool layout = !records.empty();
  for (const Record &record : records)
    layout = layout && record.Identifier == 1 && record.Bytes.size() == 260;
  Check(layout, "every record: identifier 1, 260 bytes");

  // The first record carries the POS info, Greek and longer than a label may be.
  const std::string expected = ReadBytes(L"traced-label.bin");
  Check(expected.size() == 255, "the expected label is 255 bytes");
  Check(!records.empty() && ValueOf(records[0]) == 1 &&
            static_cast<unsigned char>(records[0].Bytes[4]) == 255 &&
            LabelOf(records[0]) == expected,
        "GetCustomers XmlPosInfo=...: value 1, the label cut to 255 in the ANSI code page");
  Check(Has("GetCustomers", 2) && Has("GetCustomers", 5) && Has("GetCustomers", 8),
        "GetCustomers steps");
  for (int32_t step = 1; step <= 4; ++step) Check(Has("DoInitialize", step), "DoInitialize steps");
  for (int32_t step = 1; step <= 5; ++step) Check(Has("DoFinalize", step), "DoFinalize steps");
  Check(Has("Connect", 1) && Has("Connect", 4), "Connect steps");
  DestroyWindow(window);
  return Summary();
}
