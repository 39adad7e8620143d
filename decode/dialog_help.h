// Help for the decoder's dialogs: each opens the program's help file at a keyword. The
// file's path rides on the dialog as a window property from WM_INITDIALOG on.
#pragma once
#ifdef _WIN32
#include "core/platform.h"

// Keeps the help file's path (may be null: then Help does nothing) with the dialog.
void KeepHelpFile(HWND dialog, const char* helpPath);
// Opens the kept help file at the topic of `keyword`.
void OpenDialogHelp(HWND dialog, const char* keyword);
// Drops the property; call on WM_DESTROY.
void ForgetHelpFile(HWND dialog);
#endif
