#include "app/busy.h"

#include <shellapi.h>

#include "app/program.h"
#include "app/status.h"
#include "core/job_state.h"
#include "core/settings.h"
#include "core/ui.h"
#include "resources/resource.h"

namespace {

// Commands that would start a second job.
const UINT kJobCommands[] = {IDM_ENCODE_FILE, IDM_DECODE_FILE, IDM_CFG_GENERAL, IDM_CFG_ENCODE,
                             IDM_CFG_DECODE};
const UINT kJobSystemCommands[] = {IDM_SYS_ENCODE, IDM_SYS_DECODE};

template <size_t N>
void EnableCommands(HMENU menu, const UINT (&ids)[N], bool enable) {
  UINT state = MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED);
  for (UINT id : ids) EnableMenuItem(menu, id, state);
}

void ShowMainWindowFor(HWND owner, bool on) {
  if (!g_settings.minimizewhenrun) return;
  if (on)
    ShowWindow(owner, SW_SHOWMINIMIZED);
  else if (!g_settings.stayiconwhendone)
    ShowWindow(owner, SW_SHOWNORMAL);
}

}  // namespace

void SetBusy(HWND owner, bool on) {
  g_job.busy = on;
  DragAcceptFiles(owner, on ? FALSE : TRUE);
  EnableCommands(GetMenu(owner), kJobCommands, !on);
  EnableCommands(GetSystemMenu(owner, FALSE), kJobSystemCommands, !on);
  DrawMenuBar(owner);
  ShowControl(g_program.cancelButton, on);
  ClearStatus();
  g_job.cancelRequested = false;
  if (on) SetProgress(0);
  ShowMainWindowFor(owner, on);
}

void RequestCancel() { g_job.cancelRequested = true; }

void RequestCancelAndQuit() {
  g_job.cancelRequested = true;
  g_job.quitRequested = true;
}

void ShowControl(HWND window, bool on) {
  EnableWindow(window, on ? TRUE : FALSE);
  ShowWindow(window, on ? SW_SHOW : SW_HIDE);
  UpdateWindow(window);
}
