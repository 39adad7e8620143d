// Runs of whole UU, XX or base64 lines decoded where the input's buffer holds them. Most of a
// large file is lines of one shape (the same count of characters, the same line end, for UU
// and XX the length character of a whole line); taking each of those through a read, a copy
// and a turn of the decoder's loop cost more than decoding it.
#pragma once
#include "decode/part_table.h"
#include "decode/used_regions.h"

// What DecodeWholeLines took.
struct WholeLineRun {
  int lines = 0;
  long long bytesRead = 0;  // as the lines' reads would have counted them
  long long lastStart = 0;  // where the last line starts, as its read would have found it
  bool blanks = false;      // a line's characters held a space
};

// Whether the lines that follow `line` (read from the input, `length` characters with its line
// end) may be taken in runs: a base64 data line, or a UU or XX data line whose first character
// starts only data lines, in any style.
bool StartsRunOfWholeLines(const char* line, int length);

// Decodes the lines that follow `line` in the input's buffer into the output's, while they
// have its shape (StartsRunOfWholeLines), are valid, lie outside the regions used and come
// to at most `most`. Each is decoded, summed and counted as DecodeEncodedLine and the
// stream's reads would have done; the first other line stays for them.
WholeLineRun DecodeWholeLines(int input, int output, const char* line, int length, const UsedRegions& used,
                              PartRecord* part, int most);
