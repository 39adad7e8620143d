// The Encode Configuration dialog: method, header style, line ends, part size, checksum
// lines and the output folder. The controls are coupled so that no impossible combination
// can be chosen; the settings record changes only when the dialog is closed with OK or
// "Save as Default".
#include <cstdio>

#include "config/config_dialog_frame.h"
#include "config/dialog_controls.h"
#include "config/style_lists.h"
#include "encode/header_styles.h"
#include "resources/resource.h"

namespace {

enum { SIZE_TEXT_ROOM = 13 };  // 12 characters are read

// The line end the user chose before a shell archive style forced UNIX line ends; 0 while
// no shell archive style is selected. Kept in the dialog's user data.
int SavedLineEnd(HWND dialog) { return static_cast<int>(GetWindowLongPtrA(dialog, DWLP_USER)); }
void SaveLineEnd(HWND dialog, int lineEnd) { SetWindowLongPtrA(dialog, DWLP_USER, lineEnd); }

HWND StyleList(HWND dialog) { return GetDlgItem(dialog, IDC_CFG_STYLE_LIST); }

// MIME and BinHex are written whole, in the "Single File" style, without checksum lines.
bool SplittableMethod(HWND dialog) { return IsChecked(dialog, IDC_CFG_UU) || IsChecked(dialog, IDC_CFG_XX); }

void ShowLineEnd(HWND dialog, int lineEnd) {
  CheckRadioButton(dialog, IDC_CFG_EOL_CRLF, IDC_CFG_EOL_LF, lineEnd == EOL_LF ? IDC_CFG_EOL_LF : IDC_CFG_EOL_CRLF);
}

// A shell archive is unpacked by a UNIX shell: its line ends are LF, and a checksum line
// would be a command to that shell. Leaving the style gives back the user's line end.
void FollowShellArchive(HWND dialog, bool shar) {
  int saved = SavedLineEnd(dialog);
  if (shar && !saved) {
    SaveLineEnd(dialog, CheckedRadioId(dialog, IDC_CFG_EOL_CRLF, IDC_CFG_EOL_LF));
    ShowLineEnd(dialog, EOL_LF);
  } else if (!shar && saved) {
    ShowLineEnd(dialog, saved);
    SaveLineEnd(dialog, 0);
  }
  EnableControl(dialog, IDC_CFG_EOL_CRLF, !shar);
  EnableControl(dialog, IDC_CFG_EOL_LF, !shar);
}

void OnStyleChanged(HWND dialog) {
  int style = StyleFromList(StyleList(dialog));
  bool shar = style == STYLE_SHAR;
  bool splittable = SplittableMethod(dialog);
  bool sized = splittable && style != STYLE_SINGLE;
  EnableControl(dialog, IDC_CFG_SIZE_LABEL, sized);
  EnableControl(dialog, IDC_CFG_OUTPUT_SIZE, sized);
  FollowShellArchive(dialog, shar);
  bool checksums = splittable && !shar;
  if (!checksums) SetChecked(dialog, IDC_CFG_CHECKSUM, false);
  EnableControl(dialog, IDC_CFG_CHECKSUM, checksums);
}

void OnMethodChanged(HWND dialog) {
  bool splittable = SplittableMethod(dialog);
  if (!splittable) SelectStyleInList(StyleList(dialog), STYLE_SINGLE);
  EnableControl(dialog, IDC_CFG_STYLE_LIST, splittable);
  OnStyleChanged(dialog);
}

int ShownMethod() {
  int method = g_settings.encodemethod;
  return method >= METHOD_UU && method <= METHOD_BINHEX ? method : METHOD_UU;
}

void ShowValues(HWND dialog) {
  SaveLineEnd(dialog, 0);
  // A stored style that cannot be written is shown as what would be written: "Single File".
  if (FillStyleList(StyleList(dialog), STYLE_LIST_ENCODE, g_settings.encodetype) < 0)
    SelectStyleInList(StyleList(dialog), STYLE_SINGLE);
  char size[SIZE_TEXT_ROOM];
  std::snprintf(size, sizeof size, "%ld", static_cast<long>(g_settings.encodeoutputsize));
  SendDlgItemMessageA(dialog, IDC_CFG_OUTPUT_SIZE, EM_LIMITTEXT, SIZE_TEXT_ROOM - 1, 0);
  SetDlgItemTextA(dialog, IDC_CFG_OUTPUT_SIZE, size);
  SetChecked(dialog, IDC_CFG_CHECKSUM, g_settings.encodechecksum != 0);
  ShowLineEnd(dialog, g_settings.encodecrlf);
  CheckRadioButton(dialog, IDC_CFG_UU, IDC_CFG_BINHEX, ShownMethod());
  ShowOutputFolder(dialog, g_settings.encodedirselect, g_settings.encodedir);
  OnMethodChanged(dialog);
}

// A size the user can edit must be in range before the dialog closes; one that cannot be
// edited (no splitting) is quietly brought into range.
bool StoreOutputSize(HWND dialog) {
  char text[SIZE_TEXT_ROOM];
  GetDlgItemTextA(dialog, IDC_CFG_OUTPUT_SIZE, text, sizeof text);
  HWND edit = GetDlgItem(dialog, IDC_CFG_OUTPUT_SIZE);
  bool editable = IsWindowEnabled(edit) != FALSE;
  if (editable && !OutputSizeInRange(text)) {
    ValidateOutputSize(dialog, IDC_CFG_OUTPUT_SIZE, text, true);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    return false;
  }
  g_settings.encodeoutputsize = ValidateOutputSize(dialog, 0, text, false);
  return true;
}

bool StoreValues(HWND dialog) {
  if (!StoreOutputSize(dialog)) return false;
  g_settings.encodechecksum = IsChecked(dialog, IDC_CFG_CHECKSUM) ? 1 : 0;
  g_settings.encodetype = StyleFromList(StyleList(dialog));
  g_settings.encodecrlf = CheckedRadioId(dialog, IDC_CFG_EOL_CRLF, IDC_CFG_EOL_LF);
  g_settings.encodemethod = CheckedRadioId(dialog, IDC_CFG_UU, IDC_CFG_BINHEX);
  ReadOutputFolder(dialog, &g_settings.encodedirselect, g_settings.encodedir);
  return true;
}

const ConfigDialogGroup kGroup = {"Encoding Configuration", EncodeSettings, StoreValues};

bool OnControl(HWND dialog, int id, int notification) {
  switch (id) {
    case IDC_CFG_STYLE_LIST:
      if (notification == CBN_SELCHANGE) OnStyleChanged(dialog);
      return true;
    case IDC_CFG_UU:
    case IDC_CFG_XX:
    case IDC_CFG_MIME:
    case IDC_CFG_BINHEX:
      OnMethodChanged(dialog);
      return true;
    case IDC_CFG_DIR_SAME:
    case IDC_CFG_DIR_CHOSEN:
      FollowFolderChoice(dialog);
      return true;
  }
  return OnConfigButton(dialog, id, notification, kGroup);
}

}  // namespace

INT_PTR CALLBACK CfgEncodeDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ShowValues(dialog);
      return TRUE;
    case WM_COMMAND:
      return OnControl(dialog, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
  }
  return FALSE;
}
