#include "mail/mail_session.h"

namespace {

// Indexed by the Simple MAPI result code; 7 has no meaning of its own.
const char* const kMailErrorTexts[] = {
    "E-mail Success",
    "User Cancelled",
    "Non-Specific Failure",
    "Already Logged into E-mail System",
    "Disk Full",
    "Insufficient Memory",
    "Access Denied",
    nullptr,
    "Too Many Sessions",
    "Too Many Files",
    "Too Many Recipients",
    "Attachment Not Found",
    "Attachment Read Failure",
    "Attachment Write Failure",
    "Unknown Recipient",
    "Bad Recipient Type",
    "No Matching Messages Found",
    "Invalid Message Identifier",
    "Message Too Large",
    "Invalid E-mail Session",
    "Message Type Not Supported",
    "Ambiguous Recipient",
    "Message in Use",
    "Network Failure",
    "Invalid Addressing Fields",
    "Invalid Recipients",
    "Feature Not Supported",
};

const char kUnspecified[] = "Unspecified Mail System Error";

}  // namespace

const char* MailErrorText(ULONG code) {
  if (code >= sizeof kMailErrorTexts / sizeof kMailErrorTexts[0] || !kMailErrorTexts[code]) return kUnspecified;
  return kMailErrorTexts[code];
}
