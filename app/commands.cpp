#include "app/commands.h"

#include "app/batch.h"
#include "app/busy.h"
#include "app/clipboard_input.h"
#include "app/dropped_files.h"
#include "app/file_commands.h"
#include "app/program.h"
#include "config/config_dialog_frame.h"
#include "config/info_dialogs.h"
#include "core/help_viewer.h"
#include "core/job_state.h"
#include "core/ui.h"
#include "mail/mail_commands.h"
#include "resources/resource.h"

namespace {

struct HelpCommand {
  int id;
  const char* keyword;  // null: the contents
};

const HelpCommand kHelpCommands[] = {
    {IDM_HELP_INDEX, nullptr},
    {IDM_HELP_KEYBOARD, "Keyboard"},
    {IDM_HELP_COMMANDS, "Commands"},
    {IDM_HELP_PROCEDURES, "Procedures"},
    {IDM_SUPPORT, "support"},
    {IDM_CANT_DECODE, "cannot decode"},
    {IDM_CANT_ENCODE, "cannot encode"},
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
    // Settings changed between the jobs of a batch would apply to half of it.
    {IDM_CFG_GENERAL, ShowGeneralConfiguration},
    {IDM_CFG_ENCODE, ShowEncodeConfiguration},
    {IDM_CFG_DECODE, ShowDecodeConfiguration},
};

const JobCommand kInformationCommands[] = {
    {IDM_CHECK_VERSION, ShowCheckVersion},
    {IDM_ABOUT, ShowAbout},
};

void Exit(HWND window) {
  if (g_job.busy)
    RequestCancelAndQuit();
  else
    SendMessageA(window, WM_CLOSE, 0, 0);
}

template <size_t N>
const JobCommand* FindCommand(const JobCommand (&table)[N], int id) {
  for (const JobCommand& command : table)
    if (command.id == id) return &command;
  return nullptr;
}

// Some of these stay enabled while a job runs, and a batch waits between its jobs: a
// second job is refused then rather than mixed into the running one.
bool RunJobCommand(HWND window, int id) {
  const JobCommand* command = FindCommand(kJobCommands, id);
  if (!command) return false;
  if (!RefuseWhileJobInProgress(window)) command->run(window);
  return true;
}

bool RunInformationCommand(HWND window, int id) {
  const JobCommand* command = FindCommand(kInformationCommands, id);
  if (command) command->run(window);
  return command != nullptr;
}

}  // namespace

bool ShowHelpFor(HWND window, int id) {
  for (const HelpCommand& help : kHelpCommands) {
    if (help.id != id) continue;
    OpenHelpTopic(window, g_program.helpPath, help.keyword);
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
      // Ids that are no command (a stray message) are passed over.
      if (!RunJobCommand(window, id) && !RunInformationCommand(window, id)) ShowHelpFor(window, id);
  }
  return 0;
}

LRESULT OnDroppedFiles(HWND window, HDROP drop) {
  if (g_job.busy) {  // drops are not accepted then; one sent all the same is ignored
    DragFinish(drop);
    return 0;
  }
  StartDroppedFiles(window, drop);
  return 0;
}

LRESULT OnInitMenuPopup(HMENU menu) {
  EnableMenuItem(menu, IDM_DECODE_CLIPBOARD, MF_BYCOMMAND | (ClipboardHoldsText() ? MF_ENABLED : MF_GRAYED));
  return 0;
}
