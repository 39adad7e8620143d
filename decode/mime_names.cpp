#include "decode/mime_names.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/name_charsets.h"
#include "core/names.h"
#include "decode/line_scan.h"

namespace {

// After a value that is not in sections, no section may follow.
const int kNoMoreSections = -2;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Appends a value to the name: percent escapes decoded when `escaped`; a quoted value is
// taken between its quotes. Stops at the end of the parameter; what does not fit the room
// goes, a character at a time.
void AppendValue(const char* value, bool escaped, char* name, size_t room) {
  std::string joined = name;
  const bool quoted = *value == '"';
  if (quoted) ++value;
  for (const char* p = value; *p && *p != '\r' && *p != '\n'; ++p) {
    if (quoted ? *p == '"' : (*p == ';' || *p == ' ' || *p == '\t')) break;
    char c = *p;
    if (escaped && c == '%' && HexValue(p[1]) >= 0 && HexValue(p[2]) >= 0) {
      c = static_cast<char>(HexValue(p[1]) * 16 + HexValue(p[2]));
      p += 2;
    }
    joined += c;
  }
  const size_t keep = Utf8Boundary(joined.c_str(), room - 1);
  std::memcpy(name, joined.data(), keep);
  name[keep] = '\0';
}

// The text after "charset'language'" of a first extended section (both may be empty).
const char* AfterCharset(const char* value) {
  const char* first = std::strchr(value, '\'');
  const char* second = first ? std::strchr(first + 1, '\'') : nullptr;
  const size_t stop = std::strcspn(value, ";\r\n \t");
  return second && second < value + stop ? second + 1 : value;
}

// One extended parameter at `star` (the "*" after "name"): "*=" or "*N*=" or "*N=".
void ReadExtended(const char* key, size_t keyLength, const char* star, MimeNames* names) {
  const char* p = star + 1;
  int section = -1;
  if (IsDigit(*p)) {
    section = 0;
    while (IsDigit(*p)) section = section * 10 + (*p++ - '0');
  }
  const bool escaped = section < 0 || *p == '*';
  if (section >= 0 && *p == '*') ++p;
  if (*p != '=') return;
  const char* value = SkipBlanks(p + 1);
  char thisKey[sizeof names->extendedKey];
  std::snprintf(thisKey, sizeof thisKey, "%.*s", static_cast<int>(keyLength), key);
  const bool first = section <= 0 && names->nextSection == 0;
  if (!first && (section != names->nextSection || std::strcmp(thisKey, names->extendedKey) != 0)) return;
  if (first) {
    std::memcpy(names->extendedKey, thisKey, sizeof thisKey);
    names->extended[0] = '\0';
    if (escaped) value = AfterCharset(value);
  }
  AppendValue(value, escaped, names->extended, sizeof names->extended);
  names->nextSection = section < 0 ? kNoMoreSections : section + 1;
}

}  // namespace

void StartMimeNames(MimeNames* names) { std::memset(names, 0, sizeof *names); }

void ReadMimeNames(const char* text, MimeNames* names) {
  if (!names->hasPlain) names->hasPlain = FindNameParameter(text, names->plain, sizeof names->plain);
  for (const char* p = text; *p; ++p) {
    if (!StartsWithAnyCase(p, "name*")) continue;
    const bool file = p - text >= 4 && StartsWithAnyCase(p - 4, "file");
    ReadExtended(file ? p - 4 : p, file ? 8 : 4, p + 4, names);
  }
}

bool ChosenMimeName(const MimeNames& names, char* dest, size_t room) {
  const char* chosen = names.extended[0] ? names.extended : names.hasPlain ? names.plain : nullptr;
  if (!chosen) return false;
  std::snprintf(dest, room, "%s", chosen);
  return true;
}
