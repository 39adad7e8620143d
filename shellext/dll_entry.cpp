// The module's entry points: load and unload, the class object and the unload question.
#include <windows.h>

#include <new>

#include "shellext/class_factory.h"
#include "shellext/module_state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    Trace("Shellext DLLMain, DLL_PROCESS_ATTACH\r\n");
    g_zenthookModule = module;
  } else if (reason == DLL_PROCESS_DETACH) {
    Trace("Shellext DLLMain, DLL_PROCESS_DETACH\r\n");
  }
  return TRUE;
}

STDAPI DllCanUnloadNow() {
  Trace("Shellext DLLCanUnloadNow\r\n");
  return LiveObjects() == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  Trace("Shellext DllGetClassObject\r\n");
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_ZenthookShellExt)) return CLASS_E_CLASSNOTAVAILABLE;
  Trace("Shellext IsEqualIID = TRUE\r\n");
  return HandOutNewObject(new (std::nothrow) CShellExtClassFactory(), riid, out);
}
