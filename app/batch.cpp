#include "app/batch.h"

#include <cstdio>

#include "app/checksum_report.h"
#include "app/created_output.h"
#include "app/encode_or_decode.h"
#include "app/result_summary.h"
#include "app/job_runs.h"
#include "app/join_inputs.h"
#include "app/local_strings.h"
#include "app/command_line.h"
#include "core/job_state.h"
#include "core/settings.h"
#include "core/ui.h"
#include "encode/encode_driver.h"
#include "mail/mail_commands.h"
#include "resources/resource.h"

namespace {

const char kAnotherJob[] = "Another job is still running.";

// What the list says of each entry besides its path (g_job.inputs).
struct EntryKind {
  bool temporary;  // deleted when its job ends
  bool noFolder;   // stands for text that has no folder: its outputs go to the documents folder
  bool holdsNoPartials = false;  // searched as it was made: names no message/partial
};

EntryKind g_entries[MAX_INPUTS];
int g_mode = NEXT_DECIDE;  // how the batch's inputs are taken
bool g_inputHasNoFolder;   // of the running job's input

bool AddEntry(const char* path, EntryKind kind) {
  if (g_job.inputCount >= MAX_INPUTS) return false;
  char* copy = StrDup(path);
  if (!copy) return false;
  g_entries[g_job.inputCount] = kind;
  g_job.inputs[g_job.inputCount++] = copy;
  return true;
}

void FreeEntry(int index) {
  if (index < 0 || index >= MAX_INPUTS) return;
  StrFree(g_job.inputs[index]);
  g_job.inputs[index] = nullptr;
  g_entries[index] = EntryKind();
}

void ClearEntries() {
  for (int i = 0; i < MAX_INPUTS; ++i) FreeEntry(i);
  g_job.inputCount = 0;
  g_job.inputIndex = 0;
}

char* CurrentEntry() {
  const int i = g_job.inputIndex;
  return i >= 0 && i < g_job.inputCount && i < MAX_INPUTS ? g_job.inputs[i] : nullptr;
}

void DeleteTemporaryFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) DeleteFileA(path.c_str());
}

void PostForEntry(HWND window, UINT message, char* entry) {
  PostMessageA(window, message, 0, reinterpret_cast<LPARAM>(entry));
}

// The batch is over: the list and everything else that belonged to it are released.
void EndBatch(bool show) {
  g_job.multiInput = false;
  g_job.mailInputs = false;
  ClearEntries();
  g_job.operation = OP_NONE;
  g_job.encodeRequested = 0;
  g_job.outputNameGiven[0] = '\0';
  if (g_job.mailOutput) EndMailSession(show);
  ReleaseChosenRecipients();
  FreeRecipients();
  ForgetRunOutputs();
}

// Advances the list past the finished entry; returns whether the job's summary is shown and
// sets `more` when entries remain.
bool AdvanceInputs(int& more) {
  if (g_job.inputCount == 0) {
    ForgetRunOutputs();
    return true;
  }
  FreeEntry(g_job.inputIndex);
  ++g_job.inputIndex;
  bool show = g_job.multiInput;
  if (g_job.inputIndex < g_job.inputCount) {
    more = 1;
    return show;
  }
  if (!g_job.multiInput) {
    g_job.quitRequested = true;  // a command-line batch closes the program when done
    show = false;
  }
  EndBatch(show);
  return show;
}

void DeleteTemporaryInput(HWND owner) {
  if (!g_job.inputIsTemporary) return;
  if (!DeleteFileA(g_job.inputPath))
    ShowErrorMessage(owner, GetLastError(), MB_ICONEXCLAMATION, "Could Not Delete %s because", g_job.inputPath);
}

void ClearJobResult() {
  g_job.inputIsTemporary = false;
  g_job.inputHoldsNoPartials = false;
  g_inputHasNoFolder = false;
  g_job.inputPath[0] = '\0';
  g_job.outputPath[0] = '\0';
  g_job.outputCount = 0;
  g_job.resultRemark[0] = '\0';
  g_job.qualifiedResult = false;
  g_job.clipboardOutput = false;
  ForgetCreatedOutput();
  SetProgress(0);
}

// What the job means for the run's exit status. Without questions no summary runs the
// checksum test, so it runs here.
int JobOutcome(int result, int operation) {
  if (result != RESULT_DONE) return OUTCOME_FAILED;
  if (g_job.qualifiedResult) return OUTCOME_DOUBTFUL;
  const bool testChecksums = !g_job.interactive && operation == OP_DECODE && g_settings.decodetestchecksum;
  return testChecksums && TestDecodedChecksums() != 0 ? OUTCOME_DOUBTFUL : OUTCOME_CLEAN;
}

}  // namespace

bool JobInProgress() { return g_job.busy || g_job.inputCount > 0; }

bool RefuseWhileJobInProgress(HWND owner) {
  if (!JobInProgress()) return false;
  ShowMessage(owner, MB_ICONEXCLAMATION, kAnotherJob);
  return true;
}

