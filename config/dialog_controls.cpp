#include "config/dialog_controls.h"

#include <cctype>
#include <climits>
#include <cstdio>

#include "core/names.h"
#include "core/settings.h"
#include "core/ui.h"
#include "resources/resource.h"

namespace {

const char kSizeWarning[] = "Output Size Must be between %ld and %ld.";

// Parses the whole text as a decimal number; false for anything else. Large values are held
// at LONG_MAX so that no digit string wraps around into the allowed range.
bool ParseDecimal(const char* text, long* value) {
  text = SkipBlanks(text);
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  if (!std::isdigit(static_cast<unsigned char>(*text))) return false;
  long result = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    int digit = *text - '0';
    result = result > (LONG_MAX - digit) / 10 ? LONG_MAX : result * 10 + digit;
  }
  if (*SkipBlanks(text) != '\0') return false;
  *value = negative ? -result : result;
  return true;
}

bool InRange(long value) { return value >= MIN_OUTPUT_SIZE && value <= MAX_OUTPUT_SIZE; }

}  // namespace

int CheckedRadioId(HWND dialog, int first, int last) {
  for (int id = first; id <= last; ++id)
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) return id;
  return 0;
}

bool OutputSizeInRange(const char* text) {
  long value = 0;
  return ParseDecimal(text, &value) && InRange(value);
}

int ValidateOutputSize(HWND dialog, int control, const char* text, bool warn) {
  long value = 0;
  if (!ParseDecimal(text, &value) || !InRange(value)) {
    if (warn)
      ShowMessage(dialog, MB_ICONEXCLAMATION, kSizeWarning, static_cast<long>(MIN_OUTPUT_SIZE),
                  static_cast<long>(MAX_OUTPUT_SIZE));
    value = DEFAULT_OUTPUT_SIZE;
  }
  if (control) {
    char shown[16];
    std::snprintf(shown, sizeof shown, "%ld", value);
    SetDlgItemTextA(dialog, control, shown);
  }
  return static_cast<int>(value);
}

void SetChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void EnableControl(HWND dialog, int id, bool enabled) { EnableWindow(GetDlgItem(dialog, id), enabled); }

void ShowOutputFolder(HWND dialog, int choice, const char* folder) {
  SendDlgItemMessageA(dialog, IDC_CFG_DIR, EM_LIMITTEXT, SETTINGS_PATH_ROOM - 1, 0);
  SetDlgItemTextA(dialog, IDC_CFG_DIR, folder);
  CheckRadioButton(dialog, IDC_CFG_DIR_SAME, IDC_CFG_DIR_CHOSEN,
                   choice == DIR_CHOSEN ? IDC_CFG_DIR_CHOSEN : IDC_CFG_DIR_SAME);
  FollowFolderChoice(dialog);
}

void FollowFolderChoice(HWND dialog) { EnableControl(dialog, IDC_CFG_DIR, IsChecked(dialog, IDC_CFG_DIR_CHOSEN)); }

void ReadOutputFolder(HWND dialog, int* choice, char* folder) {
  *choice = CheckedRadioId(dialog, IDC_CFG_DIR_SAME, IDC_CFG_DIR_CHOSEN);
  GetDlgItemTextA(dialog, IDC_CFG_DIR, folder, SETTINGS_PATH_ROOM);
}

void ShowBoxes(HWND dialog, const SettingBox* boxes, size_t count) {
  for (size_t i = 0; i < count; ++i) SetChecked(dialog, boxes[i].id, g_settings.*boxes[i].setting != 0);
}

void StoreBoxes(HWND dialog, const SettingBox* boxes, size_t count) {
  for (size_t i = 0; i < count; ++i) g_settings.*boxes[i].setting = IsChecked(dialog, boxes[i].id) ? 1 : 0;
}
