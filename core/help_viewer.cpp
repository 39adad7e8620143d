#include "core/help_viewer.h"

#include <cctype>
#include <cstdio>

void HelpTopicId(const char* keyword, char* id, size_t room) {
  if (room == 0) return;
  size_t length = 0;
  for (; keyword[length] && length + 1 < room; ++length) {
    unsigned char c = static_cast<unsigned char>(keyword[length]);
    id[length] = std::isalnum(c) ? static_cast<char>(std::tolower(c)) : '_';
  }
  id[length] = '\0';
}

#ifdef _WIN32
namespace {

const char kViewerClass[] = "MS_WINHELP";
const char kViewerProgram[] = "winhlp32.exe";
const int kViewerStartMs = 15000;
const int kViewerQuitMs = 3000;
const DWORD kPumpStepMs = 50;
enum { VIEWER_LINE_ROOM = 400 };

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

bool StartViewer(const char* helpFile, const char* keyword, HANDLE* process) {
  char line[VIEWER_LINE_ROOM];
  int length;
  if (keyword) {
    char id[HELP_TOPIC_ID_ROOM];
    HelpTopicId(keyword, id, sizeof id);
    length = std::snprintf(line, sizeof line, "%s -i %s \"%s\"", kViewerProgram, id, helpFile);
  } else {
    length = std::snprintf(line, sizeof line, "%s \"%s\"", kViewerProgram, helpFile);
  }
  if (length < 0 || length >= static_cast<int>(sizeof line)) return false;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
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
