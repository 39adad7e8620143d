// "&Decode" of the mailbox dialog: reads the selected messages in full, saves their
// attachments and writes the body text of the others into temporary files, the inputs of
// the batch the dialog then starts.
#pragma once
#include <string>
#include <vector>

#include "core/platform.h"

struct MailboxSaveResult {
  bool saved = false;               // something was saved: an attachment or a body text
  std::vector<std::string> inputs;  // temporary files of the body texts, to decode
};

MailboxSaveResult SaveSelectedMessages(HWND dialog, HWND view);
