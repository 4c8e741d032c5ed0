#pragma once

#include <windows.h>

#include <string>

namespace vq::com {

// The HRESULT of the failure being handled (inside a catch block): the code a vq::Error
// carries, E_OUTOFMEMORY for exhausted memory, E_UNEXPECTED otherwise. The failure's
// message becomes the thread's error information (IErrorInfo) for `interfaceId`.
HRESULT ReportCurrentFailure(REFGUID interfaceId, const wchar_t *source);

// Runs `body` and turns any failure that escapes it into a failed HRESULT.
template <typename Body> HRESULT Guarded(REFGUID interfaceId, const wchar_t *source, Body &&body) {
  try {
    body();
    return S_OK;
  } catch (...) {
    return ReportCurrentFailure(interfaceId, source);
  }
}

// The system's text for an HRESULT, or its number when the system has none.
std::string HResultText(HRESULT result);

// The exception information of a failed IDispatch::Invoke as vq::Error: its description,
// else the system text of the failure, both carrying the failure's code.
[[noreturn]] void RaiseInvokeFailure(HRESULT result, EXCEPINFO &exception,
                                     const std::string &member);

// Fills `exception` from the failure being handled (inside a catch block), for servers that
// report through IDispatch::Invoke; returns DISP_E_EXCEPTION.
HRESULT FillCurrentException(EXCEPINFO *exception, const wchar_t *source);

} // namespace vq::com
