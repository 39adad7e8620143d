#include "app/created_output.h"

#include <cstdio>

#include "core/job_state.h"
#include "core/platform.h"

namespace {
char g_createdPath[PATH_ROOM];
}

void NoteCreatedOutput(const char* path) {
  std::snprintf(g_createdPath, sizeof g_createdPath, "%s", path);
}

bool WasCreatedByJob(const char* path) {
  return path && *path && g_createdPath[0] && lstrcmpiA(path, g_createdPath) == 0;
}

bool DeleteCreatedOutput(const char* path) {
  if (!WasCreatedByJob(path)) return false;
  ForgetCreatedOutput();
  return DeleteFileA(path) != FALSE;
}

void ForgetCreatedOutput() { g_createdPath[0] = '\0'; }
