#include "core/job_state.h"

#include <cstdio>
#include <cstring>

JobState g_job;

void ResetJobState() {
  std::memset(&g_job, 0, sizeof g_job);
  g_job.interactive = true;
}

void NoteRunOutcome(int outcome) {
  if (outcome > g_job.worstOutcome) g_job.worstOutcome = outcome;
}

void NoteFinishedOutput(const char* path) {
  if (g_job.outputCount < LISTED_OUTPUTS)
    std::snprintf(g_job.listedOutputs[g_job.outputCount], PATH_ROOM, "%s", path);
  ++g_job.outputCount;
}

namespace {
struct InitialJobState {
  InitialJobState() { ResetJobState(); }
} initialJobState;
}  // namespace
