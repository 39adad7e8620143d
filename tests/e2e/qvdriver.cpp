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
//   qvdriver press CLASS ID                 click the child button with this id, as a mouse does
//   qvdriver progress CLASS                 the position of the window's progress bar
//   qvdriver dialog TITLE BUTTON [MS]       wait for a dialog, print its text, press BUTTON
//   qvdriver char CLASS CODE                post a typed character (3 is Ctrl+C, 22 Ctrl+V)
//   qvdriver choose TITLE TEXT...           wait for an open or save dialog; for each TEXT,
//                                           type it into the file-name box and press OK
//                                           (a folder first moves there; then `"a" "b"`
//                                           selects several files of that folder)
//   qvdriver clipboard set|get|empty [FILE] put FILE's bytes on the clipboard as text, print
//                                           the clipboard's text as it is, or empty it
//                                           (exit code 1 from get when it holds no text)
//   qvdriver drop CLASS PATH...             send WM_DROPFILES with these paths; the block is
//                                           written into the program's own memory, since a
//                                           memory handle does not cross processes
//   qvdriver menustate CLASS EXE POPUP ID   open the menu bar's popup POPUP (0 = first) in
//                                           the program, print "grayed" or "enabled" for
//                                           item ID as the open menu shows it, close it.
//                                           A menu's state cannot be read across processes,
//                                           so it is read from the screen: the popup's text
//                                           rows are found in its pixels, the row of item ID
//                                           taken by its place in EXE's "ZENTP32" menu, and
//                                           black text there means enabled, gray grayed
//                                           (the first item opens selected, in other
//                                           colours: ask about the others). Opening the
//                                           menu sends the program WM_INITMENUPOPUP
//   qvdriver answer TITLE BUTTON [MS]       as dialog, then wait until the dialog has acted on
//                                           the button: it is gone, or disabled under a
//                                           message box of its own
//   qvdriver controls TITLE [MS]            wait for a dialog; its children as "children" prints
//   qvdriver layout TITLE                   check the dialog and its visible controls: it lies
//                                           on its screen, each control in its client area, no two overlap (but for what lies
//                                           wholly in a group box); prints "WxH N controls" or
//                                           every fault, exit code 1. (Texts are not measured:
//                                           a font does not cross processes; see screenshots)
//   qvdriver items TITLE ID                 the items of the dialog's combo box ID, one per
//                                           line, the selected one as "* TEXT", others "  TEXT"
//   qvdriver select TITLE ID TEXT           select the item TEXT in the dialog's combo box ID
//   qvdriver dialogkey TITLE VK             post a key press to the dialog (Enter 13, Escape 27)
//   qvdriver settext TITLE ID TEXT          set the text of the dialog's control ID
//   qvdriver state TITLE                    "id enabled checked text" per control of the
//                                           dialog with this title (a drop-down list's text
//                                           is its selected item)
//   qvdriver click TITLE ID                 click a control of the dialog (BM_CLICK), as the
//                                           mouse does: check boxes and radios change
//   qvdriver listview TITLE ID              the rows of list view ID of the dialog TITLE,
//                                           one a line: "icon=N" then every cell, tab-separated
//   qvdriver windows CLASS                  every visible top-level window of this class ("*" for
//                                           all) as "class: title", then the texts of its
//                                           children: what a program that does not end shows
//   qvdriver rows TITLE ID ROW...           select these rows of that list view (its own
//                                           notifications follow, as with a mouse click)
// The list views live in the program's memory: their records go through a block of it.
// Exit code 0 on success, 1 when the window did not come (or go), 2 on bad usage.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/window_probe.h"

