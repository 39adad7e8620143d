#include "app/startup.h"

#include <cstdio>
#include <cstring>

#include "app/command_line.h"
#include "app/batch.h"
#include "app/main_window.h"
#include "app/program.h"
#include "core/help_viewer.h"
#include "core/job_state.h"
#include "core/names.h"
#include "core/settings.h"
#include "core/streams.h"
#include "core/ui.h"
#include "resources/resource.h"

ProgramState g_program;
const char kMainClassName[] = "Zentp32";
const char kResourceName[] = "ZENTP32";
const char kHelpFileName[] = "Zentp32.hlp";

namespace {

const char kSupportLine[] = "contact Orvanta technical support.";

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (TranslateAcceleratorA(g_program.mainWindow, g_program.accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

// Leaves no window behind when start-up stops early.
void CloseQuietly(HWND window) {
  DestroyWindow(window);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
}

// The command line's work starts once the message loop runs.
void PostFirstJob(HWND window, const CommandLineRequest& request) {
  if (request.associate) {
    PostMessageA(window, UM_ASSOCIATE_AND_EXIT, 0, 0);
    return;
  }
  if (!request.inputs.empty())
    StartBatch(window, request.inputs, FROM_COMMAND_LINE, request.encode ? NEXT_ENCODE : NEXT_DECIDE);
  else if (request.refused && !g_job.interactive)
    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
  if (request.refused) NoteRunOutcome(OUTCOME_FAILED);
}

}  // namespace

bool BuildHelpPath(const char* programPath, char* dest, size_t room) {
  const char* slash = std::strrchr(programPath, '\\');
  int folder = slash ? static_cast<int>(slash - programPath + 1) : 0;
  int written = std::snprintf(dest, room, "%.*s%s", folder, programPath, kHelpFileName);
  if (written < 0 || static_cast<size_t>(written) >= room) {
    if (room) dest[0] = '\0';
    return false;
  }
  return true;
}

void ReportMissingHelpFile(HWND owner, const char* helpPath) {
  char format[128];
  std::snprintf(format, sizeof format, "File %%s is missing.\r\nPlease re-install %%s or\r\n%s",
                kSupportLine);
  ShowMessage(owner, MB_ICONHAND, format, helpPath, g_identity.longName);
}

int RunProgram(HINSTANCE instance, HINSTANCE previous, const char* commandLine, int show) {
  g_program.instance = instance;
  DWORD length = GetModuleFileNameA(nullptr, g_program.programPath, PATH_ROOM);
  if (length >= PATH_ROOM) g_program.programPath[PATH_ROOM - 1] = '\0';
  BuildHelpPath(g_program.programPath, g_program.helpPath, PATH_ROOM);
  StreamInitLarge(STREAM_SLOTS, STREAM_PROGRAM_BUFFER_SIZE);  // larger than the classic 16 KiB: see streams.h
  g_program.faceColor = GetSysColor(COLOR_BTNFACE);

  // A program that cannot start ran none of its jobs: a script must not read that as success.
  if (!previous && !RegisterMainClass(instance)) return OUTCOME_FAILED;
  HWND window = CreateMainWindow(instance, show);
  if (!window) return OUTCOME_FAILED;
  if (!HelpFilePresent(g_program.helpPath)) {
    ReportMissingHelpFile(GetFocus(), g_program.helpPath);
    CloseQuietly(window);
    return OUTCOME_FAILED;
  }
  ResetJobState();
  PostFirstJob(window, ParseCommandLine(window, commandLine));

  int exitCode = RunMessageLoop();
  if (!previous) UnregisterMainClass(instance);
  StreamShutdown();
  // A run without questions is a script's tool: its exit status says how its jobs went.
  return g_job.interactive ? exitCode : g_job.worstOutcome;
}
