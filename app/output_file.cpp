// MakeOutFile: settles the name of an output file, asks where needed, and creates it.
#include "core/platform.h"

#include <cderr.h>
#include <commdlg.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/created_output.h"
#include "app/file_dialogs.h"
#include "app/name_tables.h"
#include "core/job_state.h"
#include "core/names.h"
#include "core/settings.h"
#include "core/streams.h"
#include "core/ui.h"

namespace {

const char kEncodeSaveFilters[] =
    "Encoded Files (*.UUE, *.XXE, *.MME, *.B64, *.HQX)\0*.UUE;*.XXE;*.MME;*.HQX;*.B64\0"
    "UU Encoded Files (*.UUE)\0*.UUE\0"
    "XX Encoded Files (*.XXE)\0*.XXE\0"
    "MIME Encoded Files (*.MME, *.B64)\0*.MME;*.B64\0"
    "BINHEX Encoded Files (*.HQX)\0*.HQX\0";
const char kDecodeSaveFilters[] = "All Files\0*.*\0";
const char kAnyFile[] = "*.*";
const char kOverwrite[] = "Overwrite Existing %s";
const char kWrittenThisRun[] = "Can't Write to %s:\r\nanother file of this run was written there.";

char g_customFilter[CUSTOM_FILTER_ROOM];

enum { OUTPUT_CANNOT_CREATE = -2, OUTPUT_DECLINED = -3 };

// `name` placed in `folder` (null: where it is); false when the path does not fit.
bool PlacedPath(const char* folder, const char* name, char* path) {
  if (folder) return JoinPath(folder, FileNamePart(name), path, PATH_ROOM);
  std::snprintf(path, PATH_ROOM, "%s", name);
  return true;
}

// The proposed path: the name in the output folder when there is one. False when the path
// does not fit, which has been reported.
bool ProposePath(HWND owner, const char* folder, char* name, char* proposed) {
  if (PlacedPath(folder, name, proposed)) return true;
  ShowMessage(owner, MB_ICONHAND, "Can't Write to %s\\%s:\r\nthe path is longer than %d characters.",
              folder, FileNamePart(name), PATH_ROOM - 1);
  return false;
}

// The save dialog, again after an invalid name. Returns 0 with the chosen path in `name`,
// or OUTPUT_DECLINED.
int AskOutputPath(HWND owner, int mode, char* proposed, char* name) {
  char title[64];
  std::snprintf(title, sizeof title, "%s Output To", OperationName(mode));
  for (;;) {
    char fileTitle[FILE_TITLE_ROOM] = "";
    OPENFILENAMEA dialog = FileDialogFields(owner, mode, mode == MODE_ENCODE ? kEncodeSaveFilters : kDecodeSaveFilters,
                                            g_customFilter, proposed, PATH_ROOM, fileTitle, title);
    if (GetSaveFileNameA(&dialog)) {
      std::snprintf(name, PATH_ROOM, "%s", proposed);
      return 0;
    }
    DWORD error = CommDlgExtendedError();
    if (error == 0) return OUTPUT_DECLINED;
    if (error != FNERR_INVALIDFILENAME) {
      ShowMessage(owner, MB_ICONHAND, "MakeOutFile(): Common Dialog Error %ld!", static_cast<long>(error));
      return OUTPUT_DECLINED;
    }
    ShowMessage(owner, MB_ICONEXCLAMATION, "Invalid file name: %s", proposed);
    std::snprintf(proposed, PATH_ROOM, "%s", kAnyFile);
  }
}

// Whether the user is asked before an existing file is replaced. An output of another job
// of the same run, or one the job has finished, is never replaced unasked (so several inputs
// given one output name do not silently keep only the last; a name from a header has already
// become a free one, TakesFreeName); the joiner's own temporary file is replaced without a word;
// otherwise an interactive job asks as the overwriteexisting setting says, also for names
// that were not asked for (an output name from the command line).
bool AsksBeforeReplacing(const char* name, int mode, int ask) {
  if (ask == ASK_AGREED || mode == MODE_CONCATENATE) return false;
  if (CreatedInThisRun(name) && !WasCreatedByJob(name)) return true;
  return !g_settings.overwriteexisting && (ask != ASK_NOTHING || g_job.interactive);
}

// Whether the name proposed for a decoded file becomes a free one beside it: a name from a
// header (two messages of a mailbox may both carry "image.jpg") that meets an output this run
// made. Both files stay, as a copy in Explorer keeps both; the save dialog, where it is shown,
// proposes the free name. A name the user gave (/O) is asked about, or refused without
// questions, instead.
bool TakesFreeName(const char* name, int mode) {
  return mode == MODE_DECODE && !g_job.outputNameGiven[0] && CreatedInThisRun(name) && !WasCreatedByJob(name) &&
         FileExists(name);
}

// An existing file is replaced only when the user agrees or nobody is to be asked. Without
// questions (/N), an output of another job of the run is kept and this one refused.
int MayReplace(HWND owner, const char* name, int mode, int ask) {
  if (!FileExists(name)) return 0;
  if (AsksBeforeReplacing(name, mode, ask)) {
    if (!g_job.interactive) {
      ShowMessage(owner, MB_ICONHAND, kWrittenThisRun, name);
      return OUTPUT_CANNOT_CREATE;
    }
    if (ShowMessage(owner, MB_ICONQUESTION | MB_YESNOCANCEL, kOverwrite, name) != IDYES)
      return OUTPUT_DECLINED;
  }
  DeleteFileA(name);
  return 0;
}

// The text of `paths` one to a line, as much as a message holds.
std::string PathLines(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& path : paths) text += (text.empty() ? "" : "\r\n") + path;
  return text;
}

}  // namespace

