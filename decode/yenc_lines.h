// The keyword lines of a yEnc posting: "=ybegin" (the file, and the part with its number and
// total), "=ypart" (the byte range of a part) and "=yend" (sizes and CRCs).
#pragma once
#include <cstddef>
#include <cstdint>

// A number given after "key=": present or not.
struct YencNumber {
  bool given = false;
  unsigned long value = 0;
};

struct YencBegin {
  YencNumber part;
  YencNumber total;
  YencNumber size;
  bool named = false;  // the name was copied into the caller's buffer
};

struct YencTrailer {
  YencNumber size;
  YencNumber part;
  YencNumber partCrc;
  YencNumber fileCrc;
};

bool IsYencBeginLine(const char* line);
bool IsYencPartLine(const char* line);
bool IsYencEndLine(const char* line);

// Reads an "=ybegin" line; the name (everything after "name=" to the line end, blanks kept)
// goes into `name` (room bytes) when there is one.
YencBegin ParseYencBegin(const char* line, char* name, size_t room);
// Reads "=ypart begin= end="; false unless both are given and end is not before begin.
bool ParseYencPart(const char* line, unsigned long* begin, unsigned long* end);
YencTrailer ParseYencEnd(const char* line);
