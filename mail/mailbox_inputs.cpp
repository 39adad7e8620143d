#include "mail/mailbox_inputs.h"

#include <commctrl.h>

#include "core/job_state.h"
#include "core/settings.h"
#include "core/streams.h"
#include "core/ui.h"
#include "mail/mail_session.h"
#include "mail/message_list.h"

namespace {

struct SaveRun {
  HWND dialog;
  int stream = -1;  // the open temporary input
  bool listFull = false;
  MailboxSaveResult result;
};

// A new temporary input for the body text of `row`; false when there is none (reported).
bool OpenNewInput(SaveRun& run, int row) {
  char path[PATH_ROOM];
  if (MakeTempFileName(path) == 0) {
    ShowErrorMessage(run.dialog, GetLastError(), MB_ICONHAND, "Saving E-mail Message %d Failed because", row);
    return false;
  }
  if (run.result.inputs.size() >= MAX_INPUTS) {
    DeleteFileA(path);
    if (!run.listFull)
      ShowMessage(run.dialog, MB_ICONEXCLAMATION, "Only %d E-mail Messages can be Decoded at a Time.", MAX_INPUTS);
    run.listFull = true;
    return false;
  }
  // The file was made empty: opened as it stands, not truncated again, which under Wine
  // would have it written back to disk at its close (StreamOpenForWriting tells why).
  run.stream = StreamOpen(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_TEMPORARY,
                          STREAM_NUL_AFTER_BLOCK);
  if (run.stream >= 0) {
    run.result.inputs.push_back(path);
    return true;
  }
  const DWORD error = GetLastError();
  DeleteFileA(path);
  ShowErrorMessage(run.dialog, error, MB_ICONHAND, "Saving E-mail Message %d Failed because", row);
  return false;
}

void CloseInput(SaveRun& run) {
  if (run.stream < 0) return;
  StreamClose(run.stream);
  run.stream = -1;
}

// The body text as the decoder reads it: a "Subject:" line (for the part detection) set
// off by empty lines, then the text unchanged. The lines around it end in CR LF whatever
// the line-end setting says: after a body in CR LF (as mail text is), the reader takes a bare
// LF for the LF of that CR LF and the empty lines would vanish, so that a base64 body ran on
// into the next message; and with no line end at all the lines would run together.
void WriteBody(const SaveRun& run, const MapiMessage& message) {
  const char* eol = "\r\n";
  if (message.lpszSubject && message.lpszSubject[0]) {
    char line[MESSAGE_ROOM + 1];
    wsprintfA(line, "%s%sSubject: ", eol, eol);
    StreamWriteString(run.stream, line);
    StreamWriteString(run.stream, message.lpszSubject);
  }
  for (int i = 0; i < 3; ++i) StreamWriteString(run.stream, eol);
  if (message.lpszNoteText) StreamWriteString(run.stream, message.lpszNoteText);
}

void SaveBody(SaveRun& run, int row, const MapiMessage& message, bool lastSelected) {
  const bool join = g_settings.decodejoin != 0;
  if (run.stream < 0 && !OpenNewInput(run, row)) return;
  WriteBody(run, message);
  if (!join || lastSelected) CloseInput(run);
  run.result.saved = true;
}

bool IsSelected(HWND view, int row) { return ListView_GetItemState(view, row, LVIS_SELECTED) != 0; }

}  // namespace

MailboxSaveResult SaveSelectedMessages(HWND dialog, HWND view) {
  SaveRun run;
  run.dialog = dialog;
  const int rows = ListView_GetItemCount(view);
  const int selected = static_cast<int>(ListView_GetSelectedCount(view));
  int handled = 0;
  for (int row = 0; row < rows && handled < selected && !run.listFull; ++row) {
    if (!IsSelected(view, row)) continue;
    ++handled;
    char id[MAIL_ID_ROOM] = "";
    ListView_GetItemText(view, row, MAIL_ID_COLUMN, id, sizeof id);
    MapiMessage* message = nullptr;
    if (ReadMailMessage(dialog, true, id, MAIL_READ_FULL, &message) != SUCCESS_SUCCESS) continue;
    if (message->nFileCount > 0) {
      SaveMailAttachments(dialog, *message);
      run.result.saved = true;
    } else {
      SaveBody(run, row, *message, handled == selected);
    }
    MapiFree(message);
  }
  CloseInput(run);
  return run.result;
}
