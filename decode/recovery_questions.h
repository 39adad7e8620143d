// What the decoder asks the user when a decode goes wrong: what to do with an invalid line,
// how to retry a pass that found nothing, and whether to encode a file that holds no
// encoded data. The decoder asks only in interactive runs. The program answers with its
// dialogs (decode/recovery_dialogs.h, joined in app/recovery_questions.cpp); the engine
// tests answer from a script.
#pragma once
#include "core/platform.h"

// Retry Decoding answers besides a style row 3..20.
enum { RETRY_ABORT = 0, RETRY_TRY_ALL = 1 };
// Encode or Decode? answers; any other counts as cancel.
enum { WHICH_CODE_CANCEL = 2, WHICH_CODE_DECODE = 6, WHICH_CODE_ENCODE = 7 };

// Decode Error: ANSWER_ABORT, ANSWER_SKIP_LINE, ANSWER_DECODE_LINE, ANSWER_DECODE_ALL or
// ANSWER_SKIP_ALL (decode/decode_context.h). `problem` names the input, line and fault.
int AskAboutInvalidLine(HWND owner, const char* problem);
// Retry Decoding: RETRY_ABORT, RETRY_TRY_ALL or the header style row to accept.
int AskHowToRetry(HWND owner, const char* failure);
// Encode or Decode? for the run's input: WHICH_CODE_ENCODE, WHICH_CODE_DECODE or
// WHICH_CODE_CANCEL.
int AskEncodeOrDecode(HWND owner);
