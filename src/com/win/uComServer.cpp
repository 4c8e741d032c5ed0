// The four exports of an in-process server and its class factory, shared by the DLLs;
// what each DLL serves comes from its ServedClass().

#include "com/win/uComServer.h"

#include "com/win/uComRegistration.h"
#include "com/win/uComText.h"

#include <atomic>

namespace vq::com {
namespace {

HMODULE thisModule = nullptr;
std::atomic<long> locks{0};

// Multi-instance: every CreateInstance makes a new object. It lives as long as the DLL.
class TClassFactory final : public IClassFactory {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
    if (object == nullptr) return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory *>(this);
    AddRef();
    return S_OK;
  }
  // References to the factory keep the DLL loaded.
  ULONG STDMETHODCALLTYPE AddRef() override {
    LockModule();
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    UnlockModule();
    return 1;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID iid, void **object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return ServedClass().CreateInstance(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      LockModule();
    else
      UnlockModule();
    return S_OK;
  }
};

TClassFactory factory;

} // namespace

void LockModule() { ++locks; }
void UnlockModule() { --locks; }
HMODULE ThisModule() { return thisModule; }

std::wstring ModulePath() {
  // Grows past MAX_PATH: a long install path must not cut the file name.
  std::wstring path(MAX_PATH + 1, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(thisModule, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string ModuleDirectory() {
  const std::wstring path = ModulePath();
  return WideToUtf8(path.substr(0, path.find_last_of(L"\\/") + 1));
}

} // namespace vq::com

using namespace vq::com;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    thisModule = instance;
    if (ServedClass().OnLoad != nullptr) ServedClass().OnLoad();
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void **object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(classId, ServedClass().ClassId)) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() { return locks == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return RegisterServer(ServedClass(), ModulePath()); }

STDAPI DllUnregisterServer() { return UnregisterServer(ServedClass(), ModulePath()); }