bool StartBatch(HWND window, const std::vector<std::string>& paths, BatchSource source, int mode) {
  const bool mailbox = source == FROM_MAILBOX;
  bool refused = paths.empty() || RefuseWhileJobInProgress(window);
  if (!refused && paths.size() > MAX_INPUTS) {
    ShowMessage(window, MB_ICONEXCLAMATION, "Only %d files can be processed at a time.\r\nNo file was processed.",
                MAX_INPUTS);
    refused = true;
  }
  if (refused) {
    if (mailbox) DeleteTemporaryFiles(paths);
    return false;
  }
  ForgetRunOutputs();
  const EntryKind kind = {mailbox, mailbox};
  for (const std::string& path : paths) {
    if (AddEntry(path.c_str(), kind)) continue;
    ClearEntries();
    if (mailbox) DeleteTemporaryFiles(paths);
    ShowMessage(window, MB_ICONHAND, "No Memory for the List of Input Files.");
    return false;
  }
  g_job.multiInput = source != FROM_COMMAND_LINE;
  g_job.mailInputs = mailbox;
  g_mode = mode == NEXT_ENCODE ? NEXT_ENCODE : NEXT_DECIDE;
  PostMessageA(window, UM_NEXT_INPUT, 0, MAKELPARAM(g_mode, 0));
  return true;
}

void StartSingleJob(const char* path, int operation, bool temporary) {
  ForgetRunOutputs();
  std::snprintf(g_job.inputPath, PATH_ROOM, "%s", path);
  g_job.operation = operation;
  g_job.inputIsTemporary = temporary;
  g_job.inputHoldsNoPartials = false;
  g_inputHasNoFolder = temporary;
}

void TakeNextInput(HWND window) {
  char* entry = CurrentEntry();
  if (!entry) return;
  if (g_entries[g_job.inputIndex].temporary) {
    PostForEntry(window, g_mode == NEXT_ENCODE ? UM_ENCODE_FILE : UM_DECODE_FILE, entry);
  } else if (g_settings.decodejoin && g_mode == NEXT_DECIDE && g_job.inputCount != 1) {
    g_job.operation = OP_DECODE;
    JoinInputs(window);
  } else if (g_mode == NEXT_ENCODE || DecideEncodeOrDecode(entry, g_job.operation) == OP_ENCODE) {
    PostForEntry(window, UM_ENCODE_FILE, entry);
  } else {
    PostForEntry(window, UM_DECODE_FILE, entry);
  }
}

const char* TrustedEntry(LPARAM lParam) {
  char* entry = CurrentEntry();
  return entry && reinterpret_cast<LPARAM>(entry) == lParam ? entry : nullptr;
}

void BeginEntryJob(int operation) {
  const char* entry = CurrentEntry();
  if (!entry) return;
  std::snprintf(g_job.inputPath, PATH_ROOM, "%s", entry);
  g_job.operation = operation;
  g_job.inputIsTemporary = g_entries[g_job.inputIndex].temporary;
  g_job.inputHoldsNoPartials = g_entries[g_job.inputIndex].holdsNoPartials;
  g_inputHasNoFolder = g_entries[g_job.inputIndex].noFolder;
}

bool AddJoinedInput(const char* path, bool noFolder) {
  const int first = g_job.inputCount;
  if (!AddEntry(path, {true, noFolder})) return false;
  g_job.inputIndex = first;
  return true;
}

void NoteJoinedInputHoldsNoPartials() {
  if (CurrentEntry()) g_entries[g_job.inputIndex].holdsNoPartials = true;
}

void AbandonBatch(HWND window) {
  g_job.inputIndex = g_job.inputCount - 1;
  FinishJob(window, RESULT_REPORTED, OP_DECODE);
}

bool InputHasNoFolder() { return g_inputHasNoFolder; }

// The rest of the batch goes on as it started: each later file is decided (and, when plain,
// asked about) on its own, not encoded unasked.
void EncodeInputInstead(HWND window, bool interactive) {
  const int started = g_job.operation;
  g_job.operation = OP_ENCODE;
  int stream = OpenJobInput(window, OP_ENCODE);
  if (stream >= 0) RunEncodeJob(window, stream, interactive);
  g_job.operation = started;
}

int EndJob(HWND owner, int result, int operation) {
  NoteRunOutcome(JobOutcome(result, operation));
  int more = 0;
  bool show = AdvanceInputs(more);
  if (g_job.quitRequested)
    PostMessageA(owner, WM_CLOSE, 0, 0);
  else if (show)
    ShowResultSummary(owner, result, operation, g_job.encodingType, g_job.partCount);
  DeleteTemporaryInput(owner);
  ClearJobResult();
  return more;
}

void FinishJob(HWND window, int result, int operation) {
  int more = EndJob(window, result, operation);
  if (!more || g_job.quitRequested) {
    // A single-part output shared by the inputs of a selection is closed with the selection.
    if (EncodeOutputIsOpen()) EncodeCloseOutput();
    if (g_job.quitRequested) return;
  }
  if (more) PostMessageA(window, UM_NEXT_INPUT, 0, MAKELPARAM(g_mode, 0));
}
