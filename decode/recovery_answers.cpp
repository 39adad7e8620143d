// UNFINISHED: the three dialogs are not built yet. Until they are, each gives the answer
// the decoder takes when it runs without prompts: decode invalid lines anyway, give up a
// pass that found nothing, and go on decoding rather than encode.
#include "decode/recovery_answers.h"

#include "decode/decode_context.h"

int AskAboutLineDlg(HWND, const char*) { return ANSWER_DECODE_ALL; }

int TryOverDlg(HWND, const char*) { return RETRY_ABORT; }

int WhichCodeDlg(HWND) { return WHICH_CODE_DECODE; }
