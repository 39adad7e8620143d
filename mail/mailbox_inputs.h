// "&Decode" of the mailbox dialog: reads the selected messages in full, saves their
// attachments and writes the body text of the others into temporary decoder inputs.
#pragma once
#include "core/platform.h"

struct MailboxSaveResult {
  bool saved;        // something was saved: an attachment or a body text
  int bodiesWritten;  // body texts now waiting in the input list
};

MailboxSaveResult SaveSelectedMessages(HWND dialog, HWND view);
