#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

namespace vq::com {

// The ERP's connection class and its IKvrConnection interface.
extern const CLSID CLSID_KvrConnection;
extern const IID IID_IKvrConnection;

// The ERP component's objects that the connector drives late-bound, by member name.
enum class ErpObject { Connection, AppServer, BusinessObject };

enum class ErpMember {
  // Connection object (IKvrConnection)
  Connected,
  ServerGuid,
  ServerName,
  ClientIdentity,
  AppServer,
  // Application-server object
  WorkAreaConnection,
  ApplicationLogin,
  Call,
  StartTransaction,
  Commit,
  Rollback,
  CreateBO,
  // Business object
  PrepareNewInstance,
  LoadInstance,
  GetInstance,
  PutInstance,
  InsertInstance,
  ModifyInstance,
  GetProperty,
  SetProperty,
  LastErrors,
  LastWarnings,
};

// The name by which `member` is called: the one place to match an installed ERP.
const wchar_t *ErpMemberName(ErpMember member);

// The member of `object` that `name` calls (names ignore case, as in Automation).
std::optional<ErpMember> FindErpMember(ErpObject object, std::wstring_view name);

} // namespace vq::com
