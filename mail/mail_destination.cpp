// The encoder's e-mail destination: each part is the body of one message.
#include <cstdio>

#include "core/job_state.h"
#include "core/names.h"
#include "encode/destinations.h"
#include "encode/encoder_state.h"
#include "mail/mail_session.h"

int SendEncodedPart(HWND owner, const char* text) {
  // The header writer ends the "Subject:" line of some styles with line ends; in a mail
  // subject they would break the message header.
  char subject[MAIL_SUBJECT_ROOM];
  std::snprintf(subject, sizeof subject, "%s", g_encoder.subject);
  CutAtLineEnd(subject);
  MapiMessage message;
  FillMailMessage(message, subject, text);
  // A refused send is said here, so that the job's failure is never silent.
  return SendMailMessage(owner, true, message, 0) == SUCCESS_SUCCESS ? 0 : RESULT_REPORTED;
}