namespace {

const int kDefaultWaitMs = 10000;
const int kActedPollMs = 10;
const char kDialogClass[] = "#32770";
// The file-name box of the open and save dialogs: the combo box's edit field of the
// explorer-style dialog, or the plain edit field.
const int kFileNameCombo = 0x47c;
const int kFileNameEdit = 0x480;
// How long pressing OK in a file dialog may take (moving to a folder reads it).
const UINT kPressTimeoutMs = 5000;

int Usage() {
  std::fprintf(stderr,
               "usage: qvdriver wait|gone|children|client|resize|menu|key|char|command|press|progress|dialog|choose|"
               "clipboard|drop|menustate|answer|controls|items|select|dialogkey|settext|state|click|listview|rows|windows ...\n");
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

int PrintProgress(HWND window) {
  HWND bar = FindWindowExA(window, nullptr, PROGRESS_CLASSA, nullptr);
  if (!bar) return 1;
  std::printf("%d\n", static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)));
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

struct PlacedControl {
  int id;
  RECT place;  // in the dialog's client coordinates
  bool groupBox;
};

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

int CheckDialogLayout(const char* title) {
  HWND dialog = DialogTitled(title, kDefaultWaitMs);
  if (!dialog) return 1;
  RECT client, outer;
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &outer);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  int faults = 0;
  if (GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor) && !Inside(outer, monitor.rcMonitor))
    faults += std::printf("off the screen: %ld %ld %ld %ld\n", outer.left, outer.top, outer.right, outer.bottom) > 0;
  std::vector<PlacedControl> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    PlacedControl c = {GetDlgCtrlID(child), {}, false};
    GetWindowRect(child, &c.place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&c.place), 2);
    char className[16];
    GetClassNameA(child, className, sizeof className);
    c.groupBox = lstrcmpiA(className, "Button") == 0 && (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    if (!Inside(c.place, client)) faults += std::printf("outside: %d\n", c.id) > 0;
    controls.push_back(c);
  }
  for (size_t i = 0; i < controls.size(); ++i)
    for (size_t j = i + 1; j < controls.size(); ++j) {
      const PlacedControl &a = controls[i], &b = controls[j];
      RECT common;
      if (!IntersectRect(&common, &a.place, &b.place)) continue;
      if ((a.groupBox && Inside(b.place, a.place)) || (b.groupBox && Inside(a.place, b.place))) continue;
      faults += std::printf("overlap: %d %d\n", a.id, b.id) > 0;
    }
  if (faults) return 1;
  std::printf("%ldx%ld %d controls\n", client.right, client.bottom, static_cast<int>(controls.size()));
  return 0;
}

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

int TypeChar(HWND window, int code) {
  PostMessageA(window, WM_CHAR, code, 1);
  return 0;
}

// Types each text into the file-name box and presses OK, waiting for the dialog to have
// taken it before the next: a text typed while the dialog still moves to a folder would be
// read by that move.
int ChooseInFileDialog(const char* title, int count, char** texts) {
  HWND dialog = WaitForWindow(kDialogClass, title, 0, kDefaultWaitMs);
  if (!dialog) return 1;
  for (int i = 0; i < count; ++i) {
    HWND field = GetDlgItem(dialog, kFileNameCombo);
    if (!field) field = GetDlgItem(dialog, kFileNameEdit);
    if (!field) return 1;
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(texts[i]));
    DWORD_PTR ignored;
    SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)), SMTO_NORMAL, kPressTimeoutMs,
                        &ignored);
  }
  return 0;
}

bool OpenClipboardPatiently() {
  for (int i = 0; i < 50; ++i) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(20);
  }
  return false;
}

// The clipboard's text exactly as it is, without the closing NUL.
int PrintClipboard() {
  if (!OpenClipboardPatiently()) return 1;
  int code = 1;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* text = static_cast<const char*>(GlobalLock(data))) {
      std::fwrite(text, 1, std::strlen(text), stdout);
      GlobalUnlock(data);
      code = 0;
    }
  }
  CloseClipboard();
  return code;
}

// Empties the clipboard, then puts `text` there unless it is null.
int SetClipboard(const std::string* text) {
  if (!OpenClipboardPatiently()) return 1;
  bool ok = EmptyClipboard() != 0;
  if (ok && text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text->size() + 1);
    char* copy = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr;
    ok = copy != nullptr;
    if (ok) {
      std::memcpy(copy, text->c_str(), text->size() + 1);
      GlobalUnlock(memory);
      ok = SetClipboardData(CF_TEXT, memory) != nullptr;
    }
    if (!ok && memory) GlobalFree(memory);
  }
  CloseClipboard();
  return ok ? 0 : 1;
}

int RunClipboard(const char* action, const char* file) {
  if (std::strcmp(action, "get") == 0) return PrintClipboard();
  if (std::strcmp(action, "empty") == 0) return SetClipboard(nullptr);
  if (std::strcmp(action, "set") != 0 || !file) return Usage();
  std::ifstream in(file, std::ios::binary);
  if (!in) return 1;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return SetClipboard(&text);
}

// A DROPFILES block as the shell makes it: the header, the ANSI names, an empty name.
std::string DropBlock(int count, char** paths) {
  DROPFILES header = {};
  header.pFiles = sizeof header;
  std::string block(reinterpret_cast<const char*>(&header), sizeof header);
  for (int i = 0; i < count; ++i) block.append(paths[i], std::strlen(paths[i]) + 1);
  block += '\0';
  return block;
}

int DropFiles(HWND window, int count, char** paths) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return 1;
  const std::string block = DropBlock(count, paths);
  // Left to the program: it releases the drop itself, and the rest goes with the process.
  void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool written = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
  CloseHandle(process);
  if (!written) return 1;
  PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  return 0;
}

