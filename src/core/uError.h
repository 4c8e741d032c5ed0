#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vq {

// The one failure type of the connector. Its message is what a call frame reports
// as ResultMessage; the optional HRESULT lets the COM edge return the failure's own
// code instead of E_UNEXPECTED.
class Error : public std::runtime_error {
public:
  explicit Error(const std::string& message, int32_t hresult = 0)
      : std::runtime_error(message), hresult_(hresult) {}

  int32_t HResult() const { return hresult_; }

private:
  int32_t hresult_;
};

// HRESULTs that portable code raises where COM would raise them.
inline constexpr int32_t ClassNotRegistered = static_cast<int32_t>(0x80040154);
inline constexpr int32_t UnexpectedFailure = static_cast<int32_t>(0x8000FFFF);

} // namespace vq
