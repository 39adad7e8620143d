// The mail commands of the main window and the mail steps of a command-line job.
#pragma once
#include "core/platform.h"

// "Encode to E-mail": logon, the address dialog, then Encode to File into messages.
void EncodeToMail(HWND window);
// "Decode from E-mail": the mailbox dialog, which starts the decoding of what it saved.
void DecodeFromMail(HWND window);
// Before the first input of a command-line mail job: logon and recipients. False when the
// job cannot go on (the program has been told to exit).
bool StartCommandLineMail(HWND window);
// The end of a mail job: the session is closed (`report`: its status and failure shown).
void EndMailSession(bool report);
// Forgets the recipients of the mail job.
void ReleaseChosenRecipients();
