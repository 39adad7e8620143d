#include "app/job_runs.h"

#include <cstdio>

#include "app/busy.h"
#include "app/batch.h"
#include "core/job_state.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/decode_context.h"
#include "decode/decode_file.h"
#include "decode/part_table.h"
#include "encode/encode_driver.h"
#include "resources/resource.h"

void ReportUnreadableInput(HWND window) {
  ShowMessage(window, MB_ICONHAND, "Can't read %s", g_job.inputPath);
  if (!g_job.interactive) PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
}

int OpenJobInput(HWND window, int operation) {
  int stream = StreamOpenForReading(g_job.inputPath, operation == OP_ENCODE ? STREAM_BINARY : STREAM_TEXT);
  if (stream >= 0) return stream;
  ReportUnreadableInput(window);
  // Ending the job keeps a batch going past a file it cannot read.
  FinishJob(window, RESULT_REPORTED, operation);
  return -1;
}

void RunEncodeJob(HWND window, int stream, bool interactive) {
  SetBusy(window, true);
  int result = EncodeFile(window, stream, interactive ? 1 : 0);
  SetBusy(window, false);
  FinishJob(window, result, OP_ENCODE);
}

void RunDecodeJob(HWND window, int stream, bool interactive) {
  if (EncodeOutputIsOpen()) EncodeCloseOutput();
  SetBusy(window, true);
  g_decode.outputName[0] = '\0';
  int result = DecodeFile(window, stream, interactive ? 1 : 0);
  SetBusy(window, false);  // the decoder has put its output, format and parts in the job state
  if (result == RESULT_ENCODE_INSTEAD)
    EncodeInputInstead(window, interactive);
  else
    FinishJob(window, result, OP_DECODE);
}
