#include "app/file_commands.h"

#include "app/clipboard_input.h"
#include "app/encode_or_decode.h"
#include "app/file_dialogs.h"
#include "app/job_runs.h"
#include "core/job_state.h"
#include "core/streams.h"
#include "core/ui.h"

namespace {

// The open dialog for the job's input; -1 when it gave no single file (cancelled, or a
// multiple selection that now runs as a batch).
int AskForInput(HWND window, int mode) {
  g_job.operation = mode;
  SetBatchMode(mode == MODE_ENCODE ? NEXT_ENCODE : NEXT_DECIDE);
  return askuu(window, mode, g_job.inputPath);
}

// A destination chosen with the command lasts for that command's job only: a cancelled
// dialog leaves the next Encode to File going to a file.
void ReleaseDestinationUnlessBatch() {
  if (g_job.inputCount > 0) return;
  g_job.clipboardOutput = false;
  g_job.operation = OP_NONE;
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

void DecodeFromClipboard(HWND window) {
  if (!ClipboardHoldsText()) {
    ShowMessage(window, MB_ICONEXCLAMATION, "No Text on Clipboard.");
    return;
  }
  if (ClipboardToTempFile(window, g_job.inputPath) != 0) {
    g_job.inputPath[0] = '\0';
    return;
  }
  g_job.operation = OP_DECODE;
  int stream = StreamOpenForReading(g_job.inputPath, STREAM_TEXT);
  if (stream < 0) {
    DeleteFileA(g_job.inputPath);
    ReportUnreadableInput(window);
    g_job.inputPath[0] = '\0';
    return;
  }
  g_job.inputIsTemporary = true;
  g_job.encodingType = TYPE_AUTO;
  RunDecodeJob(window, stream, true);
}
