// The clipboard destination on builds without a system clipboard (the native engine
// tests): the job ends as a failed hand-over does, with the block released.
#ifndef _WIN32
#include "core/job_state.h"
#include "core/ui.h"
#include "encode/destinations.h"

int HandOverToClipboard(HWND owner, HGLOBAL memory) {
  g_job.clipboardOutput = false;
  ShowMessage(owner, MB_OK | MB_ICONHAND, "There is no Clipboard on this system.");
  GlobalUnlock(memory);
  GlobalFree(memory);
  return RESULT_REPORTED;
}
#endif