int ConfirmReplacingOutputs(HWND owner, const char* const* names, int count, int mode) {
  const char* folder = OutputFolder(mode);
  std::vector<std::string> existing;
  bool ask = false;
  for (int i = 0; i < count; ++i) {
    char path[PATH_ROOM];
    if (!PlacedPath(folder, names[i], path) || !FileExists(path)) continue;  // MakeOutFile reports a long path
    existing.push_back(path);
    ask = ask || AsksBeforeReplacing(path, mode, ASK_NOTHING);
  }
  if (existing.empty()) return ASK_NOTHING;
  if (!ask) return ASK_AGREED;
  if (!g_job.interactive) {
    ShowMessage(owner, MB_ICONHAND, kWrittenThisRun, existing[0].c_str());
    return OUTPUT_CANNOT_CREATE;
  }
  const int answer = ShowMessage(owner, MB_ICONQUESTION | MB_YESNOCANCEL, kOverwrite, PathLines(existing).c_str());
  return answer == IDYES ? static_cast<int>(ASK_AGREED) : static_cast<int>(OUTPUT_DECLINED);
}

int MakeOutFile(HWND owner, char* name, int mode, int ask) {
  const char* folder = OutputFolder(mode);
  char proposed[PATH_ROOM];
  if (!ProposePath(owner, folder, name, proposed)) return OUTPUT_CANNOT_CREATE;
  if (TakesFreeName(proposed, mode) && !FreeNameBeside(proposed, PATH_ROOM)) {
    ShowMessage(owner, MB_ICONHAND, kWrittenThisRun, proposed);
    return OUTPUT_CANNOT_CREATE;
  }
  if (ask == ASK_NAME && !g_settings.usedefaultnames) {
    int asked = AskOutputPath(owner, mode, proposed, name);
    if (asked != 0) return asked;
  } else {
    std::snprintf(name, PATH_ROOM, "%s", proposed);
  }
  if (IsDeviceName(FileNamePart(name))) {
    ShowMessage(owner, MB_ICONHAND, "Can't Write to %s:\r\nthe name belongs to a device.", name);
    return OUTPUT_CANNOT_CREATE;
  }
  const int replace = MayReplace(owner, name, mode, ask);
  if (replace != 0) return replace;
  int stream = StreamOpenForWriting(name);
  if (stream < 0) {
    ShowErrorMessage(owner, GetLastError(), MB_ICONHAND, "Can't Write to %s because\r\n", name);
    return OUTPUT_CANNOT_CREATE;
  }
  NoteCreatedOutput(name);
  return stream;
}
