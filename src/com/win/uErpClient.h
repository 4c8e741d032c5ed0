#pragma once

#include "session/uServerInterface.h"

#include <memory>

namespace vq::com {

// The connection object of the installed ERP component (or of the sandbox DLL registered
// in its place), created with CoCreateInstance and driven late-bound through IDispatch by
// the member names of uErpMembers. Data packets cross as byte arrays; record sets are the
// connector's own. Fails with the HRESULT of the creation when the class is not registered.
std::unique_ptr<IKvrConnection> MakeErpConnection();

} // namespace vq::com
