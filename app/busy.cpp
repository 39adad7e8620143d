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
  // The commands are items of the bar's menus, not of the bar, which looks the same: it is
  // redrawn with the window's next paint, as the Cancel button is, rather than at once, which
  // under Wine cost a few milliseconds of every job.
  RedrawWindow(owner, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
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
}
