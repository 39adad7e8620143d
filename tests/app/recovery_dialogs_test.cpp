// The decoder's recovery dialogs as the user meets them: texts, controls, fonts and sizes,
// what every button answers, the confirmations of the Decode Error choices, what Enter and
// Escape do, and the Help buttons (the checksum report's too).
#include "core/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/help_viewer.h"
#include "decode/checksum_dialog.h"
#include "decode/decode_context.h"
#include "decode/part_table.h"
#include "decode/recovery_dialogs.h"
#include "decode/recovery_questions.h"
#include "encode/header_styles.h"
#include "resources/resource.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/window_probe.h"

namespace {

const char kProblem[] =
    "Input File: bad.uue\r\nLine 3: Invalid UU Encoded Data!\r\nInvalid encoded data byte (0x61).\r\n"
    "Offending Line Follows within Curly Brackets:\r\n\r\n{ M86)C9&5F9VAI:FML;6YO<'%R<W1U=G=X>7I[?'U^?P }";
const char kFailure[] = "Unable to Determine File Format for C:\\in\\post.txt.\r\nCannot Find Any Encoding Header Information.";
// The warnings' openings (the end-to-end test reads them whole).
const char kSkipWarning[] = "You have chosen to skip decoding of places where encoding integrity rules";
const char kDecodeWarning[] = "You have chosen to attempt decoding in spite of violations";
const char kMessageTitle[] = "Quorvane 32";
// The label's id -1, as a dialog template's 16 bits hold it.
const int kLabelId = 0xFFFF;
// Pressed after a key has done the work: no button of these dialogs has this id.
const int kNoButton = 9999;

int ShowDecodeError() {
  return ShowDecodeErrorDialog(g_program.instance, g_program.mainWindow, nullptr, kProblem);
}
int ShowRetry() { return ShowRetryDecodingDialog(g_program.instance, g_program.mainWindow, nullptr, kFailure); }
int ShowEncodeOrDecode() { return ShowEncodeOrDecodeDialog(g_program.instance, g_program.mainWindow, nullptr); }

// Whether `text` is the confirmation of the warning that starts so.
bool IsConfirmation(const std::string& text, const char* warningStart) {
  const std::string head = std::string("*** Warning ***\r\n\r\n") + warningStart;
  const std::string tail = "\r\n\r\nProceed as indicated?";
  return text.rfind(head, 0) == 0 && text.size() > head.size() + tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The key arrives as the user's would: through the dialog's own message loop.
std::function<void(HWND)> Pressing(WPARAM key) {
  return [key](HWND dialog) {
    PostMessageA(dialog, WM_KEYDOWN, key, 1);
    PostMessageA(dialog, WM_KEYUP, key, 0xC0000001);
  };
}

// What the layout checks read of an open dialog.
struct Layout {
  std::string face;
  int pointSize = 0;
  SIZE units = {0, 0};  // client size in dialog units
  int defaultId = 0;
  std::vector<int> ids;  // children in tab order
};

Layout ReadLayout(HWND dialog) {
  Layout layout;
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  LOGFONTA logFont = {};
  if (font && GetObjectA(font, sizeof logFont, &logFont)) {
    layout.face = logFont.lfFaceName;
    HDC dc = GetDC(dialog);
    layout.pointSize = MulDiv(logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight, 72,
                              GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(dialog, dc);
  }
  RECT client, unit = {0, 0, 4, 8};
  GetClientRect(dialog, &client);
  MapDialogRect(dialog, &unit);
  layout.units = {MulDiv(client.right, 4, unit.right), MulDiv(client.bottom, 8, unit.bottom)};
  layout.defaultId = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0));
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    layout.ids.push_back(GetDlgCtrlID(child));
  return layout;
}

std::vector<std::string> ComboItems(HWND list) {
  std::vector<std::string> items;
  const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[64] = "";
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

void SelectItem(HWND list, const char* text) {
  const LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// A button pressed, or a key (then kNoButton), and the answer the dialog gives.
struct Press {
  int button;
  std::function<void(HWND)> act;
  int answer;
};

void ExpectAnswers(const char* title, int (*show)(), std::initializer_list<Press> presses) {
  for (const Press& press : presses) {
    DialogProbe dialog(title, press.button, press.act);
    EXPECT_EQ(show(), press.answer) << title << " " << press.button;
    EXPECT_TRUE(dialog.Result().found) << title;
  }
}

class RecoveryDialogs : public ShellTest {};

TEST_F(RecoveryDialogs, DecodeErrorShowsTheProblemAndItsFiveChoices) {
  Layout layout;
  DialogProbe dialog("Decode Error", IDC_DECERR_ABORT, [&](HWND d) { layout = ReadLayout(d); });
  EXPECT_EQ(ShowDecodeError(), ANSWER_ABORT);
  const ProbedWindow& shown = dialog.Result();
  ASSERT_TRUE(shown.found);
  EXPECT_EQ(shown.text, kProblem);
  EXPECT_EQ(shown.buttons, (std::vector<std::string>{"&Skip This Invalid Line", "Decode This Invalid &Line",
                                                     "Sk&ip All Invalid Lines", "&Decode All Invalid Lines",
                                                     "&Abort Decode", "&Help"}));
  EXPECT_EQ(layout.ids, (std::vector<int>{601, 602, 603, 605, 604, 200, 525}));
  EXPECT_EQ(layout.defaultId, 602);
  EXPECT_EQ(layout.face, "MS Sans Serif");
  EXPECT_EQ(layout.pointSize, 8);
  EXPECT_NEAR(layout.units.cx, 306, 1);
  EXPECT_NEAR(layout.units.cy, 111, 1);
}

TEST_F(RecoveryDialogs, EveryChoiceIsConfirmedAndDecliningAborts) {
  struct Choice {
    int id;
    const char* warning;
  };
  for (const Choice& choice : {Choice{602, kSkipWarning}, Choice{605, kSkipWarning}, Choice{603, kDecodeWarning},
                               Choice{604, kDecodeWarning}}) {
    for (int reply : {IDYES, IDNO}) {
      bool yesIsDefault = false;
      DialogProbe confirm(kMessageTitle, reply, [&](HWND box) {
        yesIsDefault = (GetWindowLongA(GetDlgItem(box, IDYES), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
      });
      DialogProbe dialog("Decode Error", choice.id);
      EXPECT_EQ(ShowDecodeError(), reply == IDYES ? choice.id : ANSWER_ABORT) << choice.id << " " << reply;
      const ProbedWindow& box = confirm.Result();
      ASSERT_TRUE(box.found) << choice.id;
      EXPECT_TRUE(IsConfirmation(box.text, choice.warning)) << choice.id << ": " << box.text;
      EXPECT_EQ(box.icon, ProbeIcon::Question);
      EXPECT_EQ(box.buttons, (std::vector<std::string>{"&Yes", "&No"}));
      EXPECT_TRUE(yesIsDefault);
    }
  }
}

TEST_F(RecoveryDialogs, DecodeErrorKeysEnterAsksToSkipEscapeAbortsAtOnce) {
  {
    DialogProbe confirm(kMessageTitle, IDYES);
    DialogProbe dialog("Decode Error", kNoButton, Pressing(VK_RETURN));
    EXPECT_EQ(ShowDecodeError(), ANSWER_SKIP_LINE);
    EXPECT_TRUE(IsConfirmation(confirm.Result().text, kSkipWarning)) << confirm.Result().text;
  }
  for (int button : {IDC_DECERR_ABORT, IDCANCEL}) {
    DialogProbe noQuestion(kMessageTitle, IDNO, nullptr, kNoDialogMs);
    DialogProbe dialog("Decode Error", button);
    EXPECT_EQ(ShowDecodeError(), ANSWER_ABORT) << button;
    EXPECT_FALSE(noQuestion.Result().found) << button;
  }
}

TEST_F(RecoveryDialogs, RetryDecodingListsTheStylesAndAnswersTheChosenRow) {
  std::vector<std::string> items;
  std::string selected;
  Layout layout;
  DialogProbe first("Retry Decoding", IDOK, [&](HWND d) {
    HWND list = GetDlgItem(d, IDC_RETRY_STYLE_LIST);
    items = ComboItems(list);
    selected = WindowText(list);
    layout = ReadLayout(d);
  });
  EXPECT_EQ(ShowRetry(), STYLE_SINGLE);
  const ProbedWindow& shown = first.Result();
  ASSERT_TRUE(shown.found);
  EXPECT_EQ(shown.text, kFailure);
  EXPECT_EQ(items, (std::vector<std::string>{"Single File", "Comp.binaries", "SimTel", "Alt.binaries 1",
                                             "Alt.binaries 2", "Alt.binaries 3", "Alt.binaries 4",
                                             "UNIX shell (shar)", "X-File", "KOLTAR v2.0", "Wincode v2.3",
                                             "POST V1.2.0", "POST V2.0.1", "xmitBin", "bitftp", "AOL",
                                             "Squirrel v3.0", "R.E.M."}));
  EXPECT_EQ(selected, "Single File");
  EXPECT_EQ(shown.buttons,
            (std::vector<std::string>{"Try &All Formats", "Retry &Decode", "&Help", "Abort Decode"}));
  EXPECT_EQ(layout.ids, (std::vector<int>{240, kLabelId, 188, 210, 1, 525, 2}));
  EXPECT_EQ(layout.defaultId, IDCANCEL);
  EXPECT_EQ(layout.face, "System");
  EXPECT_NEAR(layout.units.cx, 269, 1);
  EXPECT_NEAR(layout.units.cy, 97, 1);

  DialogProbe xFile("Retry Decoding", IDOK, [](HWND d) { SelectItem(GetDlgItem(d, IDC_RETRY_STYLE_LIST), "X-File"); });
  EXPECT_EQ(ShowRetry(), STYLE_X_FILE);
  DialogProbe none("Retry Decoding", IDOK, [](HWND d) { SelectItem(GetDlgItem(d, IDC_RETRY_STYLE_LIST), "nothing"); });
  EXPECT_EQ(ShowRetry(), STYLE_SINGLE);
}

TEST_F(RecoveryDialogs, RetryDecodingTryAllAbortAndItsKeys) {
  ExpectAnswers("Retry Decoding", ShowRetry,
                {{IDC_RETRY_TRY_ALL, nullptr, RETRY_TRY_ALL}, {IDCANCEL, nullptr, RETRY_ABORT},
                 {kNoButton, Pressing(VK_RETURN), RETRY_ABORT}, {kNoButton, Pressing(VK_ESCAPE), RETRY_ABORT}});
}

TEST_F(RecoveryDialogs, EncodeOrDecodeNamesTheInputAndAnswersEachButton) {
  std::snprintf(g_job.inputPath, PATH_ROOM, "%s", "C:\\in\\notes.txt");
  Layout layout;
  DialogProbe first("Encode or Decode?", IDC_WHICH_ENCODE, [&](HWND d) { layout = ReadLayout(d); });
  EXPECT_EQ(ShowEncodeOrDecode(), WHICH_CODE_ENCODE);
  const ProbedWindow& shown = first.Result();
  ASSERT_TRUE(shown.found);
  EXPECT_EQ(shown.text,
            "C:\\in\\notes.txt apparently cannot be decoded.\r\nYou may instead encode the file (choose Encode),\r\n"
            "continue trying to decode the file (choose Decode),\r\nor cancel the operation on this file (choose "
            "Cancel).");
  EXPECT_EQ(shown.buttons, (std::vector<std::string>{"&Encode", "&Decode", "&Cancel", "&Help"}));
  EXPECT_EQ(layout.ids, (std::vector<int>{250, 251, 2, 525, 252}));
  EXPECT_EQ(layout.defaultId, IDC_WHICH_ENCODE);
  EXPECT_EQ(layout.face, "System");
  EXPECT_NEAR(layout.units.cx, 268, 1);
  EXPECT_NEAR(layout.units.cy, 92, 1);

  ExpectAnswers("Encode or Decode?", ShowEncodeOrDecode,
                {{IDC_WHICH_DECODE, nullptr, WHICH_CODE_DECODE}, {IDCANCEL, nullptr, WHICH_CODE_CANCEL},
                 {kNoButton, Pressing(VK_ESCAPE), WHICH_CODE_CANCEL}, {kNoButton, Pressing(VK_RETURN), WHICH_CODE_ENCODE}});
}

// Waits up to ten seconds for HTML Help's window to be there (or gone).
bool ViewerRuns(bool wanted) {
  for (int i = 0; i < 200; ++i, Sleep(50))
    if ((FindWindowA("HH Parent", nullptr) != nullptr) == wanted) return true;
  return false;
}

// Help opens HTML Help on the program's help (it sits beside the test program) and leaves
// the dialog open; the help is closed again afterwards.
TEST_F(RecoveryDialogs, HelpButtonsOpenTheHelpFileAndTheDialogStays) {
  char helpPath[PATH_ROOM];
  const DWORD n = GetModuleFileNameA(nullptr, helpPath, sizeof helpPath);
  ASSERT_GT(n, 0u);
  std::snprintf(std::strrchr(helpPath, '\\') + 1, 32, "%s", "Zentp32.hlp");
  ASSERT_NE(GetFileAttributesA(helpPath), INVALID_FILE_ATTRIBUTES) << helpPath;
  // The checksum report reads the decode run: an empty one lists nothing.
  std::memset(&g_decode, 0, sizeof g_decode);
  ClearPartTable();
  struct Case {
    const char* title;
    int help;
    int close;
    std::function<INT_PTR()> show;
  };
  const Case cases[] = {
      {"Decode Error", IDC_RECOVERY_HELP, IDCANCEL,
       [&] { return ShowDecodeErrorDialog(g_program.instance, g_program.mainWindow, helpPath, kProblem); }},
      {"Retry Decoding", IDC_RECOVERY_HELP, IDCANCEL,
       [&] { return ShowRetryDecodingDialog(g_program.instance, g_program.mainWindow, helpPath, kFailure); }},
      {"Encode or Decode?", IDC_RECOVERY_HELP, IDCANCEL,
       [&] { return ShowEncodeOrDecodeDialog(g_program.instance, g_program.mainWindow, helpPath); }},
      {"Zentrel32 Checksum Error Details", IDC_CHECKSUM_HELP, IDCANCEL,
       [&] { return ShowChecksumDialog(g_program.instance, g_program.mainWindow, helpPath); }},
  };
  ASSERT_TRUE(ViewerRuns(false));
  for (const Case& c : cases) {
    bool stayed = false;
    DialogProbe dialog(c.title, c.close, [&](HWND d) {
      SendMessageA(d, WM_COMMAND, MAKEWPARAM(c.help, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, c.help)));
      stayed = IsWindow(d) && IsWindowVisible(d);
    });
    c.show();
    ASSERT_TRUE(dialog.Result().found) << c.title;
    EXPECT_TRUE(stayed) << c.title;
    EXPECT_TRUE(ViewerRuns(true)) << c.title;
    CloseHelp(g_program.mainWindow, helpPath);
    EXPECT_TRUE(ViewerRuns(false)) << c.title;
  }
}

}  // namespace
