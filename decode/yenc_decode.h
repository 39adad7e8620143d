// The yEnc reader: recognises the header of a yEnc file or part, and decodes its data lines
// up to "=yend" straight from the input, feeding the part's and the file's CRC-32 and size.
#pragma once
#include <cstddef>

#include "decode/part_table.h"

// True when the run lets the data decide the format (the method "by data", or no format
// chosen yet), which is when a yEnc header is recognised.
bool DataDecidesFormat();

// Tests the line as an "=ybegin" line: -1 when it is none; otherwise the header style
// (Single File, or the yEnc parts of a posting), with the part, the total (the run's total
// when the line gives none) and the name. Makes yEnc the run's format and sets the
// whole-file size and the name-found flag.
int YencHeaderTest(const char* line, int* part, int* total, char* name, size_t room);

// Reads the next piece of the part (at most DECODED_LINE_ROOM characters, into the run's line
// buffer) and decodes it into `out`; returns the bytes. The next state stays DECODELINES, or
// becomes PREPARETRAILER at the part's end ("=yend", the next "=ybegin" or the end of the
// input; the trailer's part and total are set) or CRITICALERROR when the input cannot be read.
int YencDecodeChunk(int stream, unsigned char* out, PartRecord* part, int* nextState);
