#include "app/commands.h"

#include "app/busy.h"
#include "app/clipboard_input.h"
#include "app/dropped_files.h"
#include "app/file_commands.h"
#include "app/job_runs.h"
#include "app/program.h"
#include "core/job_state.h"
#include "core/ui.h"
#include "mail/mail_commands.h"
#include "resources/resource.h"

namespace {

struct HelpCommand {
  int id;
  UINT command;
  const char* keyword;  // for HELP_KEY
};

const HelpCommand kHelpCommands[] = {
    {IDM_HELP_INDEX, HELP_CONTENTS, nullptr},
    {IDM_HELP_KEYBOARD, HELP_KEY, "Keyboard"},
    {IDM_HELP_COMMANDS, HELP_KEY, "Commands"},
    {IDM_HELP_PROCEDURES, HELP_KEY, "Procedures"},
    {IDM_SUPPORT, HELP_KEY, "support"},
    {IDM_CANT_DECODE, HELP_KEY, "cannot decode"},
    {IDM_CANT_ENCODE, HELP_KEY, "cannot encode"},
};

struct JobCommand {
  int id;
  void (*run)(HWND window);
};

const JobCommand kJobCommands[] = {
    {IDM_ENCODE_FILE, EncodeFromFile},
    {IDM_ENCODE_CLIPBOARD, EncodeToClipboard},
    {IDM_DECODE_FILE, DecodeFromFile},
    {IDM_DECODE_CLIPBOARD, DecodeFromClipboard},
    {IDM_ENCODE_MAIL, EncodeToMail},
    {IDM_DECODE_MAIL, DecodeFromMail},
};

void Exit(HWND window) {
  if (g_job.busy)
    RequestCancelAndQuit();
  else
    SendMessageA(window, WM_CLOSE, 0, 0);
}

// Some of these stay enabled while a job runs, and a batch waits between its jobs: a
// second job is refused then rather than mixed into the running one.
bool RunJobCommand(HWND window, int id) {
  for (const JobCommand& command : kJobCommands) {
    if (command.id != id) continue;
    if (JobInProgress())
      RefuseWhileJobInProgress(window);
    else
      command.run(window);
    return true;
  }
  return false;
}

}  // namespace

void ShowCommandNotAvailable(HWND owner) {
  ShowMessage(owner, MB_ICONEXCLAMATION, "This command is not available yet.");
}

bool ShowHelpFor(HWND window, int id) {
  for (const HelpCommand& help : kHelpCommands) {
    if (help.id != id) continue;
    WinHelpA(window, g_program.helpPath, help.command, reinterpret_cast<ULONG_PTR>(help.keyword));
    return true;
  }
  return false;
}

LRESULT OnMenuCommand(HWND window, int id) {
  switch (id) {
    case IDM_EXIT: Exit(window); break;
    case IDC_CANCEL_BUTTON: RequestCancel(); break;
    case IDC_STATUS_TEXT:
    case IDC_PROGRESS_BAR: break;
    default:
      if (!RunJobCommand(window, id) && !ShowHelpFor(window, id)) ShowCommandNotAvailable(window);
  }
  return 0;
}

LRESULT OnDroppedFiles(HWND window, HDROP drop) {
  if (JobInProgress()) {
    DragFinish(drop);
    if (!g_job.busy) RefuseWhileJobInProgress(window);
    return 0;
  }
  StartDroppedFiles(window, drop);
  return 0;
}

LRESULT OnInitMenuPopup(HMENU menu) {
  EnableMenuItem(menu, IDM_DECODE_CLIPBOARD, MF_BYCOMMAND | (ClipboardHoldsText() ? MF_ENABLED : MF_GRAYED));
  return 0;
}
