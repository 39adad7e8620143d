// askuu: the open dialog that chooses the inputs of encode and decode jobs.
#include "core/platform.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/encode_or_decode.h"
#include "app/file_dialogs.h"
#include "app/name_tables.h"
#include "core/job_state.h"
#include "core/settings.h"
#include "core/streams.h"
#include "core/ui.h"
#include "encode/encode_driver.h"
#include "resources/resource.h"

namespace {

const char kEncodeFilters[] =
    "All Files (*.*)\0*.*\0"
    "Archive Files (*.zip, *.arc, *.lzh, *.zoo)\0*.arc;*.zip;*.zoo;*.lzh\0"
    "Executable Files (*.exe, *.dll, *.com)\0*.exe;*.com;*.dll\0";
const char kDecodeFilters[] =
    "Encoded Files\0*.uue;*.xxe;*.mme;*.uu;*.xx;*.mm;*.b64;*.hqx;*.hex\0"
    "UU Encoded Files (*.uue, *.uu)\0*.uue;*.uu\0"
    "XX Encoded Files (*.xxe, *.xx)\0*.xxe;*.xx\0"
    "MIME Encoded Files (*.mme, *.b64, *.mm)\0*.mme;*.mm;*.b64\0"
    "BINHEX Encoded Files (*.hqx, *.hex)\0*.hqx;*.hex\0"
    "All Files (*.*)\0*.*\0";

DWORD g_filterIndex = 1;
char g_customFilter[CUSTOM_FILTER_ROOM];

}  // namespace

// Names that could not join the list are said so, never dropped silently.
std::vector<std::string> ChosenFiles(HWND owner, const char* buffer, size_t fileOffset) {
  std::vector<std::string> chosen;
  int tooLong = 0, leftOut = 0;
  for (const char* name = buffer + fileOffset; *name; name += std::strlen(name) + 1) {
    char path[PATH_ROOM];
    if (!JoinPath(buffer, name, path, sizeof path))
      ++tooLong;
    else if (chosen.size() < MAX_INPUTS)
      chosen.push_back(path);
    else
      ++leftOut;
  }
  if (tooLong)
    ShowMessage(owner, MB_ICONEXCLAMATION,
                "%d of the selected files were left out:\r\ntheir paths are longer than %d characters.",
                tooLong, PATH_ROOM - 1);
  if (leftOut)
    ShowMessage(owner, MB_ICONEXCLAMATION,
                "Only %d files can be processed at a time.\r\n%d of the selected files were left out.",
                MAX_INPUTS, leftOut);
  return chosen;
}

namespace {

int StartChosenBatch(HWND owner, int mode, const char* buffer, WORD fileOffset) {
  // The clipboard holds one text: the selection is refused whole, before any of its files
  // is encoded, rather than the first refused and the others sent to files.
  if (g_job.clipboardOutput) {
    ShowMessage(owner, MB_ICONEXCLAMATION, kClipboardTakesOneFile);
    return -1;
  }
  StartBatch(owner, ChosenFiles(owner, buffer, fileOffset), FROM_USER,
             mode == MODE_ENCODE ? NEXT_ENCODE : NEXT_DECIDE);
  return -1;
}

int OpenChosenFile(HWND owner, int mode, const char* path, char* name) {
  std::snprintf(name, PATH_ROOM, "%s", path);
  if (mode == MODE_DECODE) DecideEncodingTypeFor(name);
  int stream = StreamOpenForReading(name, mode == MODE_DECODE ? STREAM_TEXT : STREAM_BINARY);
  if (stream < 0) ShowMessage(owner, MB_ICONHAND, "Can't Read %s.", name);
  return stream;
}

int RunOpenDialog(HWND owner, int mode, char* name, char* buffer) {
  char fileTitle[FILE_TITLE_ROOM] = "";
  std::snprintf(buffer, PATH_ROOM, "%s", name);
  OPENFILENAMEA dialog =
      FileDialogFields(owner, mode, mode == MODE_DECODE ? kDecodeFilters : kEncodeFilters, g_customFilter,
                       buffer, OPEN_FILE_BUFFER_SIZE, fileTitle, OperationName(mode));
  dialog.nFilterIndex = g_filterIndex;
  dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT;
  if (!GetOpenFileNameA(&dialog)) {
    DWORD error = CommDlgExtendedError();
    if (error) ShowMessage(owner, MB_ICONHAND, "askuu(): Common Dialog Error %ld!", static_cast<long>(error));
    return -1;
  }
  g_filterIndex = dialog.nFilterIndex;
  bool several = dialog.nFileOffset > 0 && buffer[dialog.nFileOffset - 1] == '\0';
  if (several) return StartChosenBatch(owner, mode, buffer, dialog.nFileOffset);
  return OpenChosenFile(owner, mode, buffer, name);
}

}  // namespace

int askuu(HWND owner, int mode, char* name) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, OPEN_FILE_BUFFER_SIZE);
  char* buffer = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr;
  if (!buffer) {
    ShowErrorMessage(owner, GetLastError(), MB_ICONHAND, "askuu(): Can't get pathname buffer memory because");
    if (memory) GlobalFree(memory);
    return -1;
  }
  int stream = RunOpenDialog(owner, mode, name, buffer);
  GlobalUnlock(memory);
  GlobalFree(memory);
  return stream;
}
