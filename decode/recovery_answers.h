// The dialogs that steer a failing decode: what to do with an invalid line, how to retry a
// pass that found nothing, and whether to encode a file that holds no encoded data.
#pragma once
#include "core/platform.h"

// Retry Decoding answers besides a style row 3..20.
enum { RETRY_ABORT = 0, RETRY_TRY_ALL = 1 };
// Encode or Decode? answers.
enum { WHICH_CODE_CANCEL = 2, WHICH_CODE_DECODE = 6, WHICH_CODE_ENCODE = 7 };

// Decode Error: returns ANSWER_ABORT, ANSWER_SKIP_LINE, ANSWER_DECODE_LINE,
// ANSWER_DECODE_ALL or ANSWER_SKIP_ALL (decode/decode_context.h).
int AskAboutLineDlg(HWND owner, const char* problem);
// Retry Decoding: RETRY_ABORT, RETRY_TRY_ALL or a style row.
int TryOverDlg(HWND owner, const char* failure);
// Encode or Decode?: WHICH_CODE_ENCODE, WHICH_CODE_DECODE or WHICH_CODE_CANCEL.
int WhichCodeDlg(HWND owner);
