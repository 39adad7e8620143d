#include "mail/mail_commands.h"

#include "app/file_commands.h"
#include "app/command_line.h"
#include "app/program.h"
#include "core/job_state.h"
#include "mail/decode_select_dialog.h"
#include "mail/mail_session.h"
#include "resources/resource.h"

namespace {

bool Accepted(ULONG code) { return code == SUCCESS_SUCCESS || code == MAPI_E_LOGON_FAILURE; }

void EndMailJob(HWND window, bool report) {
  MailLogoff(window, report);
  ReleaseMailRecipients();
  g_job.mailOutput = false;
}

}  // namespace

void EncodeToMail(HWND window) {
  FreeRecipients();
  g_job.mailOutput = true;
  if (MailLogon(window, true, MAIL_LOGON_ASK) != SUCCESS_SUCCESS ||
      ChooseMailRecipients(window, true) != SUCCESS_SUCCESS) {
    // Nothing is left behind: the next Encode to File goes to a file again.
    EndMailJob(window, false);
    return;
  }
  EncodeFromFile(window);
  // A multiple selection runs as a batch, whose end closes the mail job; a single file (or a
  // cancelled open dialog) ends it here.
  if (g_job.inputCount == 0) EndMailJob(window, true);
}

void DecodeFromMail(HWND window) {
  DialogBoxParamA(g_program.instance, MAKEINTRESOURCEA(IDD_DECODE_SELECT), window, DecodeSelectDlg, 0);
}

bool StartCommandLineMail(HWND window) {
  if (!g_job.mailOutput || !g_job.encodeRequested || g_job.inputIndex != 0) return true;
  const bool show = g_job.interactive;
  const bool named = g_job.encodeRequested == 1 && g_job.recipientCount > 0;
  if (Accepted(MailLogon(window, show, named ? MAIL_LOGON_DEFAULT : MAIL_LOGON_ASK))) {
    // Recipients named on the command line are the recipients: no dialog stops a batch.
    if (named) {
      UseNamedRecipients();
      return true;
    }
    if (Accepted(ChooseMailRecipients(window, show))) return true;
  }
  EndMailJob(window, false);
  PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
  return false;
}

void EndMailSession(bool report) {
  MailLogoff(g_program.mainWindow, report);
  g_job.mailOutput = false;
}

void ReleaseChosenRecipients() { ReleaseMailRecipients(); }