const char kPopupMenuClass[] = "#32768";
const int kMinTextRowHeight = 5;  // thinner bands are separators' lines
const int kBlackLevel = 0x40;     // no channel above: enabled text; gray text stays above

// The place of item `id` among the items (separators not counted) of popup `popup` of the
// program file's menu; -1 when it is not there.
int TextItemOrdinal(const char* programFile, int popup, int id) {
  HMODULE program = LoadLibraryExA(programFile, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HMENU bar = program ? LoadMenuA(program, "ZENTP32") : nullptr;
  HMENU menu = bar ? GetSubMenu(bar, popup) : nullptr;
  int ordinal = -1, seen = 0;
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) continue;
    if (GetMenuItemID(menu, i) == static_cast<UINT>(id)) ordinal = seen;
    ++seen;
  }
  if (bar) DestroyMenu(bar);
  if (program) FreeLibrary(program);
  return ordinal;
}

// The popup's pixels, copied from the screen, as 32-bit 0x00RRGGBB rows.
std::vector<DWORD> ScreenPixels(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<DWORD> pixels(static_cast<size_t>(w) * h);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

struct TextBand {
  int top, height;
  bool black;  // some pixel of it is (near) black
};

bool IsBlack(DWORD pixel) {
  return ((pixel >> 16) & 0xff) < kBlackLevel && ((pixel >> 8) & 0xff) < kBlackLevel && (pixel & 0xff) < kBlackLevel;
}

// The bands of rows that differ from the background (the colour of the popup's last
// column, which the item texts never reach), inside the popup's frame.
std::vector<TextBand> TextBands(const std::vector<DWORD>& pixels, int w, int h) {
  const int frame = GetSystemMetrics(SM_CYEDGE) + 1;
  std::vector<TextBand> bands;
  bool open = false;
  for (int y = frame; y < h - frame; ++y) {
    const DWORD background = pixels[static_cast<size_t>(y) * w + (w - frame - 1)];
    bool marked = false, black = false;
    for (int x = frame; x < w - frame; ++x) {
      const DWORD pixel = pixels[static_cast<size_t>(y) * w + x];
      if (pixel != background) marked = true;
      if (IsBlack(pixel)) black = true;
    }
    if (marked && !open) bands.push_back({y, 0, false});
    if (marked) {
      bands.back().height++;
      bands.back().black = bands.back().black || black;
    }
    open = marked;
  }
  std::vector<TextBand> texts;
  for (const TextBand& band : bands)
    if (band.height >= kMinTextRowHeight) texts.push_back(band);
  return texts;
}

HWND OpenPopup(HWND window, int popup) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
  for (int i = 0; i < popup; ++i) PostMessageA(window, WM_KEYDOWN, VK_RIGHT, 0);
  PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
  return WaitForWindow(kPopupMenuClass, nullptr, processId, kDefaultWaitMs);
}

void ClosePopup(HWND window, HWND popup) {
  for (int i = 0; i < 2; ++i) {
    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(100);
  }
}

int PrintMenuItemState(HWND window, const char* programFile, int popupIndex, int id) {
  const int ordinal = programFile ? TextItemOrdinal(programFile, popupIndex, id) : -1;
  if (ordinal < 0) return Usage();
  HWND popup = OpenPopup(window, popupIndex);
  if (!popup) return 1;
  Sleep(300);  // drawn
  RECT r;
  GetWindowRect(popup, &r);
  const std::vector<TextBand> bands = TextBands(ScreenPixels(r), r.right - r.left, r.bottom - r.top);
  ClosePopup(window, popup);

  if (ordinal >= static_cast<int>(bands.size())) {
    std::fprintf(stderr, "the open menu shows %u text rows\n", static_cast<unsigned>(bands.size()));
    return 1;
  }
  std::printf("%s\n", bands[ordinal].black ? "enabled" : "grayed");
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

// A block of memory in the process of `window`, for messages whose records hold pointers.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, size_t size) : size_(size) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (process_) at_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  }
  ~RemoteBlock() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  bool ok() const { return at_ != nullptr; }
  char* at() const { return at_; }
  void Write(const void* data, size_t size, size_t offset = 0) {
    WriteProcessMemory(process_, at_ + offset, data, size, nullptr);
  }
  void Read(void* data, size_t size, size_t offset = 0) {
    ReadProcessMemory(process_, at_ + offset, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  char* at_ = nullptr;
  size_t size_;
};

const size_t kCellRoom = 512;

HWND DialogListView(const char* title, int id) {
  HWND dialog = WaitForWindow(kDialogClass, title, 0, kDefaultWaitMs);
  return dialog ? GetDlgItem(dialog, id) : nullptr;
}

std::string RemoteCell(HWND list, RemoteBlock& block, int row, int column) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = block.at() + sizeof item;
  item.cchTextMax = kCellRoom;
  block.Write(&item, sizeof item);
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block.at()));
  char text[kCellRoom] = "";
  block.Read(text, sizeof text - 1, sizeof item);
  return text;
}

