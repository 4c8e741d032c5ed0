#include "com/win/uComError.h"

#include "com/win/uComPtr.h"
#include "com/win/uComText.h"
#include "core/uError.h"

#include <cstdio>
#include <new>

namespace vq::com {
namespace {

struct Failure {
  HRESULT Code;
  std::string Message;
};

Failure CurrentFailure() {
  try {
    throw;
  } catch (const Error &error) {
    return {error.HResult() != 0 && FAILED(error.HResult()) ? error.HResult() : E_UNEXPECTED,
            error.what()};
  } catch (const std::bad_alloc &) {
    return {E_OUTOFMEMORY, HResultText(E_OUTOFMEMORY)};
  } catch (const std::exception &error) {
    return {E_UNEXPECTED, error.what()};
  } catch (...) {
    return {E_UNEXPECTED, HResultText(E_UNEXPECTED)};
  }
}

// A BSTR for error information; none when memory is exhausted.
BSTR ErrorText(const std::string &text) noexcept {
  try {
    return TBstr(text).Detach();
  } catch (...) {
    return nullptr;
  }
}

} // namespace

HRESULT ReportCurrentFailure(REFGUID interfaceId, const wchar_t *source) {
  const Failure failure = CurrentFailure();
  TComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(create.Put()))) {
    BSTR description = ErrorText(failure.Message);
    create->SetGUID(interfaceId);
    create->SetSource(const_cast<LPOLESTR>(source));
    create->SetDescription(description);
    SysFreeString(description);
    TComPtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void **>(info.Put()))))
      SetErrorInfo(0, info.Get());
  }
  return failure.Code;
}

HRESULT FillCurrentException(EXCEPINFO *exception, const wchar_t *source) {
  const Failure failure = CurrentFailure();
  if (exception != nullptr) {
    *exception = EXCEPINFO{};
    exception->bstrSource = SysAllocString(source);
    exception->bstrDescription = ErrorText(failure.Message);
    exception->scode = failure.Code;
  }
  return DISP_E_EXCEPTION;
}

std::string HResultText(HRESULT result) {
  wchar_t *buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
  std::wstring text(buffer != nullptr ? buffer : L"", length);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  if (!text.empty()) return WideToUtf8(text);
  char number[32];
  std::snprintf(number, sizeof number, "COM failure 0x%08lX", static_cast<unsigned long>(result));
  return number;
}

void RaiseInvokeFailure(HRESULT result, EXCEPINFO &exception, const std::string &member) {
  if (result != DISP_E_EXCEPTION) throw Error(member + ": " + HResultText(result), result);
  if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
  const HRESULT code = exception.scode != 0 ? exception.scode : E_FAIL;
  std::string message = BstrToUtf8(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  exception = EXCEPINFO{};
  if (message.empty()) message = member + ": " + HResultText(code);
  throw Error(message, code);
}

} // namespace vq::com
