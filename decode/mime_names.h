// The file name of a MIME part, gathered from its header lines: the plain parameter
// (name="..." or filename="...") and the RFC 2231 form (filename*=UTF-8''r%C3%A9sum%C3%A9.txt,
// also split into numbered sections name*0*=, name*1*=, over folded lines), which names
// the file when both are there. The name stays in the bytes the posting gives it; the
// decoder converts it with the other names from headers.
#pragma once
#include <cstddef>

#include "decode/decode_context.h"

struct MimeNames {
  char plain[DECODE_NAME_ROOM];
  char extended[DECODE_NAME_ROOM];
  char extendedKey[16];  // "name" or "filename": the sections of one parameter are joined
  int nextSection;       // the section number that may follow; 0 before any
  bool hasPlain;
};

void StartMimeNames(MimeNames* names);
// Reads the name parameters of one header line (or of the rest of it).
void ReadMimeNames(const char* text, MimeNames* names);
// Copies the name found into dest; false when the headers named no file.
bool ChosenMimeName(const MimeNames& names, char* dest, size_t room);
