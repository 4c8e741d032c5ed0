#include "com/win/uComRegistration.h"

#include "com/win/uComPtr.h"

#include <oleauto.h>
#include <olectl.h>

namespace vq::com {
namespace {

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// Sets the value `name` (nullptr: the default value) of HKCR\path, creating the key.
bool SetValue(const std::wstring &path, const wchar_t *name, const std::wstring &value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  const LSTATUS status =
      RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()), bytes);
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool DeleteTree(const std::wstring &path) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    return true;
  }
  return false;
}

TComPtr<ITypeLib> LoadOwnTypeLibrary(const std::wstring &modulePath, REGKIND kind) {
  TComPtr<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(modulePath.c_str(), kind, library.Put()))) return {};
  return library;
}

} // namespace

HRESULT RegisterServer(const ComServerClass &served, const std::wstring &modulePath) {
  const std::wstring classKey = L"CLSID\\" + GuidText(served.ClassId);
  bool ok = SetValue(classKey, nullptr, served.Description) &&
            SetValue(classKey + L"\\InprocServer32", nullptr, modulePath) &&
            SetValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  if (ok && served.ProgId != nullptr) {
    ok = SetValue(classKey + L"\\ProgID", nullptr, served.ProgId) &&
         SetValue(served.ProgId, nullptr, served.Description) &&
         SetValue(std::wstring(served.ProgId) + L"\\CLSID", nullptr, GuidText(served.ClassId));
  }
  if (!ok) {
    UnregisterServer(served, modulePath);
    return SELFREG_E_CLASS;
  }
  if (!served.HasTypeLibrary) return S_OK;

  TComPtr<ITypeLib> library = LoadOwnTypeLibrary(modulePath, REGKIND_REGISTER);
  TLIBATTR *attributes = nullptr;
  if (!library || FAILED(library->GetLibAttr(&attributes))) {
    UnregisterServer(served, modulePath);
    return SELFREG_E_TYPELIB;
  }
  const std::wstring version =
      std::to_wstring(attributes->wMajorVerNum) + L"." + std::to_wstring(attributes->wMinorVerNum);
  ok = SetValue(classKey + L"\\TypeLib", nullptr, GuidText(attributes->guid)) &&
       SetValue(classKey + L"\\Version", nullptr, version);
  library->ReleaseTLibAttr(attributes);
  return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterServer(const ComServerClass &served, const std::wstring &modulePath) {
  bool ok = DeleteTree(L"CLSID\\" + GuidText(served.ClassId));
  if (served.ProgId != nullptr) ok = DeleteTree(served.ProgId) && ok;
  if (!served.HasTypeLibrary) return ok ? S_OK : SELFREG_E_CLASS;

  TComPtr<ITypeLib> library = LoadOwnTypeLibrary(modulePath, REGKIND_NONE);
  TLIBATTR *attributes = nullptr;
  if (!library || FAILED(library->GetLibAttr(&attributes))) return SELFREG_E_TYPELIB;
  const HRESULT removed =
      UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                        attributes->lcid, attributes->syskind);
  library->ReleaseTLibAttr(attributes);
  // A library that is not registered any more is what was asked for.
  if (FAILED(removed) && removed != TYPE_E_REGISTRYACCESS && removed != TYPE_E_CANTLOADLIBRARY)
    return SELFREG_E_TYPELIB;
  return ok ? S_OK : SELFREG_E_CLASS;
}

} // namespace vq::com
