#ifdef _WIN32
#include "decode/checksum_dialog.h"

#include <cstdio>
#include <string>
#include <vector>

#include "core/help_viewer.h"
#include "core/settings.h"
#include "decode/checksum_verify.h"
#include "decode/decode_context.h"
#include "decode/dialog_help.h"
#include "resources/resource.h"

namespace {

const char kTitle[] = "%s Checksum Error Details";
const char kHelpKeyword[] = "invalid checksum";
enum { TITLE_ROOM = 96, DIALOG_CLOSED = 1 };

// Tab stops in dialog units, for the name, "Expected" and "Calculated" columns.
const int kTabStops[] = {120, 180};

void FillDialog(HWND dialog) {
  char title[TITLE_ROOM];
  std::snprintf(title, sizeof title, kTitle, g_identity.internalName);
  SetWindowTextA(dialog, title);
  SetDlgItemTextA(dialog, IDC_CHECKSUM_INPUT, DecodeInputName());
  HWND list = GetDlgItem(dialog, IDC_CHECKSUM_LIST);
  SendMessageA(list, LB_SETTABSTOPS, sizeof kTabStops / sizeof kTabStops[0], reinterpret_cast<LPARAM>(kTabStops));
  std::vector<std::string> lines;
  TestChecksums(&lines);
  for (const std::string& line : lines) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

}  // namespace

INT_PTR CALLBACK ChecksumDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      KeepHelpFile(dialog, reinterpret_cast<const char*>(lParam));
      FillDialog(dialog);
      return TRUE;
    case WM_DESTROY:
      ForgetHelpFile(dialog);
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
          EndDialog(dialog, DIALOG_CLOSED);
          return TRUE;
        case IDC_CHECKSUM_HELP:
          OpenDialogHelp(dialog, kHelpKeyword);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

INT_PTR ShowChecksumDialog(HINSTANCE instance, HWND owner, const char* helpPath) {
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CHECKSUM), owner, ChecksumDlg,
                         reinterpret_cast<LPARAM>(helpPath));
}
#endif
