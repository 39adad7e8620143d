#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <initializer_list>

#include "app/busy.h"
#include "app/commands.h"
#include "app/program.h"
#include "app/status.h"
#include "app/window_dpi.h"
#include "core/help_viewer.h"
#include "core/job_state.h"
#include "core/settings.h"
#include "resources/resource.h"

namespace {

const char kWindowTitle[] = "Quorvane 32";
const DWORD kControlStyle = WS_CHILD | WS_VISIBLE;
const int kStatusLines = 2;  // a job's status: what it does, then the file names
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

struct ControlPlace {
  int x, y, width, height;
};

// The layout rules of the client area; all divisions are integer divisions.
ControlPlace StatusPlace(int w, int h) { return {0, 0, w, h / 3}; }
ControlPlace ProgressPlace(int w, int h) { return {0, h - h / 4, w, h / 4}; }
ControlPlace CancelPlace(int w, int h) { return {3 * (w / 8), 3 * (h / 8), 2 * (w / 8), 2 * (h / 8)}; }

HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, int id,
                   const ControlPlace& place) {
  return CreateWindowExA(0, className, text, style, place.x, place.y, place.width, place.height,
                         parent, reinterpret_cast<HMENU>(static_cast<LONG_PTR>(id)),
                         g_program.instance, nullptr);
}

void MoveControl(HWND control, const ControlPlace& place) {
  MoveWindow(control, place.x, place.y, place.width, place.height, TRUE);
}

void CreateControls(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  int w = client.right - client.left, h = client.bottom - client.top;
  g_program.progressBar =
      CreateControl(window, PROGRESS_CLASSA, "", kControlStyle, IDC_PROGRESS_BAR, ProgressPlace(w, h));
  g_program.statusText = CreateControl(window, "static", "", kControlStyle | SS_CENTER | SS_SUNKEN,
                                       IDC_STATUS_TEXT, StatusPlace(w, h));
  g_program.cancelButton = CreateControl(window, "button", "Cancel", WS_CHILD | WS_DISABLED,
                                         IDC_CANCEL_BUTTON, CancelPlace(w, h));
}

// The message font at the window's DPI, in place of the old one: the controls' text follows
// the window from screen to screen.
void SetControlFont(UINT dpi) {
  HFONT old = g_program.controlFont;
  g_program.controlFont = CreateMessageFont(dpi);
  for (HWND control : {g_program.statusText, g_program.cancelButton})
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_program.controlFont), TRUE);
  if (old) DeleteObject(old);
}

// The status text takes a third of the client area: a window made a third of the screen high
// may leave it too low for its lines at a high DPI (where the title and menu bars grow too).
void MakeRoomForStatus(HWND window) {
  const int statusHeight = kStatusLines * FontLineHeight(g_program.controlFont) + 2 * GetSystemMetrics(SM_CYEDGE);
  const int neededClient = 3 * statusHeight + 2;  // the layout's integer divisions lose up to 2
  RECT outer, client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  if (client.bottom >= neededClient) return;
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top + neededClient - client.bottom;
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
  SetControlFont(HIWORD(wParam));
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

void AddSystemMenuItems(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_SYS_ENCODE, "&Encode...");
  AppendMenuA(menu, MF_STRING, IDM_SYS_DECODE, "&Decode...");
  DrawMenuBar(window);
}

LRESULT OnCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_program.mainWindow = window;
  CreateControls(window);
  SetControlFont(WindowDpi(window));
  AddSystemMenuItems(window);
  SetBusy(window, false);
  g_job.resultRemark[0] = '\0';
  g_job.qualifiedResult = false;
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnSize(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (wParam == SIZE_MINIMIZED) return DefWindowProcA(window, message, wParam, lParam);
  LayoutControls(LOWORD(lParam), HIWORD(lParam));
  return 0;
}

LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != g_program.statusText) return 0;
  SetBkColor(reinterpret_cast<HDC>(wParam), g_program.faceColor);
  return reinterpret_cast<LRESULT>(g_program.faceBrush);
}

