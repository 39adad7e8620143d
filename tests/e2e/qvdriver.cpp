// qvdriver: the end-to-end tests' hands and eyes on the running program. Each call does one
// thing to a top-level window found by its class (and title) and prints what it read:
//   qvdriver wait CLASS [TITLE] [MS]        wait for the window; print its title
//   qvdriver gone CLASS [TITLE] [MS]        wait until it is gone
//   qvdriver children CLASS                 "id class x y w h visible enabled text" per child
//   qvdriver client CLASS                   "w h" of the client area
//   qvdriver resize CLASS W H               give the window this outer size
//   qvdriver menu CLASS EXE                 the menu bar and every item, one per line
//                                           (menus cannot be read across processes, so
//                                           the window is checked to have a menu and the
//                                           items are read from the program file's
//                                           "ZENTP32" menu that the window class loads)
//   qvdriver key CLASS VK                   post a key press (hex or decimal virtual key)
//   qvdriver command CLASS ID               post WM_COMMAND with this id
//   qvdriver dialog TITLE BUTTON [MS]       wait for a dialog, print its text, press BUTTON
//   qvdriver controls TITLE                 "id enabled checked text" per control of the
//                                           dialog with this title (a drop-down list's text
//                                           is its selected item)
//   qvdriver click TITLE ID                 click a control of the dialog (BM_CLICK), as the
//                                           mouse does: check boxes and radios change
//   qvdriver select TITLE ID TEXT           select the drop-down list item with this text
//                                           and tell the dialog, as a user's choice does
//   qvdriver settext TITLE ID TEXT          put this text into an edit control
// Exit code 0 on success, 1 when the window did not come (or go), 2 on bad usage.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/support/window_probe.h"

namespace {

const int kDefaultWaitMs = 10000;
const char kDialogClass[] = "#32770";

int Usage() {
  std::fprintf(stderr, "usage: qvdriver wait|gone|children|client|resize|menu|key|command|dialog|controls|click|select|settext ...\n");
  return 2;
}

const char* Arg(int argc, char** argv, int i) { return i < argc ? argv[i] : nullptr; }

int Number(const char* text, int fallback) { return text ? static_cast<int>(std::strtol(text, nullptr, 0)) : fallback; }

// Prints with the line breaks of a text shown as "\r\n" escapes, so each item is one line.
void PrintEscaped(const std::string& text) {
  for (char c : text) {
    if (c == '\r') std::fputs("\\r", stdout);
    else if (c == '\n') std::fputs("\\n", stdout);
    else if (c == '\t') std::fputs("\\t", stdout);
    else std::fputc(c, stdout);
  }
}

HWND MainWindowOf(const char* className) { return WaitForWindow(className, nullptr, 0, kDefaultWaitMs); }

int PrintChildren(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    char className[64];
    GetClassNameA(child, className, sizeof className);
    std::printf("%d %s %ld %ld %ld %ld %d %d ", GetDlgCtrlID(child), className, r.left, r.top,
                r.right - r.left, r.bottom - r.top, IsWindowVisible(child) ? 1 : 0,
                IsWindowEnabled(child) ? 1 : 0);
    PrintEscaped(WindowText(child));
    std::printf("\n");
  }
  return 0;
}

int PrintClient(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  std::printf("%ld %ld\n", r.right - r.left, r.bottom - r.top);
  return 0;
}

// "popup INDEX TYPEFLAGS TEXT" for the bar, "item ID STATE TEXT" or "separator" below it.
void PrintMenu(HMENU menu, bool bar) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (!GetMenuItemInfoA(menu, i, TRUE, &info)) {
      std::printf("unreadable %d\n", i);
      continue;
    }
    if (info.fType & MFT_SEPARATOR) {
      std::printf("separator\n");
    } else if (bar || info.hSubMenu) {
      std::printf("popup %d %s ", i, (info.fType & MFT_RIGHTJUSTIFY) ? "right" : "left");
      PrintEscaped(text);
      std::printf("\n");
    } else {
      std::printf("item %u %s ", info.wID, (info.fState & MFS_GRAYED) ? "grayed" : "enabled");
      PrintEscaped(text);
      std::printf("\n");
    }
    if (info.hSubMenu) PrintMenu(info.hSubMenu, false);
  }
}

