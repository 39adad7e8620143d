// What the three configuration dialogs share: their OK, "Save as Default", Cancel and Help
// buttons, and opening them over the main window.
#pragma once
#include "core/platform.h"
#include "core/settings.h"

struct ConfigDialogGroup {
  const char* helpKeyword;
  const SettingEntry* table;  // the group "Save as Default" writes
  // Reads the controls into the settings record; false keeps the dialog open because a
  // value must be corrected first (the dialog has said which).
  bool (*store)(HWND dialog);
};

// Handles the four common buttons; false when `id` is none of them.
bool OnConfigButton(HWND dialog, int id, int notification, const ConfigDialogGroup& group);

// Opens the General, Encode or Decode dialog over `owner`.
void ShowGeneralConfiguration(HWND owner);
void ShowEncodeConfiguration(HWND owner);
void ShowDecodeConfiguration(HWND owner);

INT_PTR CALLBACK CfgGeneralDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CfgEncodeDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CfgDecodeDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
