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
//   qvdriver answer TITLE BUTTON [MS]       as dialog, then wait until the dialog has acted on
//                                           the button: it is gone, or disabled under a
//                                           message box of its own
//   qvdriver controls TITLE [MS]            wait for a dialog; its children as "children" prints
//   qvdriver items TITLE ID                 the items of the dialog's combo box ID, one per
//                                           line, the selected one as "* TEXT", others "  TEXT"
//   qvdriver choose TITLE ID TEXT           select the item TEXT in the dialog's combo box ID
//   qvdriver dialogkey TITLE VK             post a key press to the dialog (Enter 13, Escape 27)
//   qvdriver settext TITLE ID TEXT          set the text of the dialog's control ID
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
const int kActedPollMs = 10;
const char kDialogClass[] = "#32770";

int Usage() {
  std::fprintf(stderr, "usage: qvdriver wait|gone|children|client|resize|menu|key|command|dialog|answer|controls|items|choose|\n"
               "dialogkey|settext ...\n");
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

int AnswerDialog(const char* title, int button, int waitMs, bool untilActed = false) {
  HWND dialog = WaitForWindow(kDialogClass, title, 0, waitMs);
  if (!dialog) return 1;
  ProbedWindow read = ReadDialog(dialog);
  PrintEscaped(read.text);
  std::printf("\n");
  PressButton(dialog, button);
  if (untilActed) {
    // The next command must not find this dialog again while it is still closing.
    for (int waited = 0; waited < kDefaultWaitMs; waited += kActedPollMs) {
      if (!IsWindow(dialog) || !IsWindowVisible(dialog) || !IsWindowEnabled(dialog)) return 0;
      Sleep(kActedPollMs);
    }
    return 1;
  }
  return 0;
}

HWND DialogTitled(const char* title, int waitMs) { return WaitForWindow(kDialogClass, title, 0, waitMs); }

int PrintDialogControls(const char* title, int waitMs) {
  HWND dialog = DialogTitled(title, waitMs);
  return dialog ? PrintChildren(dialog) : 1;
}

int PrintComboItems(const char* title, int id) {
  HWND dialog = DialogTitled(title, kDefaultWaitMs);
  HWND list = dialog ? GetDlgItem(dialog, id) : nullptr;
  if (!list) return 1;
  const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
  const int selected = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
  for (int i = 0; i < count; ++i) {
    // Wine hands the item text of another process's list over in full only to the wide call.
    wchar_t wide[256] = L"";
    char text[256] = "";
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length >= 0 && length < 256) {
      SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
      WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    }
    std::printf("%s ", i == selected ? "*" : " ");
    PrintEscaped(text);
    std::printf("\n");
  }
  return 0;
}

// Selects as a click in the list would: the selection, then CBN_SELCHANGE to the dialog.
int ChooseComboItem(const char* title, int id, const char* text) {
  HWND dialog = DialogTitled(title, kDefaultWaitMs);
  HWND list = dialog ? GetDlgItem(dialog, id) : nullptr;
  if (!list || !text) return 1;
  const LRESULT index =
      SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  if (index < 0) return 1;
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  return 0;
}

int PressDialogKey(const char* title, int key) {
  HWND dialog = DialogTitled(title, kDefaultWaitMs);
  return dialog ? PressKey(dialog, key) : 1;
}

int SetControlText(const char* title, int id, const char* text) {
  HWND dialog = DialogTitled(title, kDefaultWaitMs);
  HWND control = dialog ? GetDlgItem(dialog, id) : nullptr;
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
  if (command == "answer")
    return AnswerDialog(target, Number(Arg(argc, argv, 3), IDOK), Number(Arg(argc, argv, 4), kDefaultWaitMs), true);
  if (command == "controls") return PrintDialogControls(target, Number(Arg(argc, argv, 3), kDefaultWaitMs));
  if (command == "items") return PrintComboItems(target, Number(Arg(argc, argv, 3), 0));
  if (command == "choose") return ChooseComboItem(target, Number(Arg(argc, argv, 3), 0), Arg(argc, argv, 4));
  if (command == "dialogkey") return PressDialogKey(target, Number(Arg(argc, argv, 3), 0));
  if (command == "settext") return SetControlText(target, Number(Arg(argc, argv, 3), 0), Arg(argc, argv, 4));
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
