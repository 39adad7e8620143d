#include "app/dropped_files.h"

#include "app/input_list.h"
#include "app/job_runs.h"
#include "core/job_state.h"
#include "core/ui.h"
#include "resources/resource.h"

namespace {

const UINT kCountFiles = 0xFFFFFFFF;

// Every dropped file goes into the list, or none does: a batch never runs with some of
// its files silently left out.
bool TakeDroppedFiles(HWND window, HDROP drop) {
  UINT count = DragQueryFileA(drop, kCountFiles, nullptr, 0);
  if (count > MAX_INPUTS) {
    ShowMessage(window, MB_ICONEXCLAMATION,
                "%u files were dropped; at most %d can be processed at a time.\r\nNo file was processed.",
                count, MAX_INPUTS);
    return false;
  }
  for (UINT i = 0; i < count; ++i) {
    char path[PATH_ROOM];
    UINT length = DragQueryFileA(drop, i, nullptr, 0);
    bool fits = length < PATH_ROOM && DragQueryFileA(drop, i, path, sizeof path) == length;
    if (!fits || !AddInput(path)) {
      ShowMessage(window, MB_ICONEXCLAMATION,
                  "A dropped file's path is longer than %d characters.\r\nNo file was processed.", PATH_ROOM - 1);
      ClearInputs();
      return false;
    }
  }
  return count > 0;
}

}  // namespace

void StartDroppedFiles(HWND window, HDROP drop) {
  bool taken = TakeDroppedFiles(window, drop);
  DragFinish(drop);
  if (!taken) return;
  g_job.multiInput = true;
  PostMessageA(window, UM_NEXT_INPUT, 0, MAKELPARAM(NEXT_DECIDE, 0));
}
