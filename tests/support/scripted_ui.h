// The engines' user interface for tests: records every report and answers every question
// from a script the test sets up.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/platform.h"

struct RecordedMessage {
  std::string text;
  UINT flags;
  DWORD error;  // the system error given to ShowErrorMessage; 0 for ShowMessage
};

enum RecoveryQuestion { ASKED_ABOUT_LINE, ASKED_HOW_TO_RETRY, ASKED_ENCODE_OR_DECODE };

struct RecordedQuestion {
  RecoveryQuestion which;
  std::string text;  // empty for ASKED_ENCODE_OR_DECODE
};

struct ScriptedUi {
  std::vector<RecordedMessage> messages;
  std::vector<std::string> statuses;
  std::vector<int> progress;
  std::vector<std::string> outputsMade;  // paths MakeOutFile created
  std::vector<int> answers;              // answers to questions, taken in order
  int defaultAnswer = IDYES;             // when the script has run out
  int pumps = 0;
  // Called on every PumpMessages (and every PumpMessagesWhenDue) with the running count; may set g_job.cancelRequested.
  std::function<void(int)> onPump;
  // MakeOutFile answers this instead of creating a file when not 0 (-2 or -3).
  int makeOutFileResult = 0;
  // The decoder's recovery questions, in the order asked, with the text each was given, and
  // their answers, taken in order. When the script has run out: decode the invalid line
  // anyway, give up the retry, and go on decoding rather than encode.
  std::vector<RecordedQuestion> recoveryQuestions;
  std::vector<int> recoveryAnswers;
  // The encoder's e-mail sends: subject and body of each message, and the answer to give.
  std::vector<std::pair<std::string, std::string>> mailSent;
  int mailSendResult = 0;
  int mailSendsTried = 0;  // refused ones too

  void Reset();
  bool SawMessageContaining(const std::string& part) const;
  int QuestionsAsked(RecoveryQuestion which) const;
};

extern ScriptedUi g_ui;
