// The life of a batch, from its start to its end: whether a job may start, the input list
// and its index, how the inputs are taken (encoded, or decided file by file), which inputs are
// temporary files, and what ends with the batch. Every command that starts work comes here;
// nothing else writes these fields of the job state.
#pragma once
#include <string>
#include <vector>

#include "core/platform.h"

// Low words of UM_NEXT_INPUT.
enum NextInputMode { NEXT_ENCODE = 1, NEXT_DECIDE = 2 };

// Where a batch's inputs come from, which says how they are treated.
enum BatchSource {
  FROM_COMMAND_LINE,  // no summaries; the program closes after the last input
  FROM_USER,          // chosen in the open dialog or dropped: a summary after each job
  FROM_MAILBOX,       // temporary files holding message texts: deleted after their jobs
};

// A job runs, or a batch still has inputs waiting.
bool JobInProgress();
// While a job is in progress: says "Another job is still running." and returns true.
bool RefuseWhileJobInProgress(HWND owner);

// Starts a batch of `paths`, taken as `mode` says, with UM_NEXT_INPUT. Refused (false) while
// a job is in progress; the temporary inputs of a refused batch are deleted.
bool StartBatch(HWND window, const std::vector<std::string>& paths, BatchSource source, int mode);
// A single job, chosen in a dialog or taken from the clipboard: `path` becomes the input of
// `operation`; a temporary input is deleted when the job ends and, having no folder of its
// own, sends its outputs to the user's documents folder.
void StartSingleJob(const char* path, int operation, bool temporary);

// UM_NEXT_INPUT: the entry now due is encoded, decoded, or joined with the others. The
// message's words are not trusted (any program can post it): the batch itself knows how its
// inputs are taken and which of them are temporary.
void TakeNextInput(HWND window);
// The entry now due, when `lParam` is that entry (the path of UM_ENCODE_FILE, UM_DECODE_FILE);
// otherwise null: a message of another program, or one left from an ended batch.
const char* TrustedEntry(LPARAM lParam);
// The entry now due becomes the input of a job of `operation`.
void BeginEntryJob(int operation);

// The joined file of the batch's inputs becomes the entry now due, a temporary input;
// `noFolder` when it could not be made beside the inputs.
bool AddJoinedInput(const char* path, bool noFolder);
// The joined file, searched as it was written, names no message/partial: its decode does not
// read it for that once more.
void NoteJoinedInputHoldsNoPartials();
// Ends the batch at once, with its last job reported already.
void AbandonBatch(HWND window);

// The decoder found nothing to decode in the running job's input and the user chose to encode
// it instead: it is encoded at once.
void EncodeInputInstead(HWND window, bool interactive);

// The input of the running job stands for text that has no folder (a message, the clipboard).
bool InputHasNoFolder();

// The end-of-job step: the summary, the temporary input, the next input of the batch (posted)
// or the end of the batch. Returns 1 when more inputs are pending.
int EndJob(HWND owner, int result, int operation);
// EndJob, then the next input of the batch, posted.
void FinishJob(HWND window, int result, int operation);
