// Running one encode or decode job on an open input, and what follows it: the end-of-job
// step and the next input of a batch.
#pragma once
#include "core/platform.h"

// Low words of UM_NEXT_INPUT.
enum NextInputMode { NEXT_ENCODE = 1, NEXT_DECIDE = 2 };

// A job runs, or a batch still has inputs waiting: commands that would start another job
// are refused then, since the job state holds one job at a time.
bool JobInProgress();
// Says that a command was refused because a job is in progress.
void RefuseWhileJobInProgress(HWND owner);

// How the rest of the running batch is to be taken (the low word of its UM_NEXT_INPUT).
void SetBatchMode(int mode);

// Opens g_job.inputPath as the input of `operation`; on failure reports the unreadable input
// and ends the job, and returns -1.
int OpenJobInput(HWND window, int operation);
// "Can't read %s"; without questions the program then exits.
void ReportUnreadableInput(HWND window);

// Busy, the engine, idle, the end-of-job step and the next input of the batch.
void RunEncodeJob(HWND window, int stream, bool interactive);
void RunDecodeJob(HWND window, int stream, bool interactive);
// The end-of-job step; posts UM_NEXT_INPUT while the batch has inputs left.
void FinishJob(HWND window, int result, int operation);
