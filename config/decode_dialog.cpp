// The Decode Configuration dialog: how inputs are recognised, joined and checked, and where
// the decoded files go.
#include "config/config_dialog_frame.h"
#include "config/dialog_controls.h"
#include "config/style_lists.h"
#include "resources/resource.h"

namespace {

const SettingBox kBoxes[] = {
    {IDC_CFG_AUTODETECT, &SettingsRecord::decodeautodetect},
    {IDC_CFG_JOIN, &SettingsRecord::decodejoin},
    {IDC_CFG_CHECKSUM, &SettingsRecord::decodetestchecksum},
};

// The one chosen style is offered only while the program does not detect the style itself.
void FollowAutodetect(HWND dialog) {
  bool chosenStyle = !IsChecked(dialog, IDC_CFG_AUTODETECT);
  EnableControl(dialog, IDC_CFG_STYLE_LIST, chosenStyle);
  EnableControl(dialog, IDC_CFG_STYLE_LABEL, chosenStyle);
}

int ShownMethod() {
  int method = g_settings.decodemethod;
  return method >= DECODE_BY_NAME && method <= METHOD_BINHEX ? method : DECODE_BY_DATA;
}

void ShowValues(HWND dialog) {
  CheckRadioButton(dialog, IDC_CFG_BY_NAME, IDC_CFG_BINHEX, ShownMethod());
  ShowBoxes(dialog, kBoxes);
  FillStyleList(GetDlgItem(dialog, IDC_CFG_STYLE_LIST), STYLE_LIST_DECODE, g_settings.decodetype);
  FollowAutodetect(dialog);
  ShowOutputFolder(dialog, g_settings.decodedirselect, g_settings.decodedir);
}

bool StoreValues(HWND dialog) {
  StoreBoxes(dialog, kBoxes);
  g_settings.decodetype = StyleFromList(GetDlgItem(dialog, IDC_CFG_STYLE_LIST));
  g_settings.decodemethod = CheckedRadioId(dialog, IDC_CFG_BY_NAME, IDC_CFG_BINHEX);
  ReadOutputFolder(dialog, &g_settings.decodedirselect, g_settings.decodedir);
  return true;
}

const ConfigDialogGroup kGroup = {"Decoding Configuration", DecodeSettings, StoreValues};

}  // namespace

INT_PTR CALLBACK CfgDecodeDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ShowValues(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CFG_AUTODETECT:
          FollowAutodetect(dialog);
          return TRUE;
        case IDC_CFG_DIR_SAME:
        case IDC_CFG_DIR_CHOSEN:
          FollowFolderChoice(dialog);
          return TRUE;
      }
      return OnConfigButton(dialog, LOWORD(wParam), HIWORD(wParam), kGroup) ? TRUE : FALSE;
  }
  return FALSE;
}
