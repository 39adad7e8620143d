// The BinHex 4.0 decoder: reads the 6-bit stream between the colons straight from the
// input, expands the runs and checks the header and fork CRCs.
#pragma once
#include "core/platform.h"
#include "decode/part_table.h"

// Results of the readers below 0: a colon, the end of input, a read error or invalid byte.
enum { BINHEX_COLON = -3, BINHEX_END = -2, BINHEX_INVALID = -1 };

// Result of BinHexReadHeader.
enum { BINHEX_HEADER_READ = 0, BINHEX_NO_COLON = -1, BINHEX_BAD_HEADER = -2 };

// Bytes one call of BinHexDecodeChunk hands out at most.
enum { BINHEX_CHUNK = 90 };

// The next significant character as 0 to 63, or BINHEX_COLON, BINHEX_END, BINHEX_INVALID.
int BinHexReadSymbol();
// The next byte of the 6-bit stream, or a negative result as above.
int BinHexReadGroupByte();
// The next byte after run-length expansion, fed to the CRC; or a negative result.
int BinHexReadByte();

// Reads the BinHex header at the input's position (the run's input); on success the file
// name is in the run's header name. A failure leaves its reason in the run's error text
// (except BINHEX_NO_COLON, whose text the caller gives).
int BinHexReadHeader(HWND owner, int interactive);
// Decodes the next chunk of the data fork into `out` (at least BINHEX_CHUNK bytes); returns
// the bytes or -1 and sets *nextState (DECODELINES, PREPARETRAILER or BADFINISH).
int BinHexDecodeChunk(HWND owner, int stream, unsigned char* out, int interactive, bool anyway,
                      PartRecord* part, int* nextState);
