#include "com/win/uComText.h"

#include "core/uCodePage.h"

#include <new>

namespace vq::com {

std::string WideToUtf8(std::wstring_view text) {
  return Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t *>(text.data()), text.size()));
}

std::string BstrToUtf8(BSTR text) {
  return text == nullptr ? std::string() : WideToUtf8(std::wstring_view(text, SysStringLen(text)));
}

std::wstring Utf8ToWide(std::string_view text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

TBstr::TBstr(std::string_view utf8) {
  const std::wstring wide = Utf8ToWide(utf8);
  text_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (text_ == nullptr) throw std::bad_alloc();
}

} // namespace vq::com
