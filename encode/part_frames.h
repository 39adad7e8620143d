// The header and trailer texts of every style, the MIME headers and boundary,
// the "begin"/"end" lines and the checksum lines; and the overhead estimates.
#pragma once
#include <cstdint>

// The overhead estimates for the current job's method, line end and checksum setting
// (read from g_encoder and g_settings).
uint32_t HeaderEstimate(int style);
uint32_t TrailerEstimate(int style);

// Appends the header of part k of n (and the "begin" line in part 1 of UU and XX), resets
// the section checksum and composes the e-mail subject (g_encoder.subject).
void WritePartHeader(const char* inputPath, int k, int n);
// Appends the trailer of part k of n: the "end" line, the MIME closing boundary, the end
// of the BinHex stream, the checksum lines and the style's trailer lines as they apply.
void WritePartTrailer(int k, int n, const char* baseName);

enum { MIME_CLOSING_ROOM = 64 };
// The closing boundary of the current job's MIME or BinHex output ("--boundary--" after a line
// end) into `dest` (MIME_CLOSING_ROOM); false, and empty, when its style writes none.
bool MimeClosingText(char* dest);
