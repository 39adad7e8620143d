#include <cstdio>

#include "app/created_output.h"
#include "app/file_dialogs.h"
#include "core/job_state.h"
#include "core/names.h"
#include "core/streams.h"
#include "core/ui.h"
#include "mail/mail_session.h"

namespace {

const char kUnnamedAttachment[] = "DontKnow.Yet";

bool IsOleAttachment(const MapiFileDesc& file) { return (file.flFlags & (MAPI_OLE | MAPI_OLE_STATIC)) != 0; }

// The name the attachment asks for, cleaned as every decoded name is: a sender's
// "..\..\x.exe", "C:\..." or "\\host\share\..." must not choose where the file goes.
// An attachment has no folder of its own: with outputs "in the input's folder" it goes to the
// documents folder, not to whatever the current folder is.
void WantedName(const MapiFileDesc& file, char* name) {
  const char* given = file.lpszFileName && file.lpszFileName[0] ? file.lpszFileName : kUnnamedAttachment;
  char clean[PATH_ROOM];
  std::snprintf(clean, sizeof clean, "%s", given);
  CleanFileName(clean);
  if (!DocumentsFolder()[0] || !JoinPath(DocumentsFolder(), clean, name, PATH_ROOM))
    std::snprintf(name, PATH_ROOM, "%s", clean);
}

void SaveAttachment(HWND window, const MapiFileDesc& file, int i, int n) {
  char name[PATH_ROOM];
  WantedName(file, name);
  char wanted[PATH_ROOM];
  std::snprintf(wanted, sizeof wanted, "%s", name);
  ShowStatus("Saving Attachment %d of %d", i, n);
  const int stream = MakeOutFile(window, name, MODE_DECODE, g_job.interactive ? 1 : 0);
  if (stream >= 0) {
    StreamClose(stream);
    // The saved file is the user's from now on, not an output a later job may take back.
    ForgetCreatedOutput();
    if (!file.lpszPathName || !CopyFileA(file.lpszPathName, name, FALSE)) {
      const DWORD error = file.lpszPathName ? GetLastError() : ERROR_FILE_NOT_FOUND;
      DeleteFileA(name);  // the empty file made for the copy holds nothing of the attachment
      ShowErrorMessage(window, error, MB_ICONEXCLAMATION, "Saving Attachment %s Failed because\r\n", wanted);
    }
  }
  if (file.lpszPathName) DeleteFileA(file.lpszPathName);
}

}  // namespace

int SaveMailAttachments(HWND window, const MapiMessage& message) {
  const int n = static_cast<int>(message.nFileCount);
  for (int i = 1; i <= n && message.lpFiles; ++i) {
    const MapiFileDesc& file = message.lpFiles[i - 1];
    if (IsOleAttachment(file)) {
      ShowStatus("Skipping OLE Attachment %d of %d", i, n);
      if (file.lpszPathName) DeleteFileA(file.lpszPathName);
      continue;
    }
    SaveAttachment(window, file, i, n);
  }
  return 0;
}
