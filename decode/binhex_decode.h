// The BinHex 4.0 decoder: reads the 6-bit stream between the colons straight from the
// input, expands the runs and checks the header and fork CRCs.
#pragma once
#include "core/platform.h"
#include "decode/part_table.h"

// Result of BinHexReadHeader.
enum { BINHEX_HEADER_READ = 0, BINHEX_NO_COLON = -1, BINHEX_NOT_AVAILABLE = -2 };

// Reads the BinHex header at the input's position; on success the file name is in the
// run's header name.
int BinHexReadHeader(HWND owner, int interactive);
// Decodes the next chunk of the data fork into `out` (at least 90 bytes); returns the bytes
// or -1 and sets *nextState (DECODELINES, PREPARETRAILER or BADFINISH).
int BinHexDecodeChunk(HWND owner, int stream, unsigned char* out, int interactive, bool anyway,
                      PartRecord* part, int* nextState);
