#include "core/platform.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "app/busy.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/window_place.h"
#include "core/pump_timer.h"
#include "core/ui.h"
#include "resources/resource.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/window_probe.h"

namespace {

using MainWindowState = ShellTest;

RECT PlaceOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, g_program.mainWindow, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ExpectPlace(HWND control, int x, int y, int w, int h) {
  RECT r = PlaceOf(control);
  EXPECT_EQ(r.left, x);
  EXPECT_EQ(r.top, y);
  EXPECT_EQ(r.right - r.left, w);
  EXPECT_EQ(r.bottom - r.top, h);
}

bool Grayed(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

TEST_F(MainWindowState, ControlsFollowTheLayoutRulesWithIntegerDivisions) {
  LayoutControls(803, 301);
  ExpectPlace(g_program.statusText, 0, 0, 803, 100);
  ExpectPlace(g_program.progressBar, 0, 301 - 75, 803, 75);
  ExpectPlace(g_program.cancelButton, 3 * 100, 3 * 37, 2 * 100, 2 * 37);
}

TEST_F(MainWindowState, MinimisingLeavesTheControlsWhereTheyWere) {
  LayoutControls(640, 240);
  SendMessageA(g_program.mainWindow, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
  ExpectPlace(g_program.statusText, 0, 0, 640, 80);
  SendMessageA(g_program.mainWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 200));
  ExpectPlace(g_program.statusText, 0, 0, 400, 66);
}

TEST_F(MainWindowState, BusyGraysOnlyTheJobCommandsAndShowsCancel) {
  HMENU menu = GetMenu(g_program.mainWindow);
  HMENU system = GetSystemMenu(g_program.mainWindow, FALSE);
  ShowStatus("before");
  g_job.cancelRequested = true;
  SetBusy(g_program.mainWindow, true);
  EXPECT_TRUE(g_job.busy);
  EXPECT_FALSE(g_job.cancelRequested);
  for (UINT id : {IDM_ENCODE_FILE, IDM_DECODE_FILE, IDM_CFG_GENERAL, IDM_CFG_ENCODE, IDM_CFG_DECODE})
    EXPECT_TRUE(Grayed(menu, id)) << id;
  for (UINT id : {IDM_EXIT, IDM_ENCODE_CLIPBOARD, IDM_ENCODE_MAIL, IDM_DECODE_CLIPBOARD, IDM_DECODE_MAIL,
                  IDM_CHECK_VERSION, IDM_HELP_INDEX, IDM_ABOUT})
    EXPECT_FALSE(Grayed(menu, id)) << id;
  EXPECT_TRUE(Grayed(system, IDM_SYS_ENCODE));
  EXPECT_TRUE(Grayed(system, IDM_SYS_DECODE));
  EXPECT_TRUE(GetWindowLongA(g_program.cancelButton, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(IsWindowEnabled(g_program.cancelButton));
  EXPECT_EQ(WindowText(g_program.statusText), "");

  SetBusy(g_program.mainWindow, false);
  EXPECT_FALSE(g_job.busy);
  for (UINT id : {IDM_ENCODE_FILE, IDM_DECODE_FILE, IDM_CFG_GENERAL, IDM_CFG_ENCODE, IDM_CFG_DECODE})
    EXPECT_FALSE(Grayed(menu, id)) << id;
  EXPECT_FALSE(Grayed(system, IDM_SYS_ENCODE));
  EXPECT_FALSE(GetWindowLongA(g_program.cancelButton, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(IsWindowEnabled(g_program.cancelButton));
}

TEST_F(MainWindowState, ProgressStepsShowByAPumpOnceTheIntervalHasPassedTheFullBarAtOnceAndEnteringBusyResets) {
  SetProgress(60);
  Sleep(PROGRESS_INTERVAL_MS + 50);  // the tick count moves in steps of up to 30 ms under Wine
  PumpMessages(4);
  EXPECT_EQ(SendMessageA(g_program.progressBar, PBM_GETPOS, 0, 0), 60);
  SetProgress(100);
  EXPECT_EQ(SendMessageA(g_program.progressBar, PBM_GETPOS, 0, 0), 100);
  SetBusy(g_program.mainWindow, true);
  EXPECT_EQ(SendMessageA(g_program.progressBar, PBM_GETPOS, 0, 0), 0);
  SetBusy(g_program.mainWindow, false);
}

TEST_F(MainWindowState, MinimisedDuringAJobAndRestoredAfterUnlessItStaysAnIcon) {
  g_settings.minimizewhenrun = 1;
  SetBusy(g_program.mainWindow, true);
  EXPECT_TRUE(IsIconic(g_program.mainWindow));
  SetBusy(g_program.mainWindow, false);
  EXPECT_FALSE(IsIconic(g_program.mainWindow));
  g_settings.stayiconwhendone = 1;
  SetBusy(g_program.mainWindow, true);
  SetBusy(g_program.mainWindow, false);
  EXPECT_TRUE(IsIconic(g_program.mainWindow));
  ShowWindow(g_program.mainWindow, SW_RESTORE);
  ShowWindow(g_program.mainWindow, SW_HIDE);
}

TEST_F(MainWindowState, ExitDuringAJobAsksToCancelAndQuitInsteadOfClosing) {
  SetBusy(g_program.mainWindow, true);
  SendMessageA(g_program.mainWindow, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_TRUE(g_job.cancelRequested);
  EXPECT_TRUE(g_job.quitRequested);
  EXPECT_TRUE(IsWindow(g_program.mainWindow));
  SetBusy(g_program.mainWindow, false);
  EXPECT_FALSE(g_job.cancelRequested) << "leaving the busy state clears the request";
}

TEST_F(MainWindowState, TheCancelButtonRequestsCancelOnly) {
  SendMessageA(g_program.mainWindow, WM_COMMAND, MAKEWPARAM(IDC_CANCEL_BUTTON, BN_CLICKED),
               reinterpret_cast<LPARAM>(g_program.cancelButton));
  EXPECT_TRUE(g_job.cancelRequested);
  EXPECT_FALSE(g_job.quitRequested);
}

TEST_F(MainWindowState, EndingTheSessionIsRefusedWhileAJobRuns) {
  SetBusy(g_program.mainWindow, true);
  EXPECT_EQ(SendMessageA(g_program.mainWindow, WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_TRUE(g_job.cancelRequested && g_job.quitRequested);
  SetBusy(g_program.mainWindow, false);
  EXPECT_EQ(SendMessageA(g_program.mainWindow, WM_QUERYENDSESSION, 0, 0), TRUE);
}

TEST_F(MainWindowState, ASystemCloseDuringAJobIsPostedAgainForLater) {
  SetBusy(g_program.mainWindow, true);
  SendMessageA(g_program.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(g_program.mainWindow));
  EXPECT_TRUE(g_job.quitRequested);
  EXPECT_EQ(DrainMessages(WM_SYSCOMMAND), 1);
  SetBusy(g_program.mainWindow, false);
}

// Every menu command has its handler; an id that is no command (a child control's
// notification, a stray message) does nothing and says nothing.
TEST_F(MainWindowState, IdsThatAreNoCommandDoNothing) {
  for (int id : {IDC_STATUS_TEXT, IDC_PROGRESS_BAR, 9999}) {
    DialogProbe none("Quorvane 32", IDOK, nullptr, kNoDialogMs);
    SendMessageA(g_program.mainWindow, WM_COMMAND, id, 0);
    EXPECT_FALSE(none.Result().found) << id;
  }
  EXPECT_TRUE(IsWindow(g_program.mainWindow));
}

TEST_F(MainWindowState, TheSystemMenuHasEncodeAndDecode) {
  HMENU system = GetSystemMenu(g_program.mainWindow, FALSE);
  char text[64];
  ASSERT_GT(GetMenuStringA(system, IDM_SYS_ENCODE, text, sizeof text, MF_BYCOMMAND), 0);
  EXPECT_STREQ(text, "&Encode...");
  ASSERT_GT(GetMenuStringA(system, IDM_SYS_DECODE, text, sizeof text, MF_BYCOMMAND), 0);
  EXPECT_STREQ(text, "&Decode...");
  int count = GetMenuItemCount(system);
  EXPECT_EQ(GetMenuItemID(system, count - 2), static_cast<UINT>(IDM_SYS_ENCODE));
  EXPECT_EQ(GetMenuState(system, count - 3, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
}

TEST_F(MainWindowState, TheHelpTitleIsRightAligned) {
  HMENU menu = GetMenu(g_program.mainWindow);
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoA(menu, 2, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_RIGHTJUSTIFY);
  ASSERT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &info));
  EXPECT_FALSE(info.fType & MFT_RIGHTJUSTIFY);
}

TEST_F(MainWindowState, AColourChangeGivesTheWindowAFreshLiveBrush) {
  HBRUSH before = g_program.faceBrush;
  SendMessageA(g_program.mainWindow, WM_SYSCOLORCHANGE, 0, 0);
  HBRUSH after = reinterpret_cast<HBRUSH>(GetClassLongPtrA(g_program.mainWindow, GCLP_HBRBACKGROUND));
  EXPECT_EQ(after, g_program.faceBrush);
  EXPECT_NE(after, before);
  EXPECT_EQ(GetObjectType(after), static_cast<DWORD>(OBJ_BRUSH));
  HDC dc = GetDC(g_program.statusText);
  LRESULT brush = SendMessageA(g_program.mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(g_program.statusText));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), g_program.faceBrush);
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(SendMessageA(g_program.mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(g_program.cancelButton)), 0);
  ReleaseDC(g_program.statusText, dc);
}

// A window that counts the messages it gets, for the pump.
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 7) ++*reinterpret_cast<int*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(MainWindowState, PumpServesAtMostCountMessagesAndKeepsAQuit) {
  WNDCLASSA counting = {};
  counting.lpfnWndProc = CountingProc;
  counting.hInstance = g_program.instance;
  counting.lpszClassName = "QvCounting";
  RegisterClassA(&counting);
  HWND window = CreateWindowA("QvCounting", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_program.instance, nullptr);
  int served = 0;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&served));
  for (int i = 0; i < 6; ++i) PostMessageA(window, WM_USER + 7, 0, 0);
  PumpMessages(4);
  EXPECT_EQ(served, 4);
  PumpMessages(4);
  EXPECT_EQ(served, 6);
  PumpMessages(4);  // nothing waits: returns at once

  PostQuitMessage(3);
  PumpMessages(4);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
  DestroyWindow(window);
}

TEST_F(MainWindowState, TheWaitCursorIsUndoneToTheFirstCursorReplaced) {
  HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  SetCursor(arrow);
  SetWaitCursor(nullptr);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  SetWaitCursor(nullptr);
  RestoreCursor();
  EXPECT_EQ(GetCursor(), arrow);
  RestoreCursor();  // nothing saved: no change
  EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(MainWindowState, CenterWindowKeepsTheSizeAndUsesAThirdOfTheHeight) {
  HWND window = CreateWindowA("static", "", WS_POPUP, 5, 5, 301, 151, nullptr, nullptr, g_program.instance, nullptr);
  CenterWindow(window);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 301);
  EXPECT_EQ(r.bottom - r.top, 151);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 301) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 151) / 3);
  DestroyWindow(window);
}

}  // namespace

