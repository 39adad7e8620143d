// The dialogs that steer a failing decode (templates in resources/recovery_dialogs.rc):
// Decode Error (310), Retry Decoding (304) and Encode or Decode? (311).
#pragma once
#ifdef _WIN32
#include "core/platform.h"

// What each dialog is created with: the text it shows (the problem or the failure; none
// for Encode or Decode?, which names the run's input) and the help file (may be null).
struct RecoveryDialogParam {
  const char* text;
  const char* helpPath;
};

// Dialog procedures. The Decode Error dialog ends with the id of the choice confirmed, or
// 200 (abort); Retry Decoding with 0 (abort), 1 (try all) or a style row; Encode or
// Decode? with 7 (encode), 6 (decode) or 2 (cancel).
INT_PTR CALLBACK AskAboutLineDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TryOverDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WhichCodeDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Show the dialogs modally over `owner` and return their answers. A dialog that cannot be
// shown answers as its Escape key does: abort, abort, cancel.
int ShowDecodeErrorDialog(HINSTANCE instance, HWND owner, const char* helpPath, const char* problem);
int ShowRetryDecodingDialog(HINSTANCE instance, HWND owner, const char* helpPath, const char* failure);
int ShowEncodeOrDecodeDialog(HINSTANCE instance, HWND owner, const char* helpPath);
#endif
