// A Simple MAPI provider for the tests: a mail store kept as files in the folder named by
// the environment variable QV_MAIL_STORE (a Windows path). Registered as the default mail
// client, it is loaded by the platform's MAPI library exactly as a user's mail client is.
//
// Folder layout:
//   inbox\<id>.msg   messages to read; the identifier is the file name without ".msg"
//   inbox\<id>.read  written when a message is read in full (no MAPI_PEEK)
//   sent\<n>.msg     every message sent, in the same form
//   config.txt       key=value lines set by the test:
//                      fail.<Function>=<code>  result of that call (no work is done)
//                      pick=alice,bob          what the address dialog picks ("" = nobody)
//                      stuck=1                 MAPIFindNext always finds the first message
//   calls.log        one line per call, and "END sessions=<open>" when the library is
//                    unloaded
// Message form (inbox and sent):
//   Subject: <text>            (absent: no subject)
//   From: <name>|<address>
//   To: <name>|<address>       (one line per recipient; sent messages only)
//   Date: <text>
//   Type: <text>
//   Flags: <number>
//   Attach: <flags>|<file name>|<file in the store folder>   (one line per attachment)
//   (an empty line, then the body text exactly, to the end of the file; no empty line and
//    no body: the message has no note text)
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct StoreRecipient {
  std::string name, address;
};

struct StoreAttachment {
  unsigned long flags = 0;
  std::string fileName, storeFile;
};

struct StoreMessage {
  bool hasSubject = false, hasBody = false, hasFrom = false, hasDate = false, hasType = false;
  std::string subject, date, type, body;
  StoreRecipient from;
  std::vector<StoreRecipient> to;
  unsigned long flags = 0;
  std::vector<StoreAttachment> attachments;
};

std::string StoreFolder();
std::string StorePath(const std::string& name);
std::string ConfigValue(const std::string& key, const std::string& fallback);
bool ConfigHas(const std::string& key);
void LogCall(const char* format, ...);

bool ReadStoreMessage(const std::string& path, StoreMessage& message);
bool WriteStoreMessage(const std::string& path, const StoreMessage& message);
// The identifiers of the inbox in name order.
std::vector<std::string> InboxIds();

// Buffers handed to the caller, released with MAPIFreeBuffer of the MAPI library.
void* AllocateBuffer(size_t size);
bool FreeBuffer(void* memory);
