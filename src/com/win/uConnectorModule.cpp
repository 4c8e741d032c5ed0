// What VqBackOfficeConnector.ocx serves: the class BackOfficeConnector, whose sessions
// reach the back office through the ERP component's connection class.

#include "VqBackOfficeConnector.h"
#include "com/win/dBackOfficeConnectorCom.h"
#include "com/win/uComServer.h"
#include "com/win/uErpClient.h"
#include "session/uServerFactory.h"

namespace vq::com {
namespace {

// The maker's key under the current user exists once the library is loaded; nothing is
// stored in it.
void EnsureUserKey() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Marovant", 0, nullptr, 0, KEY_READ, nullptr,
                      &key, nullptr) == ERROR_SUCCESS)
    RegCloseKey(key);
}

void OnLoad() {
  EnsureUserKey();
  SetConnectionFactory([](const std::string &) { return MakeErpConnection(); });
}

} // namespace

const ComServerClass &ServedClass() {
  static const ComServerClass served{CLSID_BackOfficeConnector,
                                     L"BackOfficeConnector Object",
                                     L"VqBackOfficeConnector.BackOfficeConnector",
                                     true,
                                     &TBackOfficeConnectorCom::Create,
                                     &OnLoad};
  return served;
}

} // namespace vq::com
