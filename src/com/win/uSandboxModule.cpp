// What VqBackOfficeSandbox.dll serves: the sandbox back office under the ERP component's
// connection class, so that the connector runs its production path without an ERP.

#include "com/win/dSandboxServerCom.h"
#include "com/win/uComServer.h"
#include "com/win/uErpMembers.h"

namespace vq::com {

const ComServerClass &ServedClass() {
  static const ComServerClass served{CLSID_KvrConnection,
                                     L"VqBackOfficeSandbox connection",
                                     nullptr,
                                     false,
                                     &CreateSandboxConnection,
                                     nullptr};
  return served;
}

} // namespace vq::com
