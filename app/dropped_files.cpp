#include "app/dropped_files.h"

#include <string>
#include <vector>

#include "app/batch.h"
#include "core/job_state.h"
#include "core/ui.h"

namespace {

const UINT kCountFiles = 0xFFFFFFFF;

// Every dropped file goes into the batch, or none does: a batch never runs with some of
// its files silently left out.
bool TakeDroppedFiles(HWND window, HDROP drop, std::vector<std::string>& paths) {
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
    if (length >= PATH_ROOM || DragQueryFileA(drop, i, path, sizeof path) != length) {
      ShowMessage(window, MB_ICONEXCLAMATION,
                  "A dropped file's path is longer than %d characters.\r\nNo file was processed.", PATH_ROOM - 1);
      return false;
    }
    paths.push_back(path);
  }
  return count > 0;
}

}  // namespace

void StartDroppedFiles(HWND window, HDROP drop) {
  std::vector<std::string> paths;
  bool taken = TakeDroppedFiles(window, drop, paths);
  DragFinish(drop);
  if (taken) StartBatch(window, paths, FROM_USER, NEXT_DECIDE);
}
