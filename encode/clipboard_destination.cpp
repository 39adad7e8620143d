// The clipboard destination of the encode driver: the finished text block becomes the
// clipboard's CF_TEXT data.
#ifdef _WIN32
#include "core/job_state.h"
#include "core/ui.h"
#include "encode/destinations.h"

namespace {

// Reports a failed clipboard step with the system's text for `error`.
int ReportClipboardFailure(HWND owner, DWORD error, const char* verb) {
  ShowErrorMessage(owner, error, MB_OK | MB_ICONHAND, "Can't %s Clipboard because\r\n", verb);
  return RESULT_REPORTED;
}

// The block the clipboard did not take: unlock it (it is still locked once) and free it.
void ReleaseBlock(HGLOBAL memory, bool locked) {
  if (locked) GlobalUnlock(memory);
  GlobalFree(memory);
}

}  // namespace

int HandOverToClipboard(HWND owner, HGLOBAL memory) {
  // Every clipboard job is a command of its own.
  g_job.clipboardOutput = false;
  if (!OpenClipboard(owner)) {
    const DWORD error = GetLastError();
    ReleaseBlock(memory, true);
    return ReportClipboardFailure(owner, error, "Open");
  }
  // The clipboard is closed again on every failure below: left open, it would stay locked
  // for every other program until ours ends.
  if (!EmptyClipboard()) {
    const DWORD error = GetLastError();
    CloseClipboard();
    ReleaseBlock(memory, true);
    return ReportClipboardFailure(owner, error, "Obtain Ownership of");
  }
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_TEXT, memory)) {
    const DWORD error = GetLastError();
    CloseClipboard();
    ReleaseBlock(memory, false);
    return ReportClipboardFailure(owner, error, "Write Encoded Data to");
  }
  // From here on the clipboard owns the block.
  if (!CloseClipboard()) return ReportClipboardFailure(owner, GetLastError(), "Close");
  return RESULT_DONE;
}
#endif
