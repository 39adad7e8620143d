// Joins the decoded parts of a multi-part posting into the output file, in part order, and
// concatenates several inputs into one before decoding.
#pragma once
#include "core/platform.h"
#include "decode/part_table.h"

class PartialWordSearch;

// mode: OP_DECODE appends the part files and deletes them (or, when the parts fill one
// file in order, puts that file in the output's place); OP_CONCATENATE appends the
// named inputs, each followed by the line end, and keeps them. The output path is the
// run's output name. Returns 0 done, 1 cancelled, -2 failed (reported) or the negative
// result of MakeOutFile. `search`, when given, is fed every byte of the output as it is
// written, so that a concatenation tells whether it names message/partial without a reading
// of its own.
int JoinParts(HWND window, int total, int ask, int mode, PartialWordSearch* search = nullptr);
// Tells the user (and gives true) when the total is unknown or out of range, or a record
// from 1 to the total has no part number: the missing-parts message.
bool ReportIncompleteParts(HWND window, int total);
// Appends a part (its file, or its bytes in a file it shares) to the output stream, feeding
// `search` (when not null) what it appends; 0, or 1 when it failed (reported) or was
// cancelled. Reads the input the record keeps open, when it keeps one.
int AppendPartFile(HWND window, PartRecord& record, int output, PartialWordSearch* search);
