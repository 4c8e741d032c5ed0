#include "com/win/uDispatchServer.h"

#include "com/win/uComError.h"
#include "com/win/uComServer.h"
#include "com/win/uComText.h"
#include "com/win/uComValue.h"
#include "core/uError.h"

#include <windows.h>

namespace vq::com {
namespace {

constexpr const wchar_t *ErrorSource = L"VqBackOfficeSandbox";
constexpr DISPID OtherMemberBase = 1000;

DISPID TableId(ErpMember member) { return static_cast<DISPID>(member) + 1; }

// Gives a changed argument back to the caller's variable; VARIANT and integer references
// are what late-bound callers pass.
void WriteBack(const Value &value, VARIANT &argument) {
  if (argument.vt == (VT_BYREF | VT_VARIANT) && argument.pvarVal != nullptr) {
    VariantClear(argument.pvarVal);
    ValueToVariant(value, *argument.pvarVal);
  } else if (argument.vt == (VT_BYREF | VT_I4) && argument.plVal != nullptr) {
    *argument.plVal = value.AsInt32();
  }
}

} // namespace

TDispatchServer::TDispatchServer(ErpObject kind) : kind_(kind) { LockModule(); }

TDispatchServer::~TDispatchServer() { UnlockModule(); }

HRESULT TDispatchServer::QueryInterface(REFIID iid, void **object) {
  if (object == nullptr) return E_POINTER;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !Answers(iid)) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IDispatch *>(this);
  AddRef();
  return S_OK;
}

ULONG TDispatchServer::AddRef() { return ++references_; }

ULONG TDispatchServer::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT TDispatchServer::GetTypeInfoCount(UINT *count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT TDispatchServer::GetTypeInfo(UINT, LCID, ITypeInfo **info) {
  if (info != nullptr) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT TDispatchServer::GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID, DISPID *ids) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (names == nullptr || ids == nullptr || count == 0) return E_POINTER;
  // Only the member is named; named arguments are not taken.
  for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (const auto member = FindErpMember(kind_, names[0])) {
    ids[0] = TableId(*member);
  } else if (TakesOtherMembers()) {
    size_t index = 0;
    while (index < otherMembers_.size() &&
           CompareStringOrdinal(otherMembers_[index].c_str(), -1, names[0], -1, TRUE) != CSTR_EQUAL)
      ++index;
    try {
      if (index == otherMembers_.size()) otherMembers_.emplace_back(names[0]);
    } catch (const std::bad_alloc &) {
      return E_OUTOFMEMORY;
    }
    ids[0] = OtherMemberBase + static_cast<DISPID>(index);
  } else {
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT TDispatchServer::Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS *params,
                                VARIANT *result, EXCEPINFO *exception, UINT *argumentError) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (params == nullptr) return E_POINTER;
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  const bool putValueOnly = params->cNamedArgs == 1 && params->rgdispidNamedArgs != nullptr &&
                            params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
  if (params->cNamedArgs > 0 && !(put && putValueOnly)) return DISP_E_NONAMEDARGS;

  const auto lastTableId = TableId(ErpMember::LastWarnings);
  const bool inTable = member >= TableId(ErpMember::Connected) && member <= lastTableId;
  const bool other = member >= OtherMemberBase &&
                     static_cast<size_t>(member - OtherMemberBase) < otherMembers_.size();
  if (!inTable && !other) return DISP_E_MEMBERNOTFOUND;

  std::vector<Value> args;
  for (UINT i = params->cArgs; i-- > 0;) {
    try {
      args.push_back(VariantToValue(params->rgvarg[i]));
    } catch (...) {
      if (argumentError != nullptr) *argumentError = i;
      return DISP_E_TYPEMISMATCH;
    }
  }

  try {
    TVariant answer;
    if (inTable) {
      Call(static_cast<ErpMember>(member - 1), put, args, answer);
    } else {
      const std::string name = WideToUtf8(otherMembers_[member - OtherMemberBase]);
      ValueToVariant(CallOther(name, args), answer);
    }
    for (UINT i = 0; i < params->cArgs; ++i)
      WriteBack(args[params->cArgs - 1 - i], params->rgvarg[i]);
    if (result != nullptr) {
      *result = answer;
      answer.vt = VT_EMPTY;
    }
    return S_OK;
  } catch (...) {
    return FillCurrentException(exception, ErrorSource);
  }
}

Value TDispatchServer::CallOther(const std::string &name, std::vector<Value> &) {
  throw Error("Unknown member " + name, DISP_E_MEMBERNOTFOUND);
}

const Value &TDispatchServer::Argument(const std::vector<Value> &args, size_t index) {
  if (index >= args.size()) throw Error("An argument is missing", DISP_E_BADPARAMCOUNT);
  return args[index];
}

} // namespace vq::com
