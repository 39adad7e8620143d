// Turns one line of UU, XX or base64 text into the bytes it carries, checks it against the
// rules of its format and feeds the part's checksum and size. The whole-file checksum is
// taken from the output file when the input states one.
#pragma once
#include "decode/part_table.h"

// Decodes `line` (characters, then CR LF, LF or nothing, then a NUL, in a buffer of LINE_ROOM
// bytes such as the run's line) in the run's format
// into `out` (DECODED_LINE_ROOM bytes). Returns the number of bytes, or -1 with the reason
// in the run's error text; -1 without a reason for a format that has no line decoder.
// With `anyway` an invalid line is repaired or decoded as well as it goes.
// `blanks`, when given, tells whether a UU or XX line's characters after its length
// character hold a space.
int DecodeEncodedLine(char* line, unsigned char* out, PartRecord* part, bool anyway, bool* blanks = nullptr);
// The common line of a UU, XX or base64 run, taken where it lies (in the input's buffer):
// `characters` characters of the alphabet with a line end after them; a UU or XX line's
// first is its length character, and it has as many others as its bytes need or whole groups
// of four; a base64 line has whole groups and no padding, and the data before it ended
// with a whole group. Decodes it into `out` (DECODED_LINE_ROOM bytes) and counts and sums it
// as DecodeEncodedLine does; -1, with nothing changed, for any other line. Reads only the
// `characters` characters.
int DecodeWholeLine(const unsigned char* text, int characters, unsigned char* out, PartRecord* part, bool* blanks);
