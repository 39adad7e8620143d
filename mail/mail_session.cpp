#include "mail/mail_session.h"

#include <cstddef>
#include <cstring>

#include "core/job_state.h"
#include "core/settings.h"
#include "core/ui.h"

namespace {

const char kShortName[] = "Zentrel";
// A reserved top-level domain: the sender address can never reach anyone by accident.
const char kSenderAddress[] = "SMTP:Zentrel@quorvane.invalid";
const char kNoDate[] = "(none)";
const UINT kErrorBox = MB_OK | MB_ICONHAND;

char g_originatorName[256];
char g_originatorAddress[256];

// The command line's recipients are kept in the job state in the recipient record's layout.
static_assert(sizeof(MailRecipient) == sizeof(MapiRecipDesc), "recipient layout");
static_assert(offsetof(MailRecipient, name) == offsetof(MapiRecipDesc, lpszName), "recipient layout");
static_assert(offsetof(MailRecipient, entryId) == offsetof(MapiRecipDesc, lpEntryID), "recipient layout");

MapiRecipDesc* NamedRecipients() { return reinterpret_cast<MapiRecipDesc*>(g_job.recipients); }

void ClearStatus() { ShowStatus(""); }

void ReportFailure(HWND window, const char* format, ULONG code) {
  ShowMessage(window, kErrorBox, format, MailErrorText(code));
}

void SetRecipients(MapiRecipDesc* recipients, ULONG count, bool fromMapi) {
  ReleaseMailRecipients();
  g_mail.recipients = recipients;
  g_mail.recipientCount = count;
  g_mail.recipientsFromMapi = fromMapi;
  g_job.mailRecipientCount = static_cast<int>(count);
}

MapiRecipDesc MakeOriginator() {
  std::strcpy(g_originatorName, kShortName);
  std::strcpy(g_originatorAddress, kSenderAddress);
  MapiRecipDesc sender = {};
  sender.ulRecipClass = MAPI_ORIG;
  sender.lpszName = g_originatorName;
  sender.lpszAddress = g_originatorAddress;
  return sender;
}

}  // namespace

MailSession g_mail;
MapiRecipDesc MailOriginator = MakeOriginator();

ULONG MailLogon(HWND window, bool showErrors, FLAGS flags) {
  if (g_mail.session) return SUCCESS_SUCCESS;
  ShowStatus("Logging into E-mail System ...");
  LHANDLE session = 0;
  ULONG code = MapiLogon(window, flags, &session);
  if (code == SUCCESS_SUCCESS) {
    g_mail.session = session;
    ShowStatus("Successfully Logged into E-mail System.");
    return code;
  }
  if (code != MAPI_USER_ABORT && code != MAPI_E_LOGON_FAILURE && showErrors)
    ReportFailure(window, "Unable to Login for E-mail because %s.", code);
  g_mail.session = 0;
  ClearStatus();
  return code;
}

ULONG MailLogoff(HWND window, bool showStatus) {
  if (showStatus) ShowStatus("Logging off of E-mail System ...");
  ULONG code = SUCCESS_SUCCESS;
  if (g_mail.session) {
    code = MapiLogoff(g_mail.session, window);
    if (code != SUCCESS_SUCCESS && code != MAPI_USER_ABORT && showStatus)
      ReportFailure(window, "Logoff for E-mail Failed because %s.", code);
  }
  g_mail.session = 0;
  ClearStatus();
  return code;
}

ULONG ChooseMailRecipients(HWND window, bool showErrors) {
  ULONG count = 0;
  MapiRecipDesc* chosen = nullptr;
  ULONG code = MapiAddress(g_mail.session, window, static_cast<ULONG>(g_job.recipientCount), NamedRecipients(),
                           &count, &chosen);
  if (code != SUCCESS_SUCCESS) {
    MapiFree(chosen);
    if (code != MAPI_USER_ABORT && code != MAPI_E_LOGON_FAILURE && showErrors)
      ReportFailure(window, "Cannot Choose E-mail Recipients because %s", code);
    ClearStatus();
    return code;
  }
  SetRecipients(chosen, chosen ? count : 0, true);
  if (g_mail.recipientCount == 0 && showErrors) {
    ShowMessage(window, MB_OK | MB_ICONEXCLAMATION, "Must Choose at least one E-mail Recipient.");
    ClearStatus();
    return MAPI_E_INVALID_RECIPS;
  }
  return code;
}

void UseNamedRecipients() { SetRecipients(NamedRecipients(), static_cast<ULONG>(g_job.recipientCount), false); }

void ReleaseMailRecipients() {
  if (g_mail.recipientsFromMapi) MapiFree(g_mail.recipients);
  g_mail.recipients = nullptr;
  g_mail.recipientCount = 0;
  g_mail.recipientsFromMapi = false;
  g_job.mailRecipientCount = 0;
}

void FillMailMessage(MapiMessage& message, const char* subject, const char* text) {
  std::memset(&message, 0, sizeof message);
  message.lpszSubject = const_cast<char*>(subject);
  message.lpszNoteText = const_cast<char*>(text);
  message.lpszMessageType = g_identity.internalName;
  message.lpszDateReceived = const_cast<char*>(kNoDate);
  message.flFlags = MAPI_UNREAD;
  message.lpOriginator = &MailOriginator;
  message.nRecipCount = g_mail.recipientCount;
  message.lpRecips = g_mail.recipients;
}

ULONG SendMailMessage(HWND window, bool showErrors, MapiMessage& message, FLAGS flags) {
  ULONG code = MapiSendMail(g_mail.session, window, &message, flags);
  if (code != SUCCESS_SUCCESS && code != MAPI_USER_ABORT && showErrors)
    ReportFailure(window, "Sending E-mail Message Failed because %s.", code);
  return code;
}

ULONG FindNextMailMessage(HWND window, bool showErrors, bool first, char* id, FLAGS flags) {
  char seed[MAIL_ID_ROOM];
  if (first) {
    seed[0] = '\0';
  } else {
    std::memcpy(seed, id, MAIL_ID_ROOM);
    seed[MAIL_ID_ROOM - 1] = '\0';
  }
  id[0] = '\0';
  ULONG code = MapiFindNext(g_mail.session, window, seed, flags | MAPI_LONG_MSGID, id);
  id[MAIL_ID_ROOM - 1] = '\0';
  if (code == MAPI_E_NO_MESSAGES) {
    // Said once for an empty mailbox; the normal end of a search is silent.
    if (first) ShowMessage(window, MB_OK | MB_ICONEXCLAMATION, "%s.", MailErrorText(code));
  } else if (code != SUCCESS_SUCCESS && code != MAPI_USER_ABORT && showErrors) {
    ReportFailure(window, "Browsing E-mail Messages Failed because %s.", code);
  }
  return code;
}

ULONG ReadMailMessage(HWND window, bool showErrors, const char* id, FLAGS flags, MapiMessage** message) {
  ULONG code = MapiReadMail(g_mail.session, window, id, flags, message);
  if (code != SUCCESS_SUCCESS) {
    *message = nullptr;  // a failed read hands nothing out
    if (code != MAPI_USER_ABORT && showErrors) ReportFailure(window, "Reading E-mail Message Failed because %s.", code);
  }
  return code;
}
