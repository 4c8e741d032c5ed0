#pragma once

#include <windows.h>

namespace vq::com {

// The sandbox back office as the ERP component: a new connection object (IKvrConnection
// through IDispatch) whose work areas are in this DLL's directory.
HRESULT CreateSandboxConnection(REFIID iid, void **object);

} // namespace vq::com
