// The General Configuration dialog: five options of every job and the file associations.
#include "config/config_dialog_frame.h"
#include "config/dialog_controls.h"
#include "config/file_associations.h"
#include "core/ui.h"
#include "resources/resource.h"

namespace {

const char kAssociationError[] = "File Associations Registry Error.";

const SettingBox kBoxes[] = {
    {IDC_CFG_OVERWRITE, &SettingsRecord::overwriteexisting},
    {IDC_CFG_DEFAULT_NAMES, &SettingsRecord::usedefaultnames},
    {IDC_CFG_STAY_ICON, &SettingsRecord::stayiconwhendone},
    {IDC_CFG_MINIMIZE, &SettingsRecord::minimizewhenrun},
    {IDC_CFG_NO_STATUS, &SettingsRecord::nostatusmessages},
};

void ShowValues(HWND dialog) {
  ShowBoxes(dialog, kBoxes);
}

bool StoreValues(HWND dialog) {
  StoreBoxes(dialog, kBoxes);
  return true;
}

const ConfigDialogGroup kGroup = {"General Configuration", GeneralSettings, StoreValues};

void MakeAssociations(HWND dialog) {
  if (MakeFileAssociations(dialog) != 0) ShowMessage(dialog, MB_ICONHAND, kAssociationError);
}

}  // namespace

INT_PTR CALLBACK CfgGeneralDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ShowValues(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_CFG_ASSOCIATE) {
        MakeAssociations(dialog);
        return TRUE;
      }
      return OnConfigButton(dialog, LOWORD(wParam), HIWORD(wParam), kGroup) ? TRUE : FALSE;
  }
  return FALSE;
}
