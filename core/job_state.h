// The one job of the process: its inputs, destinations and what the engines report back.
// Owned by the application shell; read and partly written by the engines.
#pragma once
#include "core/platform.h"

enum { MAX_INPUTS = 128, MAX_RECIPIENTS = 32, PATH_ROOM = 260, REMARK_ROOM = 256, LISTED_OUTPUTS = 3 };

enum Operation { OP_NONE = 0, OP_ENCODE = 1, OP_DECODE = 2, OP_CONCATENATE = 3 };
// yEnc is decoded only: the encoder offers the first five.
enum EncodingType { TYPE_AUTO = 0, TYPE_UU = 1, TYPE_XX = 2, TYPE_MIME = 3, TYPE_BINHEX = 4, TYPE_YENC = 5 };

// Job results of the encoder, the decoder and the joiner.
enum JobResult {
  RESULT_DONE = 0,
  RESULT_CANCELLED = 1,
  RESULT_ENCODE_INSTEAD = 2,
  RESULT_FAILED = -1,
  RESULT_REPORTED = -2,
  RESULT_DECLINED = -3,
};

// How a run without questions (/N) went, as its exit status tells a script; the worst
// outcome of its jobs counts.
enum RunOutcome {
  OUTCOME_CLEAN = 0,     // every input decoded or encoded cleanly
  OUTCOME_DOUBTFUL = 1,  // an output was written in spite of integrity errors or checksums
  OUTCOME_FAILED = 2,    // a job failed or was refused
};

// Laid out as the Simple MAPI recipient descriptor.
struct MailRecipient {
  unsigned long reserved;
  unsigned long recipientClass;
  char* name;
  char* address;
  unsigned long entryIdSize;
  void* entryId;
};

struct JobState {
  char* inputs[MAX_INPUTS];
  int inputCount;
  int inputIndex;
  bool multiInput;
  int operation;
  bool interactive;
  bool inputIsTemporary;
  // The input was searched for "message/partial" as it was made (inputs joined into one) and
  // names none: the decoder need not read it for that once more.
  bool inputHoldsNoPartials;
  int encodeRequested;  // 0 none, 1 by an option, 2 e-mail with recipients chosen later
  bool mailOutput;
  bool clipboardOutput;
  MailRecipient recipients[MAX_RECIPIENTS];
  int recipientCount;
  int mailRecipientCount;  // recipients the running mail job sends to (set by the mail layer)
  char inputPath[PATH_ROOM];
  char outputPath[PATH_ROOM];
  char outputNameGiven[PATH_ROOM];
  int encodingType;
  int partCount;
  int headerStyle;
  // Progress and result state.
  bool busy;
  bool cancelRequested;
  bool quitRequested;
  bool qualifiedResult;
  bool mailInputs;
  char resultRemark[REMARK_ROOM];
  int worstOutcome;  // RunOutcome of the run so far
  // The files the current input gave, in order: how many, and the paths of the first few
  // (the summary names them; the output path holds the last).
  int outputCount;
  char listedOutputs[LISTED_OUTPUTS][PATH_ROOM];
};

extern JobState g_job;

// Empties the job state; interactive is on by default.
void ResetJobState();
// Keeps the worse of the run's outcome so far and `outcome`.
void NoteRunOutcome(int outcome);
// Counts a finished output of the current input, keeping its path among the first few.
void NoteFinishedOutput(const char* path);
