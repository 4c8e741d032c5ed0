#pragma once

#include "VqBackOfficeConnector.h"
#include "com/dBackOfficeConnector.h"

#include <atomic>

namespace vq::com {

// The COM class BackOfficeConnector: IBackOfficeConnector (dual, IDispatch answered from
// the type library) and ISupportErrorInfo over one portable connector object. Texts are
// converted between BSTR and UTF-8 here and nowhere else.
class TBackOfficeConnectorCom final : public IBackOfficeConnector, public ISupportErrorInfo {
public:
  // The class factory's creation: a new object answering `iid`.
  static HRESULT Create(REFIID iid, void **object);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID locale,
                                          DISPID *ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                   UINT *argumentError) override;

  HRESULT STDMETHODCALLTYPE GetCustomers(LONG revNum, BSTR xmlPosInfo, LONG *resultCode,
                                         BSTR *resultMessage, BSTR *value) override;
  HRESULT STDMETHODCALLTYPE GetItems(LONG revNum, BSTR xmlPosInfo, LONG *resultCode,
                                     BSTR *resultMessage, BSTR *value) override;
  HRESULT STDMETHODCALLTYPE InsertTransactions(BSTR xmlData, BSTR xmlPosInfo, LONG *resultCode,
                                               BSTR *resultMessage) override;
  HRESULT STDMETHODCALLTYPE BackOfficeSetup(BSTR xmlPosInfo) override;
  HRESULT STDMETHODCALLTYPE OpenConnection(LONG *resultCode, BSTR *resultMessage) override;
  HRESULT STDMETHODCALLTYPE CloseConnection(LONG *resultCode, BSTR *resultMessage) override;
  HRESULT STDMETHODCALLTYPE InsertCustomer(BSTR xmlData, BSTR xmlPosInfo, LONG *resultCode,
                                           BSTR *resultMessage, BSTR *customerCode) override;
  HRESULT STDMETHODCALLTYPE GenericCall(BSTR xmlCommand, BSTR xmlPosInfo, BSTR *value) override;

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

private:
  using ExportMethod = void (TBackOfficeConnector::*)(int32_t, const std::string &, int32_t &,
                                                      std::string &, std::string &);
  using SessionMethod = void (TBackOfficeConnector::*)(int32_t &, std::string &);

  TBackOfficeConnectorCom();
  ~TBackOfficeConnectorCom();

  template <typename Body> HRESULT Run(Body &&body);
  HRESULT RunExport(ExportMethod method, LONG revNum, BSTR xmlPosInfo, LONG *resultCode,
                    BSTR *resultMessage, BSTR *value);
  HRESULT RunSession(SessionMethod method, LONG *resultCode, BSTR *resultMessage);

  std::atomic<ULONG> references_{1};
  TBackOfficeConnector connector_;
};

} // namespace vq::com
