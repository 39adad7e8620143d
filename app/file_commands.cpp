#include "app/file_commands.h"

#include "app/clipboard_input.h"
#include "app/file_dialogs.h"
#include "app/batch.h"
#include "app/job_runs.h"
#include "core/job_state.h"
#include "core/streams.h"
#include "core/ui.h"

namespace {

// The open dialog for the job's input; -1 when it gave no single file (cancelled, or a
// multiple selection that now runs as a batch). The chosen file becomes the job's input.
int AskForInput(HWND window, int mode) {
  char path[PATH_ROOM] = "";
  const int stream = askuu(window, mode, path);
  if (stream >= 0) StartSingleJob(path, mode == MODE_ENCODE ? OP_ENCODE : OP_DECODE, false);
  return stream;
}

// A destination chosen with the command lasts for that command's job only: a cancelled
// dialog leaves the next Encode to File going to a file.
void ReleaseDestinationUnlessBatch() {
  if (g_job.inputCount == 0) g_job.clipboardOutput = false;
}

}  // namespace

void EncodeFromFile(HWND window) {
  int stream = AskForInput(window, MODE_ENCODE);
  if (stream < 0) {
    ReleaseDestinationUnlessBatch();
    return;
  }
  RunEncodeJob(window, stream, true);
}

void EncodeToClipboard(HWND window) {
  g_job.clipboardOutput = true;
  EncodeFromFile(window);
}

void DecodeFromFile(HWND window) {
  int stream = AskForInput(window, MODE_DECODE);
  if (stream < 0) {
    ReleaseDestinationUnlessBatch();
    return;
  }
  RunDecodeJob(window, stream, true);
}

// The clipboard's text is decoded from a temporary file, deleted when the job ends.
void DecodeFromClipboard(HWND window) {
  if (!ClipboardHoldsText()) {
    ShowMessage(window, MB_ICONEXCLAMATION, "No Text on Clipboard.");
    return;
  }
  char path[PATH_ROOM];
  if (ClipboardToTempFile(window, path) != 0) return;
  int stream = StreamOpenForReading(path, STREAM_TEXT);
  if (stream < 0) {
    DeleteFileA(path);
    ShowMessage(window, MB_ICONHAND, "Can't read %s", path);
    return;
  }
  StartSingleJob(path, OP_DECODE, true);
  g_job.encodingType = TYPE_AUTO;
  RunDecodeJob(window, stream, true);
}
