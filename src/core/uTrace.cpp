#include "core/uTrace.h"

#include "core/uCodePage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vq {
namespace {

// VQCONNECTOR_TRACE names a file that receives one "label<TAB>value" line per record,
// or "-" for standard error. The line carries the label as sent (cut, in the ANSI page).
void SendTraceToFile(const TraceRecord& record) {
  const char* target = std::getenv("VQCONNECTOR_TRACE");
  if (target == nullptr || *target == '\0') return;
  int32_t value = 0;
  for (int i = 3; i >= 0; --i) value = static_cast<int32_t>((static_cast<uint32_t>(value) << 8) | record[i]);
  const std::string label =
      AnsiToUtf8(std::string_view(reinterpret_cast<const char*>(&record[5]), record[4]));
  const bool toStderr = std::strcmp(target, "-") == 0;
  FILE* file = toStderr ? stderr : std::fopen(target, "ab");
  if (file == nullptr) return;
  std::fprintf(file, "%s\t%d\n", label.c_str(), static_cast<int>(value));
  if (!toStderr) std::fclose(file);
}

} // namespace

TraceRecord BuildTraceRecord(std::string_view label, int32_t value) {
  TraceRecord record{};
  const auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) record[i] = static_cast<uint8_t>(bits >> (8 * i));
  std::string ansi = Utf8ToAnsi(label);
  if (ansi.size() > 255) ansi.resize(255);
  record[4] = static_cast<uint8_t>(ansi.size());
  std::memcpy(&record[5], ansi.data(), ansi.size());
  return record;
}

void Trace(std::string_view label, int32_t value) {
  try {
    const TraceRecord record = BuildTraceRecord(label, value);
    SendTraceToWindow(record);
    SendTraceToFile(record);
  } catch (...) {
    // A diagnostic must never fail the call it describes.
  }
}

} // namespace vq
