#include "com/win/uDispatchClient.h"

#include "com/win/uComError.h"
#include "com/win/uComText.h"
#include "com/win/uComValue.h"
#include "core/uError.h"

#include <algorithm>

namespace vq::com {
namespace {

constexpr WORD GetFlags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

// VARIANTs of a call, cleared at the end.
struct TArguments {
  std::vector<VARIANT> Items;

  explicit TArguments(const std::vector<Value> &values) {
    Items.reserve(values.size());
    try {
      for (const Value &value : values) {
        VARIANT &item = Items.emplace_back();
        VariantInit(&item);
        ValueToVariant(value, item);
      }
    } catch (...) {
      Clear();
      throw;
    }
  }
  TArguments(const TArguments &) = delete;
  TArguments &operator=(const TArguments &) = delete;
  ~TArguments() { Clear(); }

  void Clear() {
    for (VARIANT &item : Items) VariantClear(&item);
  }
};

} // namespace

DISPID TDispatchClient::Id(const std::wstring &name) {
  if (const auto found = ids_.find(name); found != ids_.end()) return found->second;
  DISPID id = DISPID_UNKNOWN;
  auto *names = const_cast<LPOLESTR>(name.c_str());
  const HRESULT result = object_->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(result)) throw Error(WideToUtf8(name) + ": " + HResultText(result), result);
  ids_.emplace(name, id);
  return id;
}

void TDispatchClient::Invoke(const std::wstring &name, WORD flags, std::vector<VARIANT> &arguments,
                             VARIANT *result) {
  std::reverse(arguments.begin(), arguments.end());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = arguments.empty() ? nullptr : arguments.data();
  params.cArgs = static_cast<UINT>(arguments.size());
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  UINT argumentError = 0;
  const HRESULT invoked = object_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                          result, &exception, &argumentError);
  std::reverse(arguments.begin(), arguments.end());
  if (FAILED(invoked)) RaiseInvokeFailure(invoked, exception, WideToUtf8(name));
}

Value TDispatchClient::Get(ErpMember member, const std::vector<Value> &args) {
  TArguments arguments(args);
  TVariant result;
  Invoke(ErpMemberName(member), GetFlags, arguments.Items, &result);
  return VariantToValue(result);
}

TComPtr<IDispatch> TDispatchClient::GetObject(ErpMember member, const std::vector<Value> &args) {
  TArguments arguments(args);
  TVariant result;
  Invoke(ErpMemberName(member), GetFlags, arguments.Items, &result);
  TComPtr<IDispatch> object;
  if ((result.vt == VT_DISPATCH || result.vt == VT_UNKNOWN) && result.punkVal != nullptr)
    result.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(object.Put()));
  if (!object)
    throw Error(WideToUtf8(ErpMemberName(member)) + " gave no object", DISP_E_TYPEMISMATCH);
  return object;
}

void TDispatchClient::Put(ErpMember member, const Value &value) {
  TArguments arguments({value});
  Invoke(ErpMemberName(member), DISPATCH_PROPERTYPUT, arguments.Items, nullptr);
}

void TDispatchClient::CallWithStatus(ErpMember member, int32_t &status) {
  LONG held = status;
  std::vector<VARIANT> arguments(1);
  arguments[0].vt = VT_BYREF | VT_I4;
  arguments[0].plVal = &held;
  TVariant result;
  Invoke(ErpMemberName(member), GetFlags, arguments, &result);
  status = held;
}

Value TDispatchClient::CallByReference(const std::wstring &name, std::vector<Value> &args) {
  TArguments held(args);
  std::vector<VARIANT> arguments(held.Items.size());
  for (size_t i = 0; i < arguments.size(); ++i) {
    arguments[i].vt = VT_BYREF | VT_VARIANT;
    arguments[i].pvarVal = &held.Items[i];
  }
  TVariant result;
  Invoke(name, GetFlags, arguments, &result);
  for (size_t i = 0; i < args.size(); ++i) args[i] = VariantToValue(held.Items[i]);
  return VariantToValue(result);
}

} // namespace vq::com
