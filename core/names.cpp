#include "core/names.h"

#include <cctype>
#include <cstring>
#include <string>

#include "core/name_charsets.h"

namespace {

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

const char* AfterLastSeparator(const char* path, bool colonSeparates) {
  const char* start = path;
  for (const char* p = path; *p; ++p)
    if (IsPathSeparator(*p) || (colonSeparates && *p == ':')) start = p + 1;
  return start;
}

bool SameLetters(const char* a, const char* b, size_t length) {
  for (size_t i = 0; i < length; ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The stem the system compares with its device names: up to the first "." with trailing
// blanks dropped ("nul .txt" is the device too).
size_t DeviceStemLength(const char* name) {
  size_t length = std::strcspn(name, ".");
  while (length > 0 && name[length - 1] == ' ') --length;
  return length;
}

// Names that the system resolves to a directory rather than a file: nothing but dots
// and blanks (trailing dots and blanks are dropped when a file is opened).
bool IsDirectoryLikeName(const char* name) { return name[std::strspn(name, ". ")] == '\0'; }

void PrefixUnderscore(char* name) {
  size_t length = std::strlen(name);
  if (length >= CLEAN_NAME_LIMIT) length = CharacterBoundary(name, CLEAN_NAME_LIMIT - 1);
  std::memmove(name + 1, name, length);
  name[0] = '_';
  name[length + 1] = '\0';
}

}  // namespace

const char* FileNamePart(const char* path) { return AfterLastSeparator(path, true); }

void BaseNameWithoutExtension(const char* path, char* dest, size_t room) {
  if (room == 0) return;
  const char* name = AfterLastSeparator(path, false);
  size_t length = std::strcspn(name, ".");
  if (length >= room) length = CharacterBoundary(name, room - 1);
  std::memcpy(dest, name, length);
  dest[length] = '\0';
}

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool FreeNameBeside(char* path, size_t room) {
  enum { MAX_NUMBER = 9999 };
  const char* dot = std::strrchr(FileNamePart(path), '.');
  const std::string stem(path, dot ? static_cast<size_t>(dot - path) : std::strlen(path));
  const std::string extension = dot ? dot : "";
  for (int n = 2; n <= MAX_NUMBER; ++n) {
    const std::string candidate = stem + " (" + std::to_string(n) + ")" + extension;
    if (candidate.size() >= room) return false;
    if (!FileExists(candidate.c_str())) {
      std::memcpy(path, candidate.c_str(), candidate.size() + 1);
      return true;
    }
  }
  return false;
}

int NameCharClass(char c) {
  if (c == '"') return NAME_CHAR_REMOVED;
  if (std::strchr("*<>?|", c) && c != '\0') return NAME_CHAR_INVALID;
  if (c == '/' || c == ':' || c == '\\') return NAME_CHAR_SEPARATOR;
  // Bytes from 0x80 on belong to characters beyond ASCII, which CleanFileName checks whole.
  return static_cast<unsigned char>(c) >= 32 ? NAME_CHAR_VALID : NAME_CHAR_INVALID;
}

bool IsDeviceName(const char* name) {
  static const char* const kPlainDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  size_t stem = DeviceStemLength(name);
  for (const char* device : kPlainDevices)
    if (stem == std::strlen(device) && SameLetters(name, device, stem)) return true;
  bool numbered = stem == 4 && (SameLetters(name, "COM", 3) || SameLetters(name, "LPT", 3));
  return numbered && name[3] >= '1' && name[3] <= '9';
}

int CleanFileName(char* name) {
  int changed = 0;
  size_t at = 0, start = 0;
  for (int step = 0; name[at] != '\0' && step < CLEAN_NAME_LIMIT; ++step) {
    // A character of several bytes is kept whole or not at all, so that its bytes are
    // never taken for separators or cut apart. Other bytes are judged one by one: the
    // decoder converts names from encoded text to the program's code page before this.
    const size_t length = CharacterLength(name + at);
    if (length > 1) {
      if (at + length > CLEAN_NAME_LIMIT) break;
      at += length;
      continue;
    }
    switch (NameCharClass(name[at])) {
      case NAME_CHAR_INVALID:
        name[at++] = '_';
        changed = 1;
        break;
      case NAME_CHAR_SEPARATOR:
        start = ++at;
        break;
      case NAME_CHAR_REMOVED:
        std::memmove(name + at, name + at + 1, std::strlen(name + at));
        break;
      default:
        ++at;
    }
  }
  name[at] = '\0';
  std::memmove(name, name + start, at - start + 1);
  if (IsDeviceName(name) || IsDirectoryLikeName(name)) {
    PrefixUnderscore(name);
    changed = 1;
  }
  return changed;
}

void CutAtLineEnd(char* text) { text[std::strcspn(text, "\r\n")] = '\0'; }

// A plain loop: the run is short or empty on nearly every line the decoder looks at.
const char* SkipBlanks(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  return text;
}

const char* FindTokenEnd(const char* text) { return text + std::strcspn(text, " \t,"); }
