// The decoder's questions answered by the program's recovery dialogs.
#include "decode/recovery_questions.h"

#include "app/program.h"
#include "decode/recovery_dialogs.h"

int AskAboutInvalidLine(HWND owner, const char* problem) {
  return ShowDecodeErrorDialog(g_program.instance, owner, g_program.helpPath, problem);
}

int AskHowToRetry(HWND owner, const char* failure) {
  return ShowRetryDecodingDialog(g_program.instance, owner, g_program.helpPath, failure);
}

int AskEncodeOrDecode(HWND owner) { return ShowEncodeOrDecodeDialog(g_program.instance, owner, g_program.helpPath); }
