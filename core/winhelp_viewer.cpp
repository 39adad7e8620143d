// The Windows Help viewer (winhlp32.exe), started at a topic by its own command line.
#include <cstdio>

#include "core/help_viewer.h"

#ifdef _WIN32
namespace {

const char kViewerClass[] = "MS_WINHELP";
const char kViewerProgram[] = "winhlp32.exe";
const int kViewerStartMs = 15000;
const int kViewerQuitMs = 3000;
const DWORD kPumpStepMs = 50;
enum { VIEWER_LINE_ROOM = 600 };  // the viewer path and the help path have at most 260 characters each

// Serves this thread's waiting messages for up to `ms`, or until `done` says so.
template <typename Done>
bool PumpUntil(int ms, Done done) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPumpStepMs, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return true;
}

bool ViewerOpen() { return FindWindowA(kViewerClass, nullptr) != nullptr; }


// `name` in the folder that `getFolder` gives, when the file is there.
bool FileInFolder(UINT(WINAPI* getFolder)(LPSTR, UINT), const char* name, char* path, size_t room) {
  const UINT folder = getFolder(path, static_cast<UINT>(room));
  if (folder == 0 || folder >= room) return false;
  const int length = std::snprintf(path + folder, room - folder, "\\%s", name);
  return length > 0 && static_cast<size_t>(length) < room - folder &&
         GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The viewer is started by its full path, in the Windows folder or else in the system folder
// (where 64-bit Wine keeps it): a bare name would be looked for in the current folder first,
// where anybody's "winhlp32.exe" may lie.
bool ViewerPath(char* path, size_t room) {
  return FileInFolder(GetWindowsDirectoryA, kViewerProgram, path, room) ||
         FileInFolder(GetSystemDirectoryA, kViewerProgram, path, room);
}

bool StartViewer(const char* helpFile, const char* keyword, HANDLE* process) {
  char viewer[MAX_PATH];
  if (!ViewerPath(viewer, sizeof viewer)) return false;
  char line[VIEWER_LINE_ROOM];
  int length;
  const char* id = keyword ? HelpTopicId(keyword) : nullptr;
  if (id) {
    length = std::snprintf(line, sizeof line, "\"%s\" -i %s \"%s\"", viewer, id, helpFile);
  } else {
    length = std::snprintf(line, sizeof line, "\"%s\" \"%s\"", viewer, helpFile);
  }
  if (length < 0 || length >= static_cast<int>(sizeof line)) return false;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(viewer, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return false;
  CloseHandle(started.hThread);
  *process = started.hProcess;
  return true;
}

}  // namespace

void CloseWinHelp(HWND owner, const char* helpFile) { WinHelpA(owner, helpFile, HELP_QUIT, 0); }

bool OpenWinHelpTopic(HWND owner, const char* helpFile, const char* keyword) {
  if (ViewerOpen()) {
    CloseWinHelp(owner, helpFile);
    PumpUntil(kViewerQuitMs, [] { return !ViewerOpen(); });
  }
  HANDLE process = nullptr;
  if (!StartViewer(helpFile, keyword, &process)) return false;
  bool ended = false;
  bool came = PumpUntil(kViewerStartMs, [&] {
    ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    return ended || ViewerOpen();
  });
  CloseHandle(process);
  return came && !ended;
}
#endif
