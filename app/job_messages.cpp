#include "app/job_messages.h"

#include "app/encode_or_decode.h"
#include "app/batch.h"
#include "app/job_runs.h"
#include "config/file_associations.h"
#include "core/job_state.h"
#include "mail/mail_commands.h"
#include "resources/resource.h"

namespace {

void EncodeFileMessage(HWND window) {
  BeginEntryJob(OP_ENCODE);
  int stream = OpenJobInput(window, OP_ENCODE);
  if (stream >= 0) RunEncodeJob(window, stream, g_job.interactive);
}

void DecodeFileMessage(HWND window) {
  BeginEntryJob(OP_DECODE);
  // The decoder leaves the format it found in the job state for the report; every input
  // starts again from the format the settings give it.
  DecideEncodingTypeFor(g_job.inputPath);
  int stream = OpenJobInput(window, OP_DECODE);
  if (stream >= 0) RunDecodeJob(window, stream, g_job.interactive);
}

void AssociateAndExit(HWND window) {
  MakeFileAssociations(window);
  PostMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace

LRESULT OnJobMessage(HWND window, UINT message, WPARAM, LPARAM lParam) {
  // A message that arrives while a job runs (its engine pumps messages) is not one of the
  // job's own: the job state holds one job at a time.
  if (g_job.busy) return 0;
  switch (message) {
    case UM_ENCODE_FILE:
      if (TrustedEntry(lParam) && StartCommandLineMail(window)) EncodeFileMessage(window);
      break;
    case UM_DECODE_FILE:
      if (TrustedEntry(lParam)) DecodeFileMessage(window);
      break;
    case UM_NEXT_INPUT: TakeNextInput(window); break;
    case UM_ASSOCIATE_AND_EXIT: AssociateAndExit(window); break;
  }
  return 0;
}
