#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vq {

inline constexpr size_t TraceRecordSize = 260;
using TraceRecord = std::array<uint8_t, TraceRecordSize>;

// int32 value (little endian), then the label as a short string: one length byte and
// up to 255 bytes in the ANSI code page. Bytes after the label are zero.
TraceRecord BuildTraceRecord(std::string_view label, int32_t value);

// Sends a record to whoever listens; costs a lookup when nobody does and never fails.
void Trace(std::string_view label, int32_t value);

// Platform sink: the listening window on Windows; nothing elsewhere.
void SendTraceToWindow(const TraceRecord& record);

} // namespace vq
