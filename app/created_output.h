// The output file the running job created. A failed or cancelled job's summary deletes the
// file at the output path only when the job itself created it, never a file that was there
// before or that another job made.
#pragma once

void NoteCreatedOutput(const char* path);
bool WasCreatedByJob(const char* path);
// Deletes `path` when the running job created it; returns true when a file was deleted.
bool DeleteCreatedOutput(const char* path);
void ForgetCreatedOutput();
