#include "config/config_dialog_frame.h"

#include "app/program.h"
#include "core/help_viewer.h"
#include "resources/resource.h"

namespace {

// Every way out of the dialog ends it with the same result.
const INT_PTR kDialogDone = 1;

void ShowDialog(HWND owner, int templateId, DLGPROC procedure) {
  DialogBoxParamA(g_program.instance, MAKEINTRESOURCEA(templateId), owner, procedure, 0);
}

}  // namespace

bool OnConfigButton(HWND dialog, int id, int notification, const ConfigDialogGroup& group) {
  switch (id) {
    case IDOK:
      if (group.store(dialog)) EndDialog(dialog, kDialogDone);
      return true;
    case IDC_CFG_SAVE_DEFAULT:
      // Only a plain click saves: other notifications of the button do not.
      if (notification != BN_CLICKED) return true;
      if (!group.store(dialog)) return true;
      WriteSettingsTable(group.table);
      EndDialog(dialog, kDialogDone);
      return true;
    case IDCANCEL:
      EndDialog(dialog, kDialogDone);
      return true;
    case IDC_CFG_HELP:
      OpenHelpTopic(dialog, g_program.helpPath, group.helpKeyword);
      return true;
  }
  return false;
}

void ShowGeneralConfiguration(HWND owner) { ShowDialog(owner, IDD_CFG_GENERAL, CfgGeneralDlg); }
void ShowEncodeConfiguration(HWND owner) { ShowDialog(owner, IDD_CFG_ENCODE, CfgEncodeDlg); }
void ShowDecodeConfiguration(HWND owner) { ShowDialog(owner, IDD_CFG_DECODE, CfgDecodeDlg); }
