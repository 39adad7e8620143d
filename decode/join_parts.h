// Joins the decoded parts of a multi-part posting into the output file, in part order, and
// concatenates several inputs into one before decoding.
#pragma once
#include "core/platform.h"

// mode: OP_DECODE appends the part files and deletes them; OP_CONCATENATE appends the
// named inputs, each followed by the line end, and keeps them. The output path is the
// run's output name. Returns 0 done, 1 cancelled, -2 failed (reported) or the negative
// result of MakeOutFile.
int JoinParts(HWND window, int total, int ask, int mode);
// Tells the user (and gives true) when the total is unknown or out of range, or a record
// from 1 to the total has no part number: the missing-parts message.
bool ReportIncompleteParts(HWND window, int total);
// Appends one file to the output stream; 0, or 1 when it failed (reported) or was cancelled.
int AppendPartFile(HWND window, const char* name, int output);