namespace {

TEST(Accelerators, MapEveryKeyToItsCommand) {
  ACCEL table[32];
  int count = CopyAcceleratorTableA(g_program.accelerators, table, 32);
  struct Key {
    BYTE flags;
    WORD key;
    WORD command;
  };
  const Key expected[] = {
      {FVIRTKEY, VK_F2, IDM_ENCODE_FILE},       {0, 3, IDM_ENCODE_CLIPBOARD},
      {FVIRTKEY | FSHIFT, VK_F2, IDM_ENCODE_MAIL}, {FVIRTKEY, VK_F3, IDM_DECODE_FILE},
      {0, 22, IDM_DECODE_CLIPBOARD},            {FVIRTKEY | FSHIFT, VK_F3, IDM_DECODE_MAIL},
      {FVIRTKEY, VK_F10, IDM_EXIT},             {FVIRTKEY, VK_F5, IDM_CFG_GENERAL},
      {FVIRTKEY, VK_F6, IDM_CFG_ENCODE},        {FVIRTKEY, VK_F7, IDM_CFG_DECODE},
      {FVIRTKEY, VK_F1, IDM_HELP_INDEX},        {FVIRTKEY | FSHIFT, VK_F1, IDM_ABOUT},
      {FVIRTKEY, VK_F9, IDM_SUPPORT},
  };
  ASSERT_EQ(count, static_cast<int>(sizeof expected / sizeof *expected));
  for (const Key& want : expected) {
    bool found = false;
    for (int i = 0; i < count; ++i)
      found |= table[i].key == want.key && table[i].cmd == want.command &&
               (table[i].fVirt & (FVIRTKEY | FSHIFT | FCONTROL | FALT)) == want.flags;
    EXPECT_TRUE(found) << "command " << want.command;
  }
}

}  // namespace
