// PLACEHOLDERS for the clipboard and e-mail destinations, which are not built yet (this
// file goes when they are). They keep the driver's branches in place.
#include "core/job_state.h"
#include "core/ui.h"
#include "encode/destinations.h"

int HandOverToClipboard(HWND owner, HGLOBAL memory) {
  g_job.clipboardOutput = false;
  ShowMessage(owner, MB_OK | MB_ICONEXCLAMATION, "Encoding to the Clipboard is not available yet.");
  GlobalUnlock(memory);
  GlobalFree(memory);
  return -2;
}

int SendEncodedPart(HWND owner, const char*) {
  ShowMessage(owner, MB_OK | MB_ICONEXCLAMATION, "Encoding to E-mail is not available yet.");
  return -2;
}
