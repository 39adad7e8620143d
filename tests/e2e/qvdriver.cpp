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
//   qvdriver listview TITLE ID              the rows of list view ID of the dialog TITLE,
//                                           one a line: "icon=N" then every cell, tab-separated
//   qvdriver select TITLE ID ROW...         select these rows of that list view (its own
//                                           notifications follow, as with a mouse click)
// The list views live in the program's memory: their records go through a block of it.
// Exit code 0 on success, 1 when the window did not come (or go), 2 on bad usage.
#include <windows.h>

#include <commctrl.h>

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
  std::fprintf(stderr, "usage: qvdriver wait|gone|children|client|resize|menu|key|command|dialog ...\n");
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
  if (command == "listview") return PrintListView(target, Number(Arg(argc, argv, 3), 0));
  if (command == "select") return SelectRows(target, Number(Arg(argc, argv, 3), 0), argc, argv, 4);
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
