#include "app/input_list.h"

#include "app/local_strings.h"
#include "core/job_state.h"

bool AddInput(const char* path) {
  if (g_job.inputCount >= MAX_INPUTS) return false;
  char* copy = StrDup(path);
  if (!copy) return false;
  g_job.inputs[g_job.inputCount++] = copy;
  return true;
}

void FreeCurrentInput() {
  if (g_job.inputIndex < 0 || g_job.inputIndex >= MAX_INPUTS) return;
  StrFree(g_job.inputs[g_job.inputIndex]);
  g_job.inputs[g_job.inputIndex] = nullptr;
}

void ClearInputs() {
  for (char*& entry : g_job.inputs) {
    StrFree(entry);
    entry = nullptr;
  }
  g_job.inputCount = 0;
  g_job.inputIndex = 0;
}

void FreeRecipients() {
  for (int i = 0; i < g_job.recipientCount && i < MAX_RECIPIENTS; ++i) {
    MailRecipient& recipient = g_job.recipients[i];
    StrFree(recipient.name);
    StrFree(recipient.address);
    recipient.name = recipient.address = nullptr;
  }
  g_job.recipientCount = 0;
}
