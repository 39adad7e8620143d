// The job's input list (128 entries) and the recipients named on the command line.
#pragma once

// Appends a copy of `path`; false when the list is full or memory ran out.
bool AddInput(const char* path);
// Frees the entry at the input index and empties it.
void FreeCurrentInput();
// Frees every entry and empties the list.
void ClearInputs();
// Frees the names and addresses of the command-line recipients; count := 0.
void FreeRecipients();
