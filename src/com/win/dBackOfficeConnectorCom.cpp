#include "com/win/dBackOfficeConnectorCom.h"

#include "com/win/uComError.h"
#include "com/win/uComPtr.h"
#include "com/win/uComServer.h"
#include "com/win/uComText.h"
#include "com/win/uTypeInfoInvoke.h"
#include "core/uError.h"

#include <new>

namespace vq::com {
namespace {

constexpr const wchar_t *ErrorSource = L"VqBackOfficeConnector.BackOfficeConnector";

// The interface's description from the type library inside this DLL, loaded once.
ITypeInfo *ConnectorTypeInfo() {
  static ITypeInfo *const info = [] {
    TComPtr<ITypeLib> library;
    ITypeInfo *found = nullptr;
    if (SUCCEEDED(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, library.Put())))
      library->GetTypeInfoOfGuid(IID_IBackOfficeConnector, &found);
    return found;
  }();
  return info;
}

// Out-parameters must be given; they are cleared first, so that a failure hands out
// nothing that the caller would have to free.
template <typename... Out> void ClearOutputs(Out *...outputs) {
  if (((outputs == nullptr) || ...)) throw Error("A result parameter is missing", E_POINTER);
  ((*outputs = {}), ...);
}

} // namespace

HRESULT TBackOfficeConnectorCom::Create(REFIID iid, void **object) {
  try {
    auto *created = new TBackOfficeConnectorCom();
    const HRESULT result = created->QueryInterface(iid, object);
    created->Release();
    return result;
  } catch (const std::bad_alloc &) {
    return E_OUTOFMEMORY;
  }
}

TBackOfficeConnectorCom::TBackOfficeConnectorCom() : connector_(ModuleDirectory()) { LockModule(); }

TBackOfficeConnectorCom::~TBackOfficeConnectorCom() { UnlockModule(); }

HRESULT TBackOfficeConnectorCom::QueryInterface(REFIID iid, void **object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, IID_IBackOfficeConnector)) {
    *object = static_cast<IBackOfficeConnector *>(this);
  } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
    *object = static_cast<ISupportErrorInfo *>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG TBackOfficeConnectorCom::AddRef() { return ++references_; }

ULONG TBackOfficeConnectorCom::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT TBackOfficeConnectorCom::GetTypeInfoCount(UINT *count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT TBackOfficeConnectorCom::GetTypeInfo(UINT index, LCID, ITypeInfo **info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  if (ConnectorTypeInfo() == nullptr) return TYPE_E_CANTLOADLIBRARY;
  ConnectorTypeInfo()->AddRef();
  *info = ConnectorTypeInfo();
  return S_OK;
}

HRESULT TBackOfficeConnectorCom::GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID,
                                               DISPID *ids) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (ConnectorTypeInfo() == nullptr) return TYPE_E_CANTLOADLIBRARY;
  return DispGetIDsOfNames(ConnectorTypeInfo(), names, count, ids);
}

HRESULT TBackOfficeConnectorCom::Invoke(DISPID member, REFIID iid, LCID, WORD flags,
                                        DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                        UINT *argumentError) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (ConnectorTypeInfo() == nullptr) return TYPE_E_CANTLOADLIBRARY;
  return InvokeAcceptingVariantRefs(ConnectorTypeInfo(), static_cast<IBackOfficeConnector *>(this),
                                    member, flags, params, result, exception, argumentError);
}

HRESULT TBackOfficeConnectorCom::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, IID_IBackOfficeConnector) ? S_OK : S_FALSE;
}

template <typename Body> HRESULT TBackOfficeConnectorCom::Run(Body &&body) {
  // A failure is reported through IErrorInfo; a success leaves none behind.
  SetErrorInfo(0, nullptr);
  return Guarded(IID_IBackOfficeConnector, ErrorSource, body);
}

HRESULT TBackOfficeConnectorCom::RunExport(ExportMethod method, LONG revNum, BSTR xmlPosInfo,
                                           LONG *resultCode, BSTR *resultMessage, BSTR *value) {
  return Run([&] {
    ClearOutputs(resultCode, resultMessage, value);
    int32_t code = 0;
    std::string message, document;
    (connector_.*method)(revNum, BstrToUtf8(xmlPosInfo), code, message, document);
    TBstr messageText(message), documentText(document);
    *resultCode = code;
    *resultMessage = messageText.Detach();
    *value = documentText.Detach();
  });
}

HRESULT TBackOfficeConnectorCom::RunSession(SessionMethod method, LONG *resultCode,
                                            BSTR *resultMessage) {
  return Run([&] {
    ClearOutputs(resultCode, resultMessage);
    int32_t code = 0;
    std::string message;
    (connector_.*method)(code, message);
    *resultMessage = TBstr(message).Detach();
    *resultCode = code;
  });
}

HRESULT TBackOfficeConnectorCom::GetCustomers(LONG revNum, BSTR xmlPosInfo, LONG *resultCode,
                                              BSTR *resultMessage, BSTR *value) {
  return RunExport(&TBackOfficeConnector::GetCustomers, revNum, xmlPosInfo, resultCode,
                   resultMessage, value);
}

HRESULT TBackOfficeConnectorCom::GetItems(LONG revNum, BSTR xmlPosInfo, LONG *resultCode,
                                          BSTR *resultMessage, BSTR *value) {
  return RunExport(&TBackOfficeConnector::GetItems, revNum, xmlPosInfo, resultCode, resultMessage,
                   value);
}

HRESULT TBackOfficeConnectorCom::InsertTransactions(BSTR xmlData, BSTR xmlPosInfo, LONG *resultCode,
                                                    BSTR *resultMessage) {
  return Run([&] {
    ClearOutputs(resultCode, resultMessage);
    int32_t code = 0;
    std::string message;
    connector_.InsertTransactions(BstrToUtf8(xmlData), BstrToUtf8(xmlPosInfo), code, message);
    *resultMessage = TBstr(message).Detach();
    *resultCode = code;
  });
}

HRESULT TBackOfficeConnectorCom::InsertCustomer(BSTR xmlData, BSTR xmlPosInfo, LONG *resultCode,
                                                BSTR *resultMessage, BSTR *customerCode) {
  return Run([&] {
    ClearOutputs(resultCode, resultMessage, customerCode);
    int32_t code = 0;
    std::string message, customer;
    connector_.InsertCustomer(BstrToUtf8(xmlData), BstrToUtf8(xmlPosInfo), code, message, customer);
    TBstr messageText(message), customerText(customer);
    *resultCode = code;
    *resultMessage = messageText.Detach();
    *customerCode = customerText.Detach();
  });
}

HRESULT TBackOfficeConnectorCom::OpenConnection(LONG *resultCode, BSTR *resultMessage) {
  return RunSession(&TBackOfficeConnector::OpenConnection, resultCode, resultMessage);
}

HRESULT TBackOfficeConnectorCom::CloseConnection(LONG *resultCode, BSTR *resultMessage) {
  return RunSession(&TBackOfficeConnector::CloseConnection, resultCode, resultMessage);
}

HRESULT TBackOfficeConnectorCom::BackOfficeSetup(BSTR xmlPosInfo) {
  return Run([&] { connector_.BackOfficeSetup(BstrToUtf8(xmlPosInfo)); });
}

HRESULT TBackOfficeConnectorCom::GenericCall(BSTR xmlCommand, BSTR xmlPosInfo, BSTR *value) {
  return Run([&] {
    ClearOutputs(value);
    *value = TBstr(connector_.GenericCall(BstrToUtf8(xmlCommand), BstrToUtf8(xmlPosInfo))).Detach();
  });
}

} // namespace vq::com
