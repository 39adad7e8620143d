#include "mail/decode_select_dialog.h"

#include <commctrl.h>

#include "app/batch.h"
#include "app/program.h"
#include "core/ui.h"
#include "mail/mail_session.h"
#include "mail/mailbox_inputs.h"
#include "mail/message_list.h"
#include "resources/resource.h"

namespace {

HWND ListOf(HWND dialog) { return GetDlgItem(dialog, IDC_MAIL_LIST); }

// Lists every message of the inbox, in the order the mail system finds them.
void ListInbox(HWND dialog, MessageList& list) {
  char id[MAIL_ID_ROOM] = "";
  char previous[MAIL_ID_ROOM] = "";
  int row = 0;
  for (bool first = true;; first = false) {
    if (FindNextMailMessage(dialog, false, first, id, 0) != SUCCESS_SUCCESS) return;
    // A mail system that finds the same message again would keep the dialog listing forever.
    if (!first && lstrcmpA(id, previous) == 0) return;
    lstrcpynA(previous, id, MAIL_ID_ROOM);
    MapiMessage* message = nullptr;
    if (ReadMailMessage(dialog, true, id, MAIL_READ_LIST, &message) != SUCCESS_SUCCESS) continue;
    ShowStatus("Retrieving E-mail Message %u", static_cast<unsigned>(row + 1));
    AddMessageRow(list, row++, *message, id);
    MapiFree(message);
  }
}

void OnInit(HWND dialog) {
  MessageList list;
  SetUpMessageList(list, dialog, ListOf(dialog));
  if (MailLogon(dialog, true, MAIL_LOGON_ASK) != SUCCESS_SUCCESS) {
    EndDialog(dialog, 0);
    return;
  }
  ListInbox(dialog, list);
  FitMessageColumns(list);
  ShowStatus("");
  EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
}

void OnSelectionChange(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, IDOK), ListView_GetSelectedCount(ListOf(dialog)) > 0);
}

void OnDecode(HWND dialog) {
  MailboxSaveResult result = SaveSelectedMessages(dialog, ListOf(dialog));
  if (!result.saved) {
    ShowMessage(dialog, MB_ICONEXCLAMATION, "Nothing to Decode.");
    return;
  }
  MailLogoff(dialog, true);
  if (!result.inputs.empty()) StartBatch(g_program.mainWindow, result.inputs, FROM_MAILBOX, NEXT_DECIDE);
  EndDialog(dialog, 1);
}

void OnCancel(HWND dialog) {
  MailLogoff(dialog, true);
  EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK DecodeSelectDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: OnInit(dialog); return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->idFrom != IDC_MAIL_LIST) return FALSE;
      OnSelectionChange(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: OnDecode(dialog); return TRUE;
        case IDCANCEL: OnCancel(dialog); return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}
