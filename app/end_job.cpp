#include "app/end_job.h"

#include "app/created_output.h"
#include "app/input_list.h"
#include "app/checksum_report.h"
#include "core/job_state.h"
#include "core/settings.h"
#include "core/ui.h"
#include "mail/mail_commands.h"

namespace {

// The batch is over: empty the list and everything that belonged to it.
void EndBatch(bool show) {
  g_job.multiInput = false;
  ClearInputs();
  g_job.operation = OP_NONE;
  g_job.encodeRequested = 0;
  g_job.mailInputs = false;
  g_job.outputNameGiven[0] = '\0';
  if (g_job.mailOutput) {
    EndMailSession(show);
    g_job.mailOutput = false;
  }
  ReleaseChosenRecipients();
  FreeRecipients();
}

// Advances the input list; returns whether the summary is shown and sets `more`.
bool AdvanceInputs(int& more) {
  if (g_job.inputCount == 0) return true;
  FreeCurrentInput();
  ++g_job.inputIndex;
  bool show = g_job.multiInput;
  if (g_job.inputIndex < g_job.inputCount) {
    more = 1;
    return show;
  }
  if (!g_job.multiInput) {
    g_job.quitRequested = true;
    show = false;
  }
  EndBatch(show);
  return show;
}

void DeleteTemporaryInput(HWND owner) {
  if (!g_job.inputIsTemporary) return;
  if (!DeleteFileA(g_job.inputPath))
    ShowErrorMessage(owner, GetLastError(), MB_ICONEXCLAMATION, "Could Not Delete %s because",
                     g_job.inputPath);
}

void ClearJobResult() {
  g_job.inputIsTemporary = false;
  g_job.inputPath[0] = '\0';
  g_job.outputPath[0] = '\0';
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