int PrintProgramMenu(HWND window, const char* programFile) {
  if (!GetMenu(window) || !programFile) return 1;
  HMODULE program = LoadLibraryExA(programFile, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HMENU menu = program ? LoadMenuA(program, "ZENTP32") : nullptr;
  if (!menu) return 1;
  PrintMenu(menu, true);
  DestroyMenu(menu);
  FreeLibrary(program);
  return 0;
}

int PressKey(HWND window, int key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
  return 0;
}

int AnswerDialog(const char* title, int button, int waitMs) {
  HWND dialog = WaitForWindow(kDialogClass, title, 0, waitMs);
  if (!dialog) return 1;
  ProbedWindow read = ReadDialog(dialog);
  PrintEscaped(read.text);
  std::printf("\n");
  PressButton(dialog, button);
  return 0;
}

HWND DialogControl(const char* title, int argc, char** argv) {
  HWND dialog = WaitForWindow(kDialogClass, title, 0, kDefaultWaitMs);
  return dialog ? GetDlgItem(dialog, Number(Arg(argc, argv, 3), 0)) : nullptr;
}

// The text the control holds itself (an edit's contents, a drop-down list's selected item):
// asked with WM_GETTEXT, which GetWindowText does not send to another process's windows.
std::string ControlText(HWND control) {
  char text[512] = "";
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  return text;
}

int PrintControls(const char* title) {
  HWND dialog = WaitForWindow(kDialogClass, title, 0, kDefaultWaitMs);
  if (!dialog) return 1;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    int checked = static_cast<int>(SendMessageA(child, BM_GETCHECK, 0, 0)) == BST_CHECKED ? 1 : 0;
    std::printf("%d %d %d ", GetDlgCtrlID(child), IsWindowEnabled(child) ? 1 : 0, checked);
    PrintEscaped(ControlText(child));
    std::printf("\n");
  }
  return 0;
}

int ClickControl(const char* title, int argc, char** argv) {
  HWND control = DialogControl(title, argc, argv);
  if (!control) return 1;
  PostMessageA(control, BM_CLICK, 0, 0);
  return 0;
}

int SelectListItem(const char* title, int argc, char** argv) {
  HWND list = DialogControl(title, argc, argv);
  const char* text = Arg(argc, argv, 4);
  if (!list || !text) return 1;
  if (SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)) == CB_ERR ||
      ControlText(list) != text)
    return 1;
  PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  return 0;
}

int SetControlText(const char* title, int argc, char** argv) {
  HWND control = DialogControl(title, argc, argv);
  const char* text = Arg(argc, argv, 4);
  if (!control || !text) return 1;
  SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  return 0;
}

int RunOnWindow(const std::string& command, HWND window, int argc, char** argv) {
  if (command == "children") return PrintChildren(window);
  if (command == "client") return PrintClient(window);
  if (command == "resize") {
    SetWindowPos(window, nullptr, 0, 0, Number(Arg(argc, argv, 3), 0), Number(Arg(argc, argv, 4), 0),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  if (command == "menu") return PrintProgramMenu(window, Arg(argc, argv, 3));
  if (command == "key") return PressKey(window, Number(Arg(argc, argv, 3), 0));
  if (command == "command") {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(Number(Arg(argc, argv, 3), 0), 0), 0);
    return 0;
  }
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // "\n" alone ends a line, as the scripts expect
  if (argc < 3) return Usage();
  std::string command = argv[1];
  const char* target = argv[2];
  if (command == "dialog")
    return AnswerDialog(target, Number(Arg(argc, argv, 3), IDOK), Number(Arg(argc, argv, 4), kDefaultWaitMs));
  if (command == "controls") return PrintControls(target);
  if (command == "click") return ClickControl(target, argc, argv);
  if (command == "select") return SelectListItem(target, argc, argv);
  if (command == "settext") return SetControlText(target, argc, argv);
  if (command == "wait" || command == "gone") {
    const char* title = Arg(argc, argv, 3);
    if (title && !*title) title = nullptr;
    int waitMs = Number(Arg(argc, argv, 4), kDefaultWaitMs);
    if (command == "gone") return WaitForWindowGone(target, title, waitMs) ? 0 : 1;
    HWND window = WaitForWindow(target, title, 0, waitMs);
    if (!window) return 1;
    PrintEscaped(WindowText(window));
    std::printf("\n");
    return 0;
  }
  HWND window = MainWindowOf(target);
  if (!window) return 1;
  return RunOnWindow(command, window, argc, argv);
}
