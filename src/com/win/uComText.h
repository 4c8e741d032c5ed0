#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vq::com {

// COM strings are UTF-16, the connector's texts UTF-8; these are the only crossings.
// A null BSTR is the empty text.
std::string BstrToUtf8(BSTR text);
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

// A BSTR owned until it is handed out; allocation failure raises std::bad_alloc.
class TBstr {
public:
  TBstr() = default;
  explicit TBstr(std::string_view utf8);
  TBstr(const TBstr &) = delete;
  TBstr &operator=(const TBstr &) = delete;
  ~TBstr() { SysFreeString(text_); }

  BSTR Get() const { return text_; }
  BSTR Detach() {
    BSTR text = text_;
    text_ = nullptr;
    return text;
  }

private:
  BSTR text_ = nullptr;
};

} // namespace vq::com
