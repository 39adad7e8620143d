// PLACEHOLDERS for the clipboard and e-mail destinations of Part 2.5, which a later issue
// builds (it replaces this file). They keep the driver's branches where Part 2.2 puts them.
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
