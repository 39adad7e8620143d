#include "app/job_messages.h"

#include <cstdio>

#include "app/encode_or_decode.h"
#include "app/job_runs.h"
#include "app/join_inputs.h"
#include "config/file_associations.h"
#include "core/job_state.h"
#include "core/settings.h"
#include "mail/mail_commands.h"
#include "resources/resource.h"

namespace {

// The list entry now due, or null when there is none (a stray or late message).
char* CurrentEntry() {
  if (g_job.inputIndex < 0 || g_job.inputIndex >= g_job.inputCount || g_job.inputIndex >= MAX_INPUTS)
    return nullptr;
  return g_job.inputs[g_job.inputIndex];
}

// The path of an encode or decode message is only ever the entry now due: anything else
// (a message of another program, one left from an ended batch) is not a path to trust.
const char* TrustedPath(LPARAM lParam) {
  char* entry = CurrentEntry();
  return entry && reinterpret_cast<LPARAM>(entry) == lParam ? entry : nullptr;
}

void SetInputPath(const char* path) { std::snprintf(g_job.inputPath, PATH_ROOM, "%s", path); }

void EncodeFileMessage(HWND window, const char* path) {
  SetInputPath(path);
  g_job.operation = OP_ENCODE;
  int stream = OpenJobInput(window, OP_ENCODE);
  if (stream >= 0) RunEncodeJob(window, stream, g_job.interactive);
}

void DecodeFileMessage(HWND window, const char* path) {
  g_job.operation = OP_DECODE;
  SetInputPath(path);
  // The decoder leaves the format it found in the job state for the report; every input
  // starts again from the format the settings give it.
  DecideEncodingTypeFor(path);
  int stream = OpenJobInput(window, OP_DECODE);
  if (stream >= 0) RunDecodeJob(window, stream, g_job.interactive);
}

void PostForEntry(HWND window, UINT message, char* entry) {
  PostMessageA(window, message, 0, reinterpret_cast<LPARAM>(entry));
}

void NextInput(HWND window, int mode, bool temporary) {
  char* entry = CurrentEntry();
  if (!entry) return;
  SetBatchMode(mode);
  if (temporary) {
    PostForEntry(window, mode == NEXT_ENCODE ? UM_ENCODE_FILE : UM_DECODE_FILE, entry);
    g_job.inputIsTemporary = true;
  } else if (g_settings.decodejoin && mode == NEXT_DECIDE && g_job.inputCount != 1) {
    g_job.operation = OP_DECODE;
    JoinInputs(window);
  } else if (mode == NEXT_ENCODE ||
             DecideEncodeOrDecode(entry, g_job.operation) == OP_ENCODE) {
    PostForEntry(window, UM_ENCODE_FILE, entry);
  } else {
    PostForEntry(window, UM_DECODE_FILE, entry);
  }
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
      if (const char* path = TrustedPath(lParam))
        if (StartCommandLineMail(window)) EncodeFileMessage(window, path);
      break;
    case UM_DECODE_FILE:
      if (const char* path = TrustedPath(lParam)) DecodeFileMessage(window, path);
      break;
    case UM_NEXT_INPUT: NextInput(window, LOWORD(lParam), HIWORD(lParam) != 0); break;
    case UM_ASSOCIATE_AND_EXIT: AssociateAndExit(window); break;
  }
  return 0;
}
