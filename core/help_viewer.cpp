#include "core/help_viewer.h"

#include <cctype>
#include <cstdio>

namespace {

struct HelpTopic {
  const char* keyword;
  const char* id;  // as given in the help source
};

const HelpTopic kHelpTopics[] = {
    {"Keyboard", "keys"},
    {"Commands", "cmds"},
    {"Procedures", "steps"},
    {"support", "suppt"},
    {"cannot decode", "nodec"},
    {"cannot encode", "noenc"},
    {"invalid checksum", "cksum"},
    {"invalid data", "baddt"},
    {"unknown multipart", "multi"},
    {"ask encode", "askec"},
    {"Check Version", "vers"},
    {"General Configuration", "cfgen"},
    {"Encoding Configuration", "cfenc"},
    {"Decoding Configuration", "cfdec"},
};

bool SameIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

}  // namespace

const char* HelpTopicId(const char* keyword) {
  for (const HelpTopic& topic : kHelpTopics)
    if (SameIgnoringCase(topic.keyword, keyword)) return topic.id;
  return nullptr;
}

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

void CloseOpenViewer(HWND owner, const char* helpFile) {
  if (!ViewerOpen()) return;
  WinHelpA(owner, helpFile, HELP_QUIT, 0);
  PumpUntil(kViewerQuitMs, [] { return !ViewerOpen(); });
}

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

bool OpenHelpTopic(HWND owner, const char* helpFile, const char* keyword) {
  CloseOpenViewer(owner, helpFile);
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
