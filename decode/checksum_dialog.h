// The checksum error dialog (resource 303): the input's name and one line per mismatch.
#pragma once
#ifdef _WIN32
#include "core/platform.h"

// Dialog procedure; the creation parameter is the help file's path (may be null).
INT_PTR CALLBACK ChecksumDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Shows the dialog modally over `owner`; returns its result (1 when closed).
INT_PTR ShowChecksumDialog(HINSTANCE instance, HWND owner, const char* helpPath);
#endif