// The class background is the face brush too, so the new brush replaces it there before
// the old one is deleted; otherwise the window would erase with a deleted brush.
LRESULT OnSysColorChange(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_program.faceColor = GetSysColor(COLOR_BTNFACE);
  HBRUSH old = g_program.faceBrush;
  g_program.faceBrush = CreateSolidBrush(g_program.faceColor);
  SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(g_program.faceBrush));
  DeleteObject(old);
  SendMessageA(g_program.progressBar, WM_SYSCOLORCHANGE, wParam, lParam);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_ALLCHILDREN);
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (wParam != STATUS_TIMER) return DefWindowProcA(window, message, wParam, lParam);
  ShowPendingStatus();
  return 0;
}

LRESULT OnClose(HWND window) {
  CloseHelp(window, g_program.helpPath);
  DestroyWindow(window);
  return 0;
}

LRESULT OnDestroy() {
  g_program.mainWindow = nullptr;
  DeleteObject(g_program.controlFont);  // the controls go with the window and paint no more
  g_program.controlFont = nullptr;
  PostQuitMessage(0);
  return 0;
}

LRESULT OnQueryEndSession() {
  RequestCancelAndQuit();
  return g_job.busy ? FALSE : TRUE;
}

// A close from the system menu during a job asks the job to stop and comes back after it.
LRESULT OnSysCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  UINT command = static_cast<UINT>(wParam & 0xFFF0);
  if (command == IDM_SYS_ENCODE) return OnMenuCommand(window, IDM_ENCODE_FILE);
  if (command == IDM_SYS_DECODE) return OnMenuCommand(window, IDM_DECODE_FILE);
  if (command == SC_CLOSE && g_job.busy) {
    RequestCancelAndQuit();
    PostMessageA(window, message, wParam, lParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterMainClass(HINSTANCE instance) {
  g_program.faceBrush = CreateSolidBrush(g_program.faceColor);
  WNDCLASSA windowClass = {};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, kResourceName);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = g_program.faceBrush;
  windowClass.lpszMenuName = kResourceName;
  windowClass.lpszClassName = kMainClassName;
  return RegisterClassA(&windowClass) != 0;
}

void UnregisterMainClass(HINSTANCE instance) {
  UnregisterClassA(kMainClassName, instance);
  DeleteObject(g_program.faceBrush);
  g_program.faceBrush = nullptr;
}

HWND CreateMainWindow(HINSTANCE instance, int show) {
  InitCommonControls();
  int width = GetSystemMetrics(SM_CXSCREEN) * 2 / 3;
  int height = GetSystemMetrics(SM_CYSCREEN) / 3;
  g_program.accelerators = LoadAcceleratorsA(instance, kResourceName);
  g_program.waitCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
  HWND window = CreateWindowExA(0, kMainClassName, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, width, height, nullptr, nullptr, instance, nullptr);
  if (!window) return nullptr;
  MakeRoomForStatus(window);
  ShowWindow(window, show);
  UpdateWindow(window);
  LoadSettings();
  return window;
}

void LayoutControls(int w, int h) {
  MoveControl(g_program.progressBar, ProgressPlace(w, h));
  MoveControl(g_program.statusText, StatusPlace(w, h));
  MoveControl(g_program.cancelButton, CancelPlace(w, h));
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(window, message, wParam, lParam);
    case WM_SIZE: return OnSize(window, message, wParam, lParam);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(wParam, lParam);
    case WM_SYSCOLORCHANGE: return OnSysColorChange(window, message, wParam, lParam);
    case WM_COMMAND: return OnMenuCommand(window, LOWORD(wParam));
    case WM_SYSCOMMAND: return OnSysCommand(window, message, wParam, lParam);
    case WM_DPICHANGED: return OnDpiChanged(window, wParam, lParam);
    case WM_DROPFILES: return OnDroppedFiles(window, reinterpret_cast<HDROP>(wParam));
    case WM_INITMENUPOPUP: return OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
    case WM_TIMER: return OnTimer(window, message, wParam, lParam);
    case UM_ENCODE_FILE:
    case UM_DECODE_FILE:
    case UM_NEXT_INPUT:
    case UM_ASSOCIATE_AND_EXIT: return OnJobMessage(window, message, wParam, lParam);
    case WM_CLOSE: return OnClose(window);
    case WM_DESTROY: return OnDestroy();
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}
