#pragma once

#include "com/win/uErpMembers.h"
#include "core/uValue.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

namespace vq::com {

// An IDispatch object without a type library that answers the member names of one kind
// of ERP object (uErpMembers), with Values for arguments and results. Failures reach the
// caller as exception information (DISP_E_EXCEPTION) with the failure's message and code.
class TDispatchServer : public IDispatch {
public:
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

protected:
  explicit TDispatchServer(ErpObject kind);
  virtual ~TDispatchServer();

  // A further interface the object answers besides IUnknown and IDispatch.
  virtual bool Answers(REFIID) const { return false; }
  // A call of `member` (`put`: a property assignment) with `args` in call order; what is
  // changed in `args` goes back to arguments passed by reference. `result` is empty.
  virtual void Call(ErpMember member, bool put, std::vector<Value> &args, VARIANT &result) = 0;
  // Objects that take members outside the table answer them here.
  virtual bool TakesOtherMembers() const { return false; }
  virtual Value CallOther(const std::string &name, std::vector<Value> &args);

  // The argument at `index`; a missing one fails the call.
  static const Value &Argument(const std::vector<Value> &args, size_t index);

private:
  ErpObject kind_;
  std::atomic<ULONG> references_{1};
  std::vector<std::wstring> otherMembers_; // DISPIDs from OtherMemberBase on
};

} // namespace vq::com
