// Running one encode or decode job on an open input, and what follows it: the end-of-job
// step and the next input of a batch (app/batch.h).
#pragma once
#include "core/platform.h"

// Opens g_job.inputPath as the input of `operation`; on failure reports the unreadable input
// and ends the job, and returns -1.
int OpenJobInput(HWND window, int operation);
// "Can't read %s"; without questions the program then exits.
void ReportUnreadableInput(HWND window);

// Busy, the engine, idle, the end-of-job step and the next input of the batch.
void RunEncodeJob(HWND window, int stream, bool interactive);
void RunDecodeJob(HWND window, int stream, bool interactive);
