// Path and name helpers shared by the engines and the application shell: the file-name
// part of a path, base names, name cleaning for names that come from encoded input, and
// the small scanners of the command line and header parsers.
#pragma once
#include <cstddef>

#include "core/platform.h"

// How CleanFileName treats a character.
enum NameCharKind {
  NAME_CHAR_INVALID = 0,    // replaced by "_"
  NAME_CHAR_VALID = 1,      // kept
  NAME_CHAR_SEPARATOR = 2,  // the name starts again after it
  NAME_CHAR_REMOVED = 3,    // dropped (the double quote)
};

// A cleaned name never exceeds this many characters, so it fits every 256 buffer.
enum { CLEAN_NAME_LIMIT = 255 };

// The text after the last "\", "/" or ":" (the whole path when there is none).
const char* FileNamePart(const char* path);
// The text after the last "\" or "/", cut at its first "."; cut to fit `room`.
void BaseNameWithoutExtension(const char* path, char* dest, size_t room);
// True when the system has attributes for the path.
bool FileExists(const char* path);
// Makes `path` (of `room` bytes) the first of "NAME (2).EXT", "NAME (3).EXT", ... beside it
// that does not exist; false, `path` unchanged, when none fits.
bool FreeNameBeside(char* path, size_t room);
int NameCharClass(char c);
// Makes a name from encoded input safe to create beside other files: invalid characters
// become "_", quotes go, only the part after the last separator stays, and names the
// system would take for a device or a directory (CON, NUL, COM1, ".", "..", "") get a
// leading "_". Returns 1 when the name had to be changed that way, else 0.
int CleanFileName(char* name);
// True for the names the system maps to devices, with or without an extension, any case.
bool IsDeviceName(const char* name);
void CutAtLineEnd(char* text);
const char* SkipBlanks(const char* text);
const char* FindTokenEnd(const char* text);
inline char* SkipBlanks(char* text) { return const_cast<char*>(SkipBlanks(const_cast<const char*>(text))); }
inline char* FindTokenEnd(char* text) {
  return const_cast<char*>(FindTokenEnd(const_cast<const char*>(text)));
}
