// MakeOutFile: settles the name of an output file, asks where needed, and creates it.
#include "core/platform.h"

#include <cderr.h>
#include <commdlg.h>

#include <cstdio>

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

char g_customFilter[CUSTOM_FILTER_ROOM];

enum { OUTPUT_CANNOT_CREATE = -2, OUTPUT_DECLINED = -3 };

// The proposed path: the name in the user's folder when one is chosen. False when the
// path does not fit, which has been reported.
bool ProposePath(HWND owner, const char* folder, char* name, char* proposed) {
  if (!folder) {
    std::snprintf(proposed, PATH_ROOM, "%s", name);
    return true;
  }
  if (JoinPath(folder, FileNamePart(name), proposed, PATH_ROOM)) return true;
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

// An existing file is replaced only when the user agrees or the call does not ask.
bool MayReplace(HWND owner, const char* name, int ask) {
  if (!FileExists(name)) return true;
  if (ask && !g_settings.overwriteexisting &&
      ShowMessage(owner, MB_ICONQUESTION | MB_YESNOCANCEL, "Overwrite Existing %s", name) != IDYES)
    return false;
  DeleteFileA(name);
  return true;
}

}  // namespace

int MakeOutFile(HWND owner, char* name, int mode, int ask) {
  const char* folder = ChosenFolder(mode);
  char proposed[PATH_ROOM];
  if (!ProposePath(owner, folder, name, proposed)) return OUTPUT_CANNOT_CREATE;
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
  if (!MayReplace(owner, name, ask)) return OUTPUT_DECLINED;
  int stream = StreamOpenForWriting(name);
  if (stream < 0) {
    ShowErrorMessage(owner, GetLastError(), MB_ICONHAND, "Can't Write to %s because\r\n", name);
    return OUTPUT_CANNOT_CREATE;
  }
  NoteCreatedOutput(name);
  return stream;
}
