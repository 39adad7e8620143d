// The encode driver. Turns one input file into encoded text in one or more parts
// and hands each part to its destination.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/platform.h"

// Encodes the open input stream (binary) of g_job.inputPath with the settings of
// g_settings. Returns 0 done, 1 cancelled, -1 no header style set, -2 failed and reported,
// or the negative result of MakeOutFile (-1, -2, -3). A failed or cancelled job leaves
// none of the outputs it created; the input stream is closed on every path.
int EncodeFile(HWND owner, int stream, int askForName);

// What the clipboard destination says to a selection of several files: the clipboard holds
// one text.
extern const char kClipboardTakesOneFile[];

// Appends bytes to the output buffer and keeps a NUL after them. The buffer grows when it
// would fill (decision: it never reaches "Corrupted Encoding!"); when it cannot grow the
// job fails with the "No Memory for Encoding" message.
void AppendOutput(const void* bytes, size_t count);
void AppendText(const char* text);

// A single-part output kept open for the next input of a selection: whether there is one,
// and closing it (the shell calls this when a selection stops before its last input).
bool EncodeOutputIsOpen();
void EncodeCloseOutput();

// The part layout of a splitting job: lines per part L and the number of parts written,
// for an input of `size` bytes with the output limit `maximum` and overhead `overhead`
// (both in bytes). formulaParts receives the count N of the part formula.
struct PartLayout {
  uint32_t lines;      // L
  int64_t formulaParts;   // N by the part formula (1 for an empty input)
  int64_t parts;       // parts actually written
};
PartLayout ComputePartLayout(uint32_t size, uint32_t maximum, uint32_t overhead);

// The text gathered in the output buffer (for tests and the destinations).
const char* EncodeOutputText();
size_t EncodeOutputLength();
void EncodeOutputReset();
