#include "app/created_output.h"

#include <cstdio>
#include <string>
#include <vector>

#include "core/job_state.h"
#include "core/platform.h"

namespace {

char g_createdPath[PATH_ROOM];
// How many files the input had finished when the job created g_createdPath: once the
// decoder finishes that file too, it is the input's, no longer the job's work in progress.
int g_finishedBeforeCreated;
std::vector<std::string> g_runOutputs;  // full paths

// Relative names given on the command line meet the same file as full ones.
std::string FullPath(const char* path) {
  char full[PATH_ROOM];
  const DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? full : path;
}

}  // namespace

void NoteCreatedOutput(const char* path) {
  std::snprintf(g_createdPath, sizeof g_createdPath, "%s", path);
  g_finishedBeforeCreated = g_job.outputCount;
  if (!CreatedInThisRun(path)) g_runOutputs.push_back(FullPath(path));
}

bool WasCreatedByJob(const char* path) {
  return path && *path && g_createdPath[0] && g_job.outputCount == g_finishedBeforeCreated &&
         lstrcmpiA(path, g_createdPath) == 0;
}

bool DeleteCreatedOutput(const char* path) {
  if (!WasCreatedByJob(path)) return false;
  ForgetCreatedOutput();
  return DeleteFileA(path) != FALSE;
}

void ForgetCreatedOutput() { g_createdPath[0] = '\0'; }

bool CreatedInThisRun(const char* path) {
  const std::string full = FullPath(path);
  for (const std::string& made : g_runOutputs)
    if (lstrcmpiA(made.c_str(), full.c_str()) == 0) return true;
  return false;
}

void ForgetRunOutputs() { g_runOutputs.clear(); }
