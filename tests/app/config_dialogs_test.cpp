// The General, Encode and Decode configuration dialogs on real dialog windows: the values
// they show, their couplings, what OK, Cancel and "Save as Default" leave in the settings
// record and in the registry.
#include "core/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "config/config_dialog_frame.h"
#include "config/dialog_controls.h"
#include "encode/header_styles.h"
#include "resources/resource.h"
#include "tests/app/saved_class_keys.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/process_lock.h"
#include "tests/support/window_probe.h"

namespace {

const char kEncodeTitle[] = "Encode Configuration";
const char kDecodeTitle[] = "Decode Configuration";
const char kGeneralTitle[] = "General Configuration";
// A key of this test process's own: tests run side by side, each in a process of its own.
const char* TestKey() {
  static char key[96];
  if (!key[0])
    std::snprintf(key, sizeof key, "Software\\Orvanta, Inc.\\QvConfigDialogTests%lu",
                  static_cast<unsigned long>(GetCurrentProcessId()));
  return key;
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

std::string SelectedStyle(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_CFG_STYLE_LIST);
  LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return "";
  char text[64] = "";
  SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

// As the user does: a click on a control, a choice in the style list, typing into an edit.
// Sent from the probe's thread, so each has been handled when the call returns.
void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
void ChooseStyle(HWND dialog, int row) {
  HWND list = GetDlgItem(dialog, IDC_CFG_STYLE_LIST);
  SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(HeaderStyleName(row)));
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CFG_STYLE_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}
void Type(HWND dialog, int id, const char* text) { SetDlgItemTextA(dialog, id, text); }

// Opens a dialog, lets `act` work on it, then presses `button`; true when it came.
bool RunDialog(void (*show)(HWND), const char* title, int button, std::function<void(HWND)> act) {
  DialogProbe probe(title, button, act);
  show(g_program.mainWindow);
  return probe.Result().found;
}

// The dialogs change the process-wide settings: later tests of other areas get the defaults.
class ConfigDialogs : public ShellTest {
 protected:
  void TearDown() override {
    ResetSettings();
    ShellTest::TearDown();
  }
};

TEST_F(ConfigDialogs, EncodeWithBinHexStoredShowsSingleFileWithoutSizeOrChecksums) {
  g_settings.encodemethod = METHOD_BINHEX;
  g_settings.encodetype = STYLE_ALT_BINARIES_2;
  g_settings.encodechecksum = 1;
  bool listEnabled = true, sizeEnabled = true, checksumEnabled = true, checksumChecked = true;
  std::string style;
  ASSERT_TRUE(RunDialog(ShowEncodeConfiguration, kEncodeTitle, IDOK, [&](HWND d) {
    style = SelectedStyle(d);
    listEnabled = Enabled(d, IDC_CFG_STYLE_LIST);
    sizeEnabled = Enabled(d, IDC_CFG_OUTPUT_SIZE) || Enabled(d, IDC_CFG_SIZE_LABEL);
    checksumEnabled = Enabled(d, IDC_CFG_CHECKSUM);
    checksumChecked = Checked(d, IDC_CFG_CHECKSUM);
  }));
  EXPECT_EQ(style, "Single File");
  EXPECT_FALSE(listEnabled);
  EXPECT_FALSE(sizeEnabled);
  EXPECT_FALSE(checksumEnabled);
  EXPECT_FALSE(checksumChecked);
  EXPECT_EQ(g_settings.encodetype, STYLE_SINGLE);
  EXPECT_EQ(g_settings.encodechecksum, 0);
  EXPECT_EQ(g_settings.encodemethod, METHOD_BINHEX);
}

TEST_F(ConfigDialogs, EncodeMethodsCoupleStyleSizeAndChecksums) {
  g_settings.encodemethod = METHOD_UU;
  g_settings.encodetype = STYLE_SIMTEL;
  g_settings.encodechecksum = 1;
  bool mimeList = true, mimeChecksum = true, uuList = false, uuSize = false, uuChecksum = false;
  bool singleSize = true;
  std::string mimeStyle;
  ASSERT_TRUE(RunDialog(ShowEncodeConfiguration, kEncodeTitle, IDOK, [&](HWND d) {
    Click(d, IDC_CFG_MIME);
    mimeStyle = SelectedStyle(d);
    mimeList = Enabled(d, IDC_CFG_STYLE_LIST);
    mimeChecksum = Enabled(d, IDC_CFG_CHECKSUM) || Checked(d, IDC_CFG_CHECKSUM);
    Click(d, IDC_CFG_XX);
    uuList = Enabled(d, IDC_CFG_STYLE_LIST);
    singleSize = Enabled(d, IDC_CFG_OUTPUT_SIZE);  // still "Single File": nothing to split
    ChooseStyle(d, STYLE_KOLTAR);
    uuSize = Enabled(d, IDC_CFG_OUTPUT_SIZE) && Enabled(d, IDC_CFG_SIZE_LABEL);
    uuChecksum = Enabled(d, IDC_CFG_CHECKSUM);
    Click(d, IDC_CFG_CHECKSUM);
  }));
  EXPECT_EQ(mimeStyle, "Single File");
  EXPECT_FALSE(mimeList);
  EXPECT_FALSE(mimeChecksum);
  EXPECT_TRUE(uuList);
  EXPECT_FALSE(singleSize);
  EXPECT_TRUE(uuSize);
  EXPECT_TRUE(uuChecksum);
  EXPECT_EQ(g_settings.encodemethod, METHOD_XX);
  EXPECT_EQ(g_settings.encodetype, STYLE_KOLTAR);
  EXPECT_EQ(g_settings.encodechecksum, 1);
}

TEST_F(ConfigDialogs, ShellArchiveForcesUnixLineEndsAndGivesTheChoiceBack) {
  g_settings.encodemethod = METHOD_UU;
  g_settings.encodetype = STYLE_SIMTEL;
  g_settings.encodecrlf = EOL_LF;
  g_settings.encodechecksum = 1;
  bool shownLf = false, sharLf = false, sharRadios = true, sharChecksum = true;
  bool backLf = false, backRadios = false, crlfAfterPick = false;
  ASSERT_TRUE(RunDialog(ShowEncodeConfiguration, kEncodeTitle, IDCANCEL, [&](HWND d) {
    shownLf = Checked(d, IDC_CFG_EOL_LF);  // the stored choice, not the style's
    Click(d, IDC_CFG_EOL_CRLF);
    ChooseStyle(d, STYLE_SHAR);
    sharLf = Checked(d, IDC_CFG_EOL_LF);
    sharRadios = Enabled(d, IDC_CFG_EOL_CRLF) || Enabled(d, IDC_CFG_EOL_LF);
    sharChecksum = Enabled(d, IDC_CFG_CHECKSUM) || Checked(d, IDC_CFG_CHECKSUM);
    ChooseStyle(d, STYLE_X_FILE);
    backLf = Checked(d, IDC_CFG_EOL_LF);
    backRadios = Enabled(d, IDC_CFG_EOL_CRLF) && Enabled(d, IDC_CFG_EOL_LF);
    crlfAfterPick = Checked(d, IDC_CFG_EOL_CRLF);
  }));
  EXPECT_TRUE(shownLf);
  EXPECT_TRUE(sharLf);
  EXPECT_FALSE(sharRadios);
  EXPECT_FALSE(sharChecksum);
  EXPECT_FALSE(backLf);
  EXPECT_TRUE(crlfAfterPick);  // the user's pick before the shell archive
  EXPECT_TRUE(backRadios);
  // Cancel: nothing changed, not even the line end the style forced for a while.
  EXPECT_EQ(g_settings.encodecrlf, EOL_LF);
  EXPECT_EQ(g_settings.encodetype, STYLE_SIMTEL);
  EXPECT_EQ(g_settings.encodechecksum, 1);
}

TEST_F(ConfigDialogs, ShellArchiveStoredOpensWithUnixLineEnds) {
  g_settings.encodemethod = METHOD_UU;
  g_settings.encodetype = STYLE_SHAR;
  g_settings.encodecrlf = EOL_CRLF;
  g_settings.encodechecksum = 1;
  ASSERT_TRUE(RunDialog(ShowEncodeConfiguration, kEncodeTitle, IDOK, nullptr));
  EXPECT_EQ(g_settings.encodecrlf, EOL_LF);
  EXPECT_EQ(g_settings.encodechecksum, 0);
  EXPECT_EQ(g_settings.encodetype, STYLE_SHAR);
}

TEST_F(ConfigDialogs, AStoredStyleThatCannotBeWrittenShowsSingleFile) {
  g_settings.encodemethod = METHOD_UU;
  g_settings.encodetype = STYLE_AOL;
  std::string style;
  bool sizeEnabled = true;
  ASSERT_TRUE(RunDialog(ShowEncodeConfiguration, kEncodeTitle, IDOK, [&](HWND d) {
    style = SelectedStyle(d);
    sizeEnabled = Enabled(d, IDC_CFG_OUTPUT_SIZE);
  }));
  EXPECT_EQ(style, "Single File");
  EXPECT_FALSE(sizeEnabled);
  EXPECT_EQ(g_settings.encodetype, STYLE_SINGLE);
}

// The size warning: the dialog stays open with 60000 in the field; the user's OK then takes it.
TEST_F(ConfigDialogs, AnOutOfRangeSizeIsRefusedAndTheDialogStays) {
  g_settings.encodemethod = METHOD_UU;
  g_settings.encodetype = STYLE_SIMTEL;
  g_settings.encodeoutputsize = 30000;
  for (const char* entered : {"100", "1048577", "12abc", "", "99999999999999999999"}) {
    ProbedWindow warning;
    std::string fieldAfter;
    bool stayed = false;
    ASSERT_TRUE(RunDialog(ShowEncodeConfiguration, kEncodeTitle, IDCANCEL, [&](HWND d) {
      Type(d, IDC_CFG_OUTPUT_SIZE, entered);
      PressButton(d, IDOK);
      HWND box = WaitForWindow("#32770", "Quorvane 32", GetCurrentProcessId(), 5000);
      if (!box) return;
      warning = ReadDialog(box);
      PressButton(box, IDOK);
      WaitForWindowGone("#32770", "Quorvane 32", 5000);
      stayed = IsWindowVisible(d) != FALSE;
      fieldAfter = Text(d, IDC_CFG_OUTPUT_SIZE);
    })) << entered;
    EXPECT_EQ(warning.text, "Output Size Must be between 4500 and 1048576.") << entered;
    EXPECT_EQ(warning.icon, ProbeIcon::Exclamation) << entered;
    EXPECT_TRUE(stayed) << entered;
    EXPECT_EQ(fieldAfter, "60000") << entered;
    EXPECT_EQ(g_settings.encodeoutputsize, 30000) << entered;  // cancelled afterwards
  }
}

TEST_F(ConfigDialogs, SizesAtTheLimitsAreStoredAsEntered) {
  g_settings.encodemethod = METHOD_UU;
  g_settings.encodetype = STYLE_SIMTEL;
  for (const char* entered : {"4500", "1048576", " 70000 "}) {
    DialogProbe none("Quorvane 32", IDOK, nullptr, kNoDialogMs);
    ASSERT_TRUE(RunDialog(ShowEncodeConfiguration, kEncodeTitle, IDOK,
                          [&](HWND d) { Type(d, IDC_CFG_OUTPUT_SIZE, entered); }));
    EXPECT_FALSE(none.Result().found) << entered;
    EXPECT_EQ(g_settings.encodeoutputsize, std::atoi(entered)) << entered;
  }
}

TEST_F(ConfigDialogs, DecodeDialogShowsAndStoresItsValues) {
  g_settings.decodeautodetect = 1;
  g_settings.decodetype = STYLE_AOL;
  g_settings.decodemethod = METHOD_MIME;
  g_settings.decodejoin = 0;
  g_settings.decodetestchecksum = 1;
  g_settings.decodedirselect = DIR_SAME_AS_INPUT;
  std::snprintf(g_settings.decodedir, sizeof g_settings.decodedir, "%s", "C:\\old");
  bool listAtOpen = true, listUnchecked = false, listRechecked = true, dirAtOpen = true, dirChosen = false;
  std::string styleAtOpen, styleKept;
  bool mimeShown = false;
  ASSERT_TRUE(RunDialog(ShowDecodeConfiguration, kDecodeTitle, IDOK, [&](HWND d) {
    styleAtOpen = SelectedStyle(d);
    listAtOpen = Enabled(d, IDC_CFG_STYLE_LIST) || Enabled(d, IDC_CFG_STYLE_LABEL);
    mimeShown = Checked(d, IDC_CFG_MIME);
    dirAtOpen = Enabled(d, IDC_CFG_DIR);
    Click(d, IDC_CFG_AUTODETECT);
    listUnchecked = Enabled(d, IDC_CFG_STYLE_LIST) && Enabled(d, IDC_CFG_STYLE_LABEL);
    ChooseStyle(d, STYLE_SQUIRREL);
    Click(d, IDC_CFG_AUTODETECT);
    listRechecked = Enabled(d, IDC_CFG_STYLE_LIST);
    styleKept = SelectedStyle(d);
    Click(d, IDC_CFG_BY_NAME);
    Click(d, IDC_CFG_JOIN);
    Click(d, IDC_CFG_CHECKSUM);
    Click(d, IDC_CFG_DIR_CHOSEN);
    dirChosen = Enabled(d, IDC_CFG_DIR);
    Type(d, IDC_CFG_DIR, "D:\\decoded files");
  }));
  EXPECT_EQ(styleAtOpen, "AOL");
  EXPECT_FALSE(listAtOpen);
  EXPECT_TRUE(mimeShown);
  EXPECT_FALSE(dirAtOpen);
  EXPECT_TRUE(listUnchecked);
  EXPECT_FALSE(listRechecked);
  EXPECT_EQ(styleKept, "Squirrel v3.0");
  EXPECT_TRUE(dirChosen);
  EXPECT_EQ(g_settings.decodeautodetect, 1);
  EXPECT_EQ(g_settings.decodetype, STYLE_SQUIRREL);
  EXPECT_EQ(g_settings.decodemethod, DECODE_BY_NAME);
  EXPECT_EQ(g_settings.decodejoin, 1);
  EXPECT_EQ(g_settings.decodetestchecksum, 0);
  EXPECT_EQ(g_settings.decodedirselect, DIR_CHOSEN);
  EXPECT_STREQ(g_settings.decodedir, "D:\\decoded files");
}

TEST_F(ConfigDialogs, GeneralDialogShowsAndStoresItsFiveBoxes) {
  g_settings.overwriteexisting = 1;
  g_settings.usedefaultnames = 0;
  g_settings.stayiconwhendone = 1;
  g_settings.minimizewhenrun = 0;
  g_settings.nostatusmessages = 1;
  std::string shown;
  ASSERT_TRUE(RunDialog(ShowGeneralConfiguration, kGeneralTitle, IDOK, [&](HWND d) {
    for (int id : {IDC_CFG_OVERWRITE, IDC_CFG_DEFAULT_NAMES, IDC_CFG_STAY_ICON, IDC_CFG_MINIMIZE, IDC_CFG_NO_STATUS}) {
      shown += Checked(d, id) ? '1' : '0';
      Click(d, id);
    }
  }));
  EXPECT_EQ(shown, "10101");
  EXPECT_EQ(g_settings.overwriteexisting, 0);
  EXPECT_EQ(g_settings.usedefaultnames, 1);
  EXPECT_EQ(g_settings.stayiconwhendone, 0);
  EXPECT_EQ(g_settings.minimizewhenrun, 1);
  EXPECT_EQ(g_settings.nostatusmessages, 0);
}

// "Save as Default" writes its own group only; OK writes nothing.
class SavedDefaults : public ConfigDialogs {
 protected:
  void SetUp() override {
    ConfigDialogs::SetUp();
    std::snprintf(savedPath_, sizeof savedPath_, "%s", g_settingsKeyPath);
    std::snprintf(g_settingsKeyPath, sizeof g_settingsKeyPath, "%s", TestKey());
    RegDeleteTreeA(HKEY_CURRENT_USER, TestKey());
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, TestKey(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, TestKey());
    std::snprintf(g_settingsKeyPath, sizeof g_settingsKeyPath, "%s", savedPath_);
    ConfigDialogs::TearDown();
  }
  // The value names under the key, sorted, separated by blanks.
  static std::string StoredNames() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TestKey(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "no key";
    std::vector<std::string> names;
    char name[64];
    for (DWORD i = 0;; ++i) {
      DWORD size = sizeof name;
      if (RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.push_back(name);
    }
    RegCloseKey(key);
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& n : names) joined += (joined.empty() ? "" : " ") + n;
    return joined;
  }
  static DWORD StoredNumber(const char* name) {
    DWORD value = 0, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, TestKey(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
  }
  char savedPath_[SETTINGS_PATH_ROOM] = "";
};

TEST_F(SavedDefaults, OkWritesNothing) {
  ASSERT_TRUE(RunDialog(ShowDecodeConfiguration, kDecodeTitle, IDOK, [](HWND d) { Click(d, IDC_CFG_JOIN); }));
  ASSERT_TRUE(RunDialog(ShowGeneralConfiguration, kGeneralTitle, IDOK, nullptr));
  EXPECT_EQ(StoredNames(), "");
}

TEST_F(SavedDefaults, EachDialogWritesOnlyItsGroup) {
  g_settings.encodemethod = METHOD_UU;
  g_settings.encodetype = STYLE_SIMTEL;
  ASSERT_TRUE(RunDialog(ShowEncodeConfiguration, kEncodeTitle, IDC_CFG_SAVE_DEFAULT, [](HWND d) {
    Click(d, IDC_CFG_XX);
    Type(d, IDC_CFG_OUTPUT_SIZE, "25000");
  }));
  EXPECT_EQ(StoredNames(),
            "encodechecksum encodecrlf encodedir encodedirselect encodemethod encodeoutputsize encodetype");
  EXPECT_EQ(StoredNumber("encodemethod"), static_cast<DWORD>(METHOD_XX));
  EXPECT_EQ(StoredNumber("encodeoutputsize"), 25000u);

  RegDeleteTreeA(HKEY_CURRENT_USER, TestKey());
  HKEY key;
  RegCreateKeyExA(HKEY_CURRENT_USER, TestKey(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegCloseKey(key);
  ASSERT_TRUE(RunDialog(ShowGeneralConfiguration, kGeneralTitle, IDC_CFG_SAVE_DEFAULT,
                        [](HWND d) { Click(d, IDC_CFG_NO_STATUS); }));
  EXPECT_EQ(StoredNames(), "minimizewhenrun nostatusmessages overwriteexisting stayiconwhendone usedefaultnames");
  EXPECT_EQ(StoredNumber("nostatusmessages"), 1u);
}

// "Make File Associations" makes them at once, says nothing when all went well, and the
// dialog stays open. The keys of HKEY_CLASSES_ROOT are put back as they were.
TEST_F(SavedDefaults, MakeFileAssociationsWorksAtOnceAndQuietly) {
  ProcessLock lock("QuorvaneTestsFileAssociations");  // the class keys are shared
  SavedClassKeys saved(SavedClassKeys::AssociationKeys());
  ProbedWindow report;
  bool stayed = false;
  ASSERT_TRUE(RunDialog(ShowGeneralConfiguration, kGeneralTitle, IDCANCEL, [&](HWND d) {
    DialogProbe box("Quorvane 32", IDOK, nullptr, kNoDialogMs);
    Click(d, IDC_CFG_ASSOCIATE);
    report = box.Result();
    stayed = IsWindowVisible(d) != FALSE;
  }));
  char type[64] = "";
  DWORD size = sizeof type;
  RegGetValueA(HKEY_CLASSES_ROOT, ".uue", nullptr, RRF_RT_REG_SZ, nullptr, type, &size);
  char command[300] = "";
  size = sizeof command;
  RegGetValueA(HKEY_CLASSES_ROOT, "UUEncodedFile\\shell\\Decode\\command", nullptr, RRF_RT_REG_SZ, nullptr, command,
               &size);
  EXPECT_FALSE(report.found) << report.text;
  EXPECT_TRUE(stayed);
  EXPECT_STREQ(type, "UUEncodedFile");
  char program[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, program, sizeof program);
  EXPECT_EQ(std::string(command), "\"" + std::string(program) + "\" \"%1\"");
  EXPECT_EQ(StoredNames(), "fullpath");
}

TEST(DialogControls, OutputSizeRules) {
  EXPECT_TRUE(OutputSizeInRange("4500"));
  EXPECT_TRUE(OutputSizeInRange("+1048576"));
  EXPECT_TRUE(OutputSizeInRange("  60000"));
  EXPECT_FALSE(OutputSizeInRange("4499"));
  EXPECT_FALSE(OutputSizeInRange("-60000"));
  EXPECT_FALSE(OutputSizeInRange("60000x"));
  EXPECT_FALSE(OutputSizeInRange("4294971796"));  // 2^32 + 4500 must not wrap into range
  EXPECT_EQ(ValidateOutputSize(nullptr, 0, "100", false), 60000);
  EXPECT_EQ(ValidateOutputSize(nullptr, 0, "4500", false), 4500);
}

}  // namespace
