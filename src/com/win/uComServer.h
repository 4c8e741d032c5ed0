#pragma once

#include <windows.h>

#include <string>

namespace vq::com {

// What one in-process server DLL serves: a single creatable class. Each DLL defines
// ServedClass(); the exports, the class factory and the registration are shared.
struct ComServerClass {
  CLSID ClassId;
  const wchar_t *Description;
  const wchar_t *ProgId; // nullptr: none
  bool HasTypeLibrary;   // resource 1 of the DLL, registered with the class
  // A new object answering `iid`, or a failed HRESULT.
  HRESULT (*CreateInstance)(REFIID iid, void **object);
  // Runs when the DLL is loaded; nullptr: nothing to do.
  void (*OnLoad)();
};

const ComServerClass &ServedClass();

// Objects and server locks alive; the DLL may unload when none is.
void LockModule();
void UnlockModule();

HMODULE ThisModule();
// Full path of this DLL, and its directory (UTF-8, with a trailing separator).
std::wstring ModulePath();
std::string ModuleDirectory();

} // namespace vq::com
