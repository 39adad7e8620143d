// The output files of the running job and of its run (a batch, or a single job). A failed or
// cancelled job's summary deletes the file at the output path only when the job itself
// created it, never a file that was there before or that another job made; and no output of
// a run replaces another output of the same run unasked.
#pragma once

void NoteCreatedOutput(const char* path);
// Whether `path` is the output the running job created and has not finished: a file of a
// mailbox finished before a later one failed or was cancelled stays, and a later file of the
// same name does not replace it unasked.
bool WasCreatedByJob(const char* path);
// Deletes `path` when the running job created it; returns true when a file was deleted.
bool DeleteCreatedOutput(const char* path);
void ForgetCreatedOutput();

// Whether an earlier job of the run, or this one, created `path`.
bool CreatedInThisRun(const char* path);
// A new run starts (or the last has ended).
void ForgetRunOutputs();
