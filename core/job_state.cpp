#include "core/job_state.h"

#include <cstring>

JobState g_job;

void ResetJobState() {
  std::memset(&g_job, 0, sizeof g_job);
  g_job.interactive = true;
}

void NoteRunOutcome(int outcome) {
  if (outcome > g_job.worstOutcome) g_job.worstOutcome = outcome;
}

namespace {
struct InitialJobState {
  InitialJobState() { ResetJobState(); }
} initialJobState;
}  // namespace
