#pragma once

#include "com/win/uComPtr.h"
#include "com/win/uErpMembers.h"
#include "core/uValue.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace vq::com {

// Late-bound calls on an IDispatch object by member name, with Values for arguments and
// results. A failed call raises vq::Error: the server's own description and code when it
// gives one.
class TDispatchClient {
public:
  explicit TDispatchClient(TComPtr<IDispatch> object) : object_(std::move(object)) {}

  // A method call or a property read.
  Value Get(ErpMember member, const std::vector<Value> &args = {});
  // The same, for a member that returns an object.
  TComPtr<IDispatch> GetObject(ErpMember member, const std::vector<Value> &args = {});
  void Put(ErpMember member, const Value &value);
  // A member with one integer passed by reference, as a `long*` declares it.
  void CallWithStatus(ErpMember member, int32_t &status);
  // Any member, every argument passed by reference (VARIANT); changes come back in `args`.
  Value CallByReference(const std::wstring &name, std::vector<Value> &args);

private:
  DISPID Id(const std::wstring &name);
  // `arguments` in call order; they are reversed as IDispatch wants them.
  void Invoke(const std::wstring &name, WORD flags, std::vector<VARIANT> &arguments,
              VARIANT *result);

  TComPtr<IDispatch> object_;
  std::map<std::wstring, DISPID> ids_;
};

} // namespace vq::com
