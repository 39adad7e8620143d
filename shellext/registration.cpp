// Self-registration (regsvr32): the class, its in-process server, and the context-menu
// handler for every file type.
#include <windows.h>

#include <olectl.h>

#include <string>

#include "shellext/module_state.h"

namespace {

const char kDescription[] = "Quorvane 32 Encode menu";
// The shell creates context-menu handlers on its apartment threads; the object does no
// locking of its own.
const char kThreadingModel[] = "Apartment";
const char kHandlerKey[] = "*\\shellex\\ContextMenuHandlers\\Zenthook";
const char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

std::string ClassKey() { return std::string("CLSID\\") + kZenthookClsidText; }
std::string ServerKey() { return ClassKey() + "\\InprocServer32"; }

LONG SetString(HKEY root, const std::string& keyName, const char* valueName, const std::string& value) {
  HKEY key;
  LONG result = RegCreateKeyExA(root, keyName.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  return result;
}

bool Gone(LONG result) { return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND; }

}  // namespace

STDAPI DllRegisterServer() {
  char module[MAX_PATH];
  DWORD length = GetModuleFileNameA(g_zenthookModule, module, sizeof module);
  if (length == 0 || length >= sizeof module) return SELFREG_E_CLASS;
  LONG failed = SetString(HKEY_CLASSES_ROOT, ClassKey(), nullptr, kDescription);
  if (failed == ERROR_SUCCESS) failed = SetString(HKEY_CLASSES_ROOT, ServerKey(), nullptr, module);
  if (failed == ERROR_SUCCESS) failed = SetString(HKEY_CLASSES_ROOT, ServerKey(), "ThreadingModel", kThreadingModel);
  if (failed == ERROR_SUCCESS) failed = SetString(HKEY_CLASSES_ROOT, kHandlerKey, nullptr, kZenthookClsidText);
  if (failed != ERROR_SUCCESS) return SELFREG_E_CLASS;
  // Only consulted where the administrator restricts extensions to approved ones, and only
  // writable by an administrator: its absence does not fail the registration.
  SetString(HKEY_LOCAL_MACHINE, kApprovedKey, kZenthookClsidText, kDescription);
  return S_OK;
}

STDAPI DllUnregisterServer() {
  bool gone = Gone(RegDeleteKeyA(HKEY_CLASSES_ROOT, kHandlerKey));
  gone = Gone(RegDeleteKeyA(HKEY_CLASSES_ROOT, ServerKey().c_str())) && gone;
  gone = Gone(RegDeleteKeyA(HKEY_CLASSES_ROOT, ClassKey().c_str())) && gone;
  HKEY approved;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_SET_VALUE, &approved) == ERROR_SUCCESS) {
    RegDeleteValueA(approved, kZenthookClsidText);
    RegCloseKey(approved);
  }
  return gone ? S_OK : SELFREG_E_CLASS;
}
