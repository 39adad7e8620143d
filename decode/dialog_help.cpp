#ifdef _WIN32
#include "decode/dialog_help.h"

namespace {

const char kHelpPathProperty[] = "QvHelpPath";

}  // namespace

void KeepHelpFile(HWND dialog, const char* helpPath) {
  SetPropA(dialog, kHelpPathProperty, reinterpret_cast<HANDLE>(const_cast<char*>(helpPath)));
}

void OpenHelpTopic(HWND dialog, const char* keyword) {
  const char* helpPath = static_cast<const char*>(GetPropA(dialog, kHelpPathProperty));
  if (helpPath) WinHelpA(dialog, helpPath, HELP_KEY, reinterpret_cast<ULONG_PTR>(keyword));
}

void ForgetHelpFile(HWND dialog) { RemovePropA(dialog, kHelpPathProperty); }
#endif
