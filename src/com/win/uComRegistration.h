#pragma once

#include "com/win/uComServer.h"

#include <string>

namespace vq::com {

// The usual in-process server entries under HKEY_CLASSES_ROOT: the CLSID with its
// server path, threading model Apartment, ProgID and type library, the ProgID, and the
// type library itself. Unregistering removes them all; what is absent already is fine.
HRESULT RegisterServer(const ComServerClass &served, const std::wstring &modulePath);
HRESULT UnregisterServer(const ComServerClass &served, const std::wstring &modulePath);

} // namespace vq::com