int RemoteIcon(HWND list, RemoteBlock& block, int row) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  block.Write(&item, sizeof item);
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block.at()));
  block.Read(&item, sizeof item);
  return item.iImage;
}

int PrintListView(const char* title, int id) {
  HWND list = DialogListView(title, id);
  if (!list) return 1;
  RemoteBlock block(list, sizeof(LVITEMA) + kCellRoom);
  if (!block.ok()) return 1;
  const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  const int columns = static_cast<int>(SendMessageA(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)),
                                                    HDM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    std::printf("icon=%d", RemoteIcon(list, block, row));
    for (int column = 0; column < columns; ++column) {
      std::printf("\t");
      PrintEscaped(RemoteCell(list, block, row, column));
    }
    std::printf("\n");
  }
  return 0;
}

int SelectRows(const char* title, int id, int argc, char** argv, int first) {
  HWND list = DialogListView(title, id);
  if (!list) return 1;
  RemoteBlock block(list, sizeof(LVITEMA));
  if (!block.ok()) return 1;
  for (int i = first; i < argc; ++i) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    block.Write(&item, sizeof item);
    SendMessageA(list, LVM_SETITEMSTATE, Number(argv[i], 0), reinterpret_cast<LPARAM>(block.at()));
  }
  return 0;
}

BOOL CALLBACK PrintTopWindow(HWND window, LPARAM className) {
  char found[64];
  GetClassNameA(window, found, sizeof found);
  const char* wanted = reinterpret_cast<const char*>(className);
  if (!IsWindowVisible(window) || (std::strcmp(wanted, "*") != 0 && std::strcmp(wanted, found) != 0)) return TRUE;
  std::printf("%s: ", found);
  PrintEscaped(WindowText(window));
  std::printf("\n");
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (WindowText(child).empty()) continue;
    std::printf("  ");
    PrintEscaped(WindowText(child));
    std::printf("\n");
  }
  return TRUE;
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
  if (command == "char") return TypeChar(window, Number(Arg(argc, argv, 3), 0));
  if (command == "drop") return argc > 3 ? DropFiles(window, argc - 3, argv + 3) : Usage();
  if (command == "menustate")
    return PrintMenuItemState(window, Arg(argc, argv, 3), Number(Arg(argc, argv, 4), 0), Number(Arg(argc, argv, 5), 0));
  if (command == "progress") return PrintProgress(window);
  if (command == "press") {
    HWND button = GetDlgItem(window, Number(Arg(argc, argv, 3), 0));
    if (!button) return 1;
    PostMessageA(button, BM_CLICK, 0, 0);
    return 0;
  }
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
  if (command == "choose") return argc > 3 ? ChooseInFileDialog(target, argc - 3, argv + 3) : Usage();
  if (command == "clipboard") return RunClipboard(target, Arg(argc, argv, 3));
  if (command == "answer")
    return AnswerDialog(target, Number(Arg(argc, argv, 3), IDOK), Number(Arg(argc, argv, 4), kDefaultWaitMs), true);
  if (command == "layout") return CheckDialogLayout(target);
  if (command == "controls") return PrintDialogControls(target, Number(Arg(argc, argv, 3), kDefaultWaitMs));
  if (command == "items") return PrintComboItems(target, Number(Arg(argc, argv, 3), 0));
  if (command == "select") return ChooseComboItem(target, Number(Arg(argc, argv, 3), 0), Arg(argc, argv, 4));
  if (command == "dialogkey") return PressDialogKey(target, Number(Arg(argc, argv, 3), 0));
  if (command == "settext") return SetControlText(target, Number(Arg(argc, argv, 3), 0), Arg(argc, argv, 4));
  if (command == "state") return PrintControls(target);
  if (command == "click") return ClickControl(target, argc, argv);
  if (command == "listview") return PrintListView(target, Number(Arg(argc, argv, 3), 0));
  if (command == "windows") return EnumWindows(PrintTopWindow, reinterpret_cast<LPARAM>(target)) ? 0 : 1;
  if (command == "rows") return SelectRows(target, Number(Arg(argc, argv, 3), 0), argc, argv, 4);
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
