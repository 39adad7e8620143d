// Small helpers of the configuration dialogs: radio groups, check boxes, enabling, the
// output folder pair and the output size field.
#pragma once
#include <cstddef>

#include "core/platform.h"
#include "core/settings.h"

// The identifier of the first checked button from `first` to `last`; 0 when none is checked.
int CheckedRadioId(HWND dialog, int first, int last);
// Reads `text` as a decimal number (leading blanks and one sign allowed; blanks may follow
// the digits, nothing else may). A value outside 4500..1048576, or text that is no number,
// becomes 60000, after a warning when `warn` is set. `control` (0: none) is then set to the
// value. Returns the value.
int ValidateOutputSize(HWND dialog, int control, const char* text, bool warn);
// True when the text passes ValidateOutputSize unchanged.
bool OutputSizeInRange(const char* text);

void SetChecked(HWND dialog, int id, bool checked);
bool IsChecked(HWND dialog, int id);
void EnableControl(HWND dialog, int id, bool enabled);

// The output folder group: the "Same as Input File" / "User Specified" radio pair and the
// folder edit, which is enabled only for a folder of the user's choice.
void ShowOutputFolder(HWND dialog, int choice, const char* folder);
void FollowFolderChoice(HWND dialog);
// Reads the pair back; `folder` holds SETTINGS_PATH_ROOM characters.
void ReadOutputFolder(HWND dialog, int* choice, char* folder);

// A check box and the on/off setting it shows.
struct SettingBox {
  int id;
  int SettingsRecord::*setting;
};

void ShowBoxes(HWND dialog, const SettingBox* boxes, size_t count);
void StoreBoxes(HWND dialog, const SettingBox* boxes, size_t count);
template <size_t N>
void ShowBoxes(HWND dialog, const SettingBox (&boxes)[N]) { ShowBoxes(dialog, boxes, N); }
template <size_t N>
void StoreBoxes(HWND dialog, const SettingBox (&boxes)[N]) { StoreBoxes(dialog, boxes, N); }
