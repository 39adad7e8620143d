// The small scanners of the decoder's text recognition: blanks, keywords, numbers, part
// designations, begin lines and file names, and reading, peeking at and pushing back lines
// of the input.
#pragma once
#include <cstddef>

enum { MAX_PART_NUMBER = 99 };

enum CopyNameMode { NAME_LINE_MODE = 0, NAME_TOKEN_MODE = 1 };

enum DesignationKind {
  DESIGNATION_NONE = 0,
  DESIGNATION_PLAIN = 3,
  DESIGNATION_ROUND = 6,
  DESIGNATION_SQUARE_PART = 7,
  DESIGNATION_SQUARE = 8,
};

// A space or a tab: what separates words on a header or data line.
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// True when the text starts with `keyword`, with or without regard to letter case.
bool StartsWith(const char* text, const char* keyword);
bool StartsWithAnyCase(const char* text, const char* keyword);
// The first place where `keyword` occurs in any case, or null.
const char* FindAnyCase(const char* text, const char* keyword);
// Steps to the next space, tab, comma or end of string.
const char* SkipWord(const char* text);

// The characters before the line's first CR, LF or NUL. A loop of its own: the C library's
// strcspn under Wine clears a 256-entry table on every call, and this runs on every line.
inline size_t LineTextLength(const char* line) {
  size_t n = 0;
  while (line[n] != '\0' && line[n] != '\r' && line[n] != '\n') ++n;
  return n;
}

// The offset of the first byte of `text` that is a NUL, `a` or `b`; `room` if none is among
// the `room` bytes from `text` on. Eight bytes at a time, for the scans that run on every
// line (the C library's are byte loops under Wine): it reads whole words up to `room`, past
// the NUL too, so `room` must be what the buffer holds from `text` on.
size_t ScanText(const char* text, size_t room, char a, char b);
// A line's text length as LineTextLength gives it, for a line in a buffer of `room` bytes.
inline size_t LineTextLengthIn(const char* line, size_t room) { return ScanText(line, room, '\r', '\n'); }
// True when the text, in a buffer of `room` bytes, has a space before its NUL.
inline bool ContainsBlankIn(const char* text, size_t room) {
  const size_t at = ScanText(text, room, ' ', ' ');
  return at < room && text[at] == ' ';
}

bool IsBlankLine(const char* line);
bool ContainsCutHere(const char* text);
bool ContainsPart(const char* text);
// Skips blanks, takes the following decimal digits; `found` says whether there were any.
const char* ParseNumber(const char* text, long* value, bool* found);
// True (after telling the user) when n is outside 1 to 99.
bool ValidatePartNumber(long n);
// Copies a file name into dest (room bytes, always terminated) and returns the position
// after what it copied.
const char* CopyFileName(const char* text, int mode, bool stopAtBlanks, char* dest, size_t room);
bool FindNameParameter(const char* text, char* dest, size_t room);
int ParsePartDesignation(const char* text, int* part, int* total);
bool ParseBeginLine(const char* line, char* name, size_t room);
// Decides UU or XX from the first character that only one alphabet holds.
bool GuessUuOrXx(const char* line);

// Reads the next line of the input into `buf` (LINE_ROOM bytes) as the run reads lines:
// the line number and bytes read grow. Returns the length read, 0 at end, -1 on error.
int ReadDecodeLine(int stream, char* buf);
// Moves the input back by `length` bytes (the text of the line just read) and lowers the
// line number by one.
void PushBackLine(int length, int stream);
bool AtEndOfInput(int stream);
bool SkipTableLines(int stream, char* line);
// Adds a line's text up to its end and one 0x0A to the current part's checksum and size.
void AddLineToPartSum(const char* line);
