#include "decode/yenc_lines.h"

#include <cstring>

#include "decode/line_scan.h"

namespace {

enum { DECIMAL = 10, HEXADECIMAL = 16, CRC_DIGITS = 8 };

bool IsLineEnd(char c) { return c == '\0' || c == '\r' || c == '\n'; }

// A keyword line starts with its keyword, then a blank or the line end.
bool StartsKeywordLine(const char* line, const char* keyword) {
  const size_t n = std::strlen(keyword);
  return StartsWith(line, keyword) && (IsBlank(line[n]) || IsLineEnd(line[n]));
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + DECIMAL;
  if (c >= 'A' && c <= 'F') return c - 'A' + DECIMAL;
  return HEXADECIMAL;
}

// The value of "key=" where the key starts a blank-separated word before `limit`.
YencNumber FindValue(const char* line, const char* limit, const char* key, int base) {
  YencNumber number;
  const size_t keyLength = std::strlen(key);
  for (const char* p = line; p < limit && !IsLineEnd(*p); ++p) {
    if (!IsBlank(p[0]) || std::strncmp(p + 1, key, keyLength) != 0) continue;
    const char* digit = p + 1 + keyLength;
    // CRCs are eight hex digits; more would not fit 32 bits, and sizes stay far below.
    for (int count = 0; DigitValue(*digit) < base && count < CRC_DIGITS + 2; ++digit, ++count) {
      number.value = number.value * static_cast<unsigned long>(base) + static_cast<unsigned long>(DigitValue(*digit));
      number.given = true;
    }
    return number;
  }
  return number;
}

}  // namespace

bool IsYencBeginLine(const char* line) { return StartsKeywordLine(line, "=ybegin"); }
bool IsYencPartLine(const char* line) { return StartsKeywordLine(line, "=ypart"); }
bool IsYencEndLine(const char* line) { return StartsKeywordLine(line, "=yend"); }

YencBegin ParseYencBegin(const char* line, char* name, size_t room) {
  YencBegin begin;
  // The name comes last and may hold anything, "size=" too: keys are looked for before it.
  const char* nameKey = std::strstr(line, " name=");
  const char* limit = nameKey ? nameKey : line + std::strlen(line);
  begin.part = FindValue(line, limit, "part=", DECIMAL);
  begin.total = FindValue(line, limit, "total=", DECIMAL);
  begin.size = FindValue(line, limit, "size=", DECIMAL);
  if (nameKey && !IsLineEnd(nameKey[6])) {
    CopyFileName(nameKey + 6, NAME_LINE_MODE, false, name, room);
    begin.named = true;
  }
  return begin;
}

bool ParseYencPart(const char* line, unsigned long* begin, unsigned long* end) {
  const char* limit = line + std::strlen(line);
  const YencNumber first = FindValue(line, limit, "begin=", DECIMAL);
  const YencNumber last = FindValue(line, limit, "end=", DECIMAL);
  if (!first.given || !last.given || last.value < first.value) return false;
  *begin = first.value;
  *end = last.value;
  return true;
}

YencTrailer ParseYencEnd(const char* line) {
  const char* limit = line + std::strlen(line);
  YencTrailer t;
  t.size = FindValue(line, limit, "size=", DECIMAL);
  t.part = FindValue(line, limit, "part=", DECIMAL);
  t.partCrc = FindValue(line, limit, "pcrc32=", HEXADECIMAL);
  t.fileCrc = FindValue(line, limit, "crc32=", HEXADECIMAL);
  return t;
}
