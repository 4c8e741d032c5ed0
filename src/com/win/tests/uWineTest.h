#pragma once

// What the test clients under Wine share: checks that count, and the expected texts the
// test script leaves beside them (UTF-16 with a byte-order mark, as the VBScript client
// reads them too).

#include <windows.h>

#include <cstdio>
#include <string>

namespace vq::wine {

inline int passed = 0;
inline int failed = 0;

inline void Check(bool ok, const char *what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAIL %s\n", what);
  }
}

// The directory of the running program, where the expected texts are.
inline std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring text = path;
  return text.substr(0, text.find_last_of(L"\\/") + 1);
}

// Bytes of a file beside the program; empty when it does not exist.
inline std::string ReadBytes(const std::wstring &name) {
  std::string bytes;
  FILE *file = _wfopen((ProgramDirectory() + name).c_str(), L"rb");
  if (file == nullptr) return bytes;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  std::fclose(file);
  return bytes;
}

inline std::wstring ReadText(const std::wstring &name) {
  const std::string bytes = ReadBytes(name);
  const size_t start = bytes.size() >= 2 ? 2 : bytes.size();
  return std::wstring(reinterpret_cast<const wchar_t *>(bytes.data() + start),
                      (bytes.size() - start) / sizeof(wchar_t));
}

inline std::wstring Text(BSTR text) {
  return text == nullptr ? L"" : std::wstring(text, SysStringLen(text));
}

// "N passed, N failed", the line the test script looks for; the exit status says the same.
inline int Summary() {
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}

} // namespace vq::wine
