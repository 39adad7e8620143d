// shellhost: plays Explorer for the end-to-end tests. Creates the context-menu handler that
// is registered for all files, hands it the files as a shell data object, builds its menu and
// chooses a command, as a user's click would:
//   shellhost invoke OFFSET FILE...   prints the menu's result and the command's HRESULT
//   shellhost clipboard               prints the clipboard's text
// Exit code 0 when the command succeeded, 1 when it failed, 2 on bad usage.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/shellext/shell_selection.h"
#include "tests/support/clipboard_access.h"

#include <shellapi.h>  // after windows.h

namespace {

const UINT kFirstCommand = 1;

int Invoke(UINT offset, const std::vector<std::wstring>& files) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  IDataObject* selection = SelectFiles(files);
  IContextMenu* handler = selection ? CreateMenuHandler(selection) : nullptr;
  if (selection) selection->Release();
  if (!handler) {
    std::printf("no handler\n");
    return 1;
  }
  HMENU menu = CreatePopupMenu();
  HRESULT added = handler->QueryContextMenu(menu, 0, kFirstCommand, kFirstCommand + 0x7FFF, CMF_NORMAL);
  CMINVOKECOMMANDINFO info = {};
  info.cbSize = sizeof info;
  info.lpVerb = MAKEINTRESOURCEA(offset);
  info.nShow = SW_SHOWNORMAL;
  HRESULT result = handler->InvokeCommand(&info);
  std::printf("menu %d invoke 0x%08lx\n", static_cast<int>(HRESULT_CODE(added)), static_cast<unsigned long>(result));
  DestroyMenu(menu);
  handler->Release();
  CoUninitialize();
  return SUCCEEDED(result) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::string command = argc > 1 ? argv[1] : "";
  if (command == "clipboard") {
    bool present = false;
    std::string text = ClipboardText(&present);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return present ? 0 : 1;
  }
  if (command == "invoke" && argc > 3) {
    // The files as the wide command line names them, as Explorer holds names.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> files(wide + 3, wide + count);
    LocalFree(wide);
    return Invoke(static_cast<UINT>(std::strtoul(argv[2], nullptr, 0)), files);
  }
  std::fprintf(stderr, "usage: shellhost invoke OFFSET FILE... | shellhost clipboard\n");
  return 2;
}
