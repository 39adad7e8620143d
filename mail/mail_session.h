// The program's one mail session over Simple MAPI: logon and logoff, the recipients of a
// mail job, sending a message and reading the mailbox. Every call returns the Simple MAPI
// result code (0 = success) and reports failures itself where its show-errors flag says so,
// with the status line telling what it is doing.
#pragma once
#include "core/platform.h"
#include "mail/simple_mapi.h"

enum {
  MAIL_ID_ROOM = 512,                            // long message identifiers
  MAIL_LOGON_ASK = MAPI_LOGON_UI | MAPI_NEW_SESSION,  // 3: the provider may ask
  MAIL_LOGON_DEFAULT = MAPI_NEW_SESSION | 0x40,       // 66: the default profile, no dialog
  MAIL_READ_LIST = MAPI_PEEK | MAPI_SUPPRESS_ATTACH,  // envelope and text, left unread
  MAIL_READ_FULL = 0,
};

struct MailSession {
  LHANDLE session;  // 0 when none is open
  // The recipients of the running mail job: from the address dialog (owned by the mail
  // system) or the command line's list (owned by the job state).
  MapiRecipDesc* recipients;
  ULONG recipientCount;
  bool recipientsFromMapi;
};

extern MailSession g_mail;
// The sender of every message the program sends.
extern MapiRecipDesc MailOriginator;

// The text shown after "because" for a Simple MAPI result code.
const char* MailErrorText(ULONG code);

// Opens the session unless one is open (then returns 0 at once).
ULONG MailLogon(HWND window, bool showErrors, FLAGS flags);
// Closes the session if one is open; returns the logoff result, 0 when none was open.
ULONG MailLogoff(HWND window, bool showStatus);
// The provider's address dialog, starting from the command line's recipients.
ULONG ChooseMailRecipients(HWND window, bool showErrors);
// Takes the recipients named on the command line as they stand, without a dialog.
void UseNamedRecipients();
// Forgets the chosen recipients, releasing what the mail system handed out.
void ReleaseMailRecipients();
// A message with `subject` and body `text` from MailOriginator to the chosen recipients.
// Both strings stay the caller's and must outlive the send.
void FillMailMessage(MapiMessage& message, const char* subject, const char* text);
ULONG SendMailMessage(HWND window, bool showErrors, MapiMessage& message, FLAGS flags);
// `id` holds MAIL_ID_ROOM bytes: in, the message found last (unless `first`); out, the next.
ULONG FindNextMailMessage(HWND window, bool showErrors, bool first, char* id, FLAGS flags);
// On success *message is the mail system's record, released with MapiFree.
ULONG ReadMailMessage(HWND window, bool showErrors, const char* id, FLAGS flags, MapiMessage** message);
// Saves the attachments of a fully read message as output files; returns 0.
int SaveMailAttachments(HWND window, const MapiMessage& message);
