#include "tests/support/scripted_ui.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "core/job_state.h"
#include "core/names.h"
#include "core/settings.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/decode_context.h"
#include "decode/recovery_questions.h"
#include "encode/destinations.h"
#include "encode/encoder_state.h"

ScriptedUi g_ui;

void ScriptedUi::Reset() { *this = ScriptedUi(); }

bool ScriptedUi::SawMessageContaining(const std::string& part) const {
  for (const RecordedMessage& m : messages)
    if (m.text.find(part) != std::string::npos) return true;
  return false;
}

int ScriptedUi::QuestionsAsked(RecoveryQuestion which) const {
  int count = 0;
  for (const RecordedQuestion& q : recoveryQuestions) count += q.which == which;
  return count;
}

namespace {

std::string Format(const char* format, va_list args) {
  char text[1024];
  std::vsnprintf(text, sizeof text, format, args);
  return text;
}

bool IsQuestion(UINT flags) { return (flags & 0xF) != MB_OK; }

int Answer(UINT flags) {
  if (!IsQuestion(flags)) return IDOK;
  if (g_ui.answers.empty()) return g_ui.defaultAnswer;
  int answer = g_ui.answers.front();
  g_ui.answers.erase(g_ui.answers.begin());
  return answer;
}

#ifdef _WIN32
const char kPathSeparator = '\\';
#else
const char kPathSeparator = '/';
#endif

int RecoveryAnswer(RecoveryQuestion which, const char* text, int unscripted) {
  g_ui.recoveryQuestions.push_back({which, text ? text : ""});
  if (g_ui.recoveryAnswers.empty()) return unscripted;
  const int answer = g_ui.recoveryAnswers.front();
  g_ui.recoveryAnswers.erase(g_ui.recoveryAnswers.begin());
  return answer;
}

bool FileExistsHere(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int ShowMessage(HWND, UINT flags, const char* format, ...) {
  va_list args;
  va_start(args, format);
  g_ui.messages.push_back({Format(format, args), flags, 0});
  va_end(args);
  return Answer(flags);
}

int ShowErrorMessage(HWND, DWORD error, UINT flags, const char* format, ...) {
  va_list args;
  va_start(args, format);
  g_ui.messages.push_back({Format(format, args), flags, error});
  va_end(args);
  return Answer(flags);
}

void ShowStatus(const char* format, ...) {
  va_list args;
  va_start(args, format);
  g_ui.statuses.push_back(Format(format, args));
  va_end(args);
}

void ShowJobStatus(int operation, int type, const char* input, const char* output, int part,
                   int total) {
  char text[512];
  std::snprintf(text, sizeof text, "job op=%d type=%d in=%s out=%s part=%d/%d", operation, type,
                input ? input : "", output ? output : "", part, total);
  g_ui.statuses.push_back(text);
}

void SetProgress(int position) { g_ui.progress.push_back(position); }

void PumpMessages(int) {
  ++g_ui.pumps;
  if (g_ui.onPump) g_ui.onPump(g_ui.pumps);
}

// Every unit of work pumps, so that a test can act at a chosen point of a job; the timing
// decision has a test of its own.
void PumpMessagesWhenDue() { PumpMessages(4); }

void SetWaitCursor(HCURSOR) {}
void RestoreCursor() {}
HWND MainWindow() { return nullptr; }

// Behaves as the program's MakeOutFile does without its save dialog.
int MakeOutFile(HWND owner, char* name, int mode, int ask) {
  if (g_ui.makeOutFileResult != 0) return g_ui.makeOutFileResult;
  // A decoded file goes to the chosen output folder when there is one.
  if (mode == OP_DECODE && g_settings.decodedirselect == DIR_CHOSEN && g_settings.decodedir[0]) {
    std::string inFolder = std::string(g_settings.decodedir) + kPathSeparator + FileNamePart(name);
    std::snprintf(name, 260, "%s", inFolder.c_str());
  }
  // A decoded file meeting an earlier output of the run gets a free name.
  const bool madeBefore = std::find(g_ui.outputsMade.begin(), g_ui.outputsMade.end(), name) != g_ui.outputsMade.end();
  if (mode == OP_DECODE && madeBefore && FileExistsHere(name) && !FreeNameBeside(name, 260))
    return -2;
  if (FileExistsHere(name)) {
    if (ask == ASK_NAME && !g_settings.overwriteexisting &&
        ShowMessage(owner, MB_YESNOCANCEL | MB_ICONQUESTION, "Overwrite Existing %s", name) != IDYES)
      return -3;
    DeleteFileA(name);
  }
  int s = StreamOpenForWriting(name);
  if (s < 0) {
    ShowErrorMessage(owner, GetLastError(), MB_ICONHAND, "Can't Write to %s because\r\n", name);
    return -2;
  }
  g_ui.outputsMade.push_back(name);
  return s;
}

// Asks one question when any of the names exists, as the program does for an interactive job.
int ConfirmReplacingOutputs(HWND owner, const char* const* names, int count, int) {
  std::string existing;
  for (int i = 0; i < count; ++i)
    if (FileExistsHere(names[i])) existing += (existing.empty() ? "" : "\r\n") + std::string(names[i]);
  if (existing.empty()) return ASK_NOTHING;
  if (g_settings.overwriteexisting) return ASK_AGREED;
  return ShowMessage(owner, MB_YESNOCANCEL | MB_ICONQUESTION, "Overwrite Existing %s", existing.c_str()) == IDYES
             ? ASK_AGREED
             : -3;
}

int AskAboutInvalidLine(HWND, const char* problem) {
  return RecoveryAnswer(ASKED_ABOUT_LINE, problem, ANSWER_DECODE_ALL);
}

int AskHowToRetry(HWND, const char* failure) { return RecoveryAnswer(ASKED_HOW_TO_RETRY, failure, RETRY_ABORT); }

int AskEncodeOrDecode(HWND) { return RecoveryAnswer(ASKED_ENCODE_OR_DECODE, nullptr, WHICH_CODE_DECODE); }
// The mail layer's part of the encoder: records the message instead of sending it.
int SendEncodedPart(HWND, const char* text) {
  ++g_ui.mailSendsTried;
  if (g_ui.mailSendResult != 0) return -2;
  g_ui.mailSent.emplace_back(g_encoder.subject, text);
  return 0;
}
