#ifdef _WIN32
#include "decode/dialog_help.h"

#include "core/help_viewer.h"

namespace {

const char kHelpPathProperty[] = "QvHelpPath";

}  // namespace

void KeepHelpFile(HWND dialog, const char* helpPath) {
  SetPropA(dialog, kHelpPathProperty, reinterpret_cast<HANDLE>(const_cast<char*>(helpPath)));
}

void OpenDialogHelp(HWND dialog, const char* keyword) {
  const char* helpPath = static_cast<const char*>(GetPropA(dialog, kHelpPathProperty));
  if (helpPath) OpenHelpTopic(dialog, helpPath, keyword);
}

void ForgetHelpFile(HWND dialog) { RemovePropA(dialog, kHelpPathProperty); }
#endif
