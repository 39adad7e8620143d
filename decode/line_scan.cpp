#include "decode/line_scan.h"

#include <cstdint>
#include <cstring>

#include "core/byte_words.h"
#include "core/name_charsets.h"
#include "core/names.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/decode_context.h"
#include "decode/decode_tables.h"
#include "encode/checksum.h"

namespace {

const char kPartRange[] = "Part %d Must be Between 1 and %d.";
enum { DESIGNATION_WORD_ROOM = 64, LINE_END_SUM_BYTE = 0x0A, TABLE_LINES_AFTER_FIRST = 2 };

// ASCII letters only: keywords are ASCII, and the locale must not change what matches.
int Lower(char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : static_cast<unsigned char>(c); }
bool IsSpaceClass(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

bool StartsWith(const char* text, const char* keyword) {
  for (; *keyword; ++text, ++keyword)
    if (*text != *keyword) return false;
  return true;
}

bool StartsWithAnyCase(const char* text, const char* keyword) {
  for (; *keyword; ++text, ++keyword)
    if (*text == '\0' || Lower(*text) != Lower(*keyword)) return false;
  return true;
}

const char* FindAnyCase(const char* text, const char* keyword) {
  for (; *text; ++text)
    if (StartsWithAnyCase(text, keyword)) return text;
  return nullptr;
}

const char* SkipWord(const char* text) { return FindTokenEnd(text); }

size_t ScanText(const char* text, size_t room, char a, char b) {
  const uint64_t wordA = EachByte(static_cast<unsigned char>(a)), wordB = EachByte(static_cast<unsigned char>(b));
  size_t i = 0;
  for (; i + sizeof(uint64_t) <= room; i += sizeof(uint64_t)) {
    const uint64_t word = LoadWord(text + i);
    if (HasZeroByte(word) || HasZeroByte(word ^ wordA) || HasZeroByte(word ^ wordB)) break;
  }
  for (; i < room; ++i)
    if (text[i] == '\0' || text[i] == a || text[i] == b) return i;
  return room;
}

bool IsBlankLine(const char* line) {
  const char* p = SkipBlanks(line);
  return *p == '\0' || *p == '\r' || *p == '\n';
}

bool ContainsCutHere(const char* text) { return FindAnyCase(text, "cut here") != nullptr; }
bool ContainsPart(const char* text) { return FindAnyCase(text, "part") != nullptr; }

const char* ParseNumber(const char* text, long* value, bool* found) {
  const char* p = SkipBlanks(text);
  long n = 0;
  *found = false;
  for (; IsDigit(*p); ++p) {
    *found = true;
    if (n < 100000000L) n = n * 10 + (*p - '0');  // large enough to be out of range, no overflow
  }
  *value = n;
  return p;
}

bool ValidatePartNumber(long n) {
  if (n >= 1 && n <= MAX_PART_NUMBER) return false;
  ShowMessage(MainWindow(), MB_ICONHAND, kPartRange, static_cast<int>(n), MAX_PART_NUMBER);
  return true;
}

const char* CopyFileName(const char* text, int mode, bool stopAtBlanks, char* dest, size_t room) {
  size_t n = 0;
  const char* p = text;
  auto keep = [&](char c) {
    if (n + 1 < room) dest[n++] = c;
  };
  const char* first = p;
  if (mode == NAME_LINE_MODE) {
    for (; *p && *p != '\r' && *p != '\n'; ++p) keep(*p);
  } else {
    if (*p == '"') first = ++p;
    for (; *p && NameCharClass(*p) != NAME_CHAR_INVALID; ++p) {
      if (stopAtBlanks && (IsSpaceClass(*p) || *p == ',')) break;
      keep(*p);
    }
    if (*p == '"') ++p;
  }
  // A name cut short by the room keeps no part of a character.
  if (room > 0 && n == room - 1) n = Utf8Boundary(first, n);
  if (room > 0) dest[n] = '\0';
  return p;
}

bool FindNameParameter(const char* text, char* dest, size_t room) {
  for (const char* p = text; *p; ++p) {
    if (StartsWithAnyCase(p, "name=")) {
      CopyFileName(SkipBlanks(p + 5), NAME_TOKEN_MODE, false, dest, room);
      return true;
    }
  }
  return false;
}

int ParsePartDesignation(const char* text, int* part, int* total) {
  const char* p = text;
  const char bracket = (*p == '(' || *p == '[') ? *p : '\0';
  if (bracket) ++p;
  p = SkipBlanks(p);
  const bool hasPart = StartsWithAnyCase(p, "part");
  if (hasPart) p = SkipBlanks(p + 4);
  int kind = bracket == '[' ? (hasPart ? DESIGNATION_SQUARE_PART : DESIGNATION_SQUARE)
             : bracket == '(' ? DESIGNATION_ROUND
             : hasPart ? DESIGNATION_PLAIN : DESIGNATION_NONE;
  long n = 0;
  bool found = false;
  p = ParseNumber(p, &n, &found);
  if (!found || n == 0) return DESIGNATION_NONE;
  if (ValidatePartNumber(n)) return DESIGNATION_NONE;
  *part = static_cast<int>(n);

  p = SkipBlanks(p);
  char word[DESIGNATION_WORD_ROOM];
  size_t w = 0;
  for (; *p && !IsDigit(*p) && !IsSpaceClass(*p) && w + 1 < sizeof word; ++p) word[w++] = *p;
  word[w] = '\0';
  if (!(std::strcmp(word, "/") == 0 || (w == 2 && StartsWithAnyCase(word, "of")))) return DESIGNATION_NONE;

  p = ParseNumber(p, &n, &found);
  if (!found) return DESIGNATION_NONE;
  if (ValidatePartNumber(n)) return DESIGNATION_NONE;
  *total = static_cast<int>(n);
  if (kind == DESIGNATION_NONE) kind = DESIGNATION_PLAIN;
  if (bracket == '(' && *p != ')') return DESIGNATION_NONE;
  if (bracket == '[' && *p != ']') return DESIGNATION_NONE;
  return kind;
}

void AddLineToPartSum(const char* line) {
  const size_t length = LineTextLength(line);
  uint16_t s = SumBytes(static_cast<uint16_t>(g_currentPart->calculatedChecksum), line, length);
  g_currentPart->calculatedChecksum = SumStep(s, LINE_END_SUM_BYTE);
  g_currentPart->calculatedSize += static_cast<int32_t>(length + 1);
}

bool ParseBeginLine(const char* line, char* name, size_t room) {
  const char* p = nullptr;
  if (StartsWithAnyCase(line, "begin") && IsBlank(line[5])) {
    const char* mode = SkipBlanks(line + 5);
    if (!IsDigit(*mode)) p = nullptr;
    else {
      while (IsDigit(*mode)) ++mode;
      const char* rest = SkipBlanks(mode);
      if (*rest != '\0') p = rest;
    }
  } else if (StartsWithAnyCase(line, "*begin")) {
    p = SkipBlanks(line + 6);
  }
  if (!p) {
    CopyFileName(UNKNOWN_FILE_NAME, NAME_LINE_MODE, false, name, room);
    return false;
  }
  CopyFileName(p, NAME_LINE_MODE, false, name, room);
  g_decode.nameFound = true;
  AddLineToPartSum(line);
  return true;
}

bool GuessUuOrXx(const char* line) {
  const signed char* uu = DecodeTableFor(TYPE_UU);
  const signed char* xx = DecodeTableFor(TYPE_XX);
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(line); *p; ++p) {
    const bool inUu = uu[*p] != DECODE_INVALID;
    const bool inXx = xx[*p] != DECODE_INVALID;
    if (inUu == inXx) {
      if (!inUu) return false;
      continue;
    }
    g_decode.format = inUu ? TYPE_UU : TYPE_XX;
    SelectDecodeTable(g_decode.format);
    return true;
  }
  return false;
}

int ReadDecodeLine(int stream, char* buf) {
  const int n = StreamReadLine(stream, buf, LINE_READ_SIZE);
  if (n > 0) {
    ++g_decode.lineNumber;
    g_decode.bytesRead += n;
  }
  return n;
}

void PushBackLine(int length, int stream) {
  StreamSeek(stream, -static_cast<LONG>(length), FILE_CURRENT);
  --g_decode.lineNumber;
  g_decode.bytesRead -= length;
}

bool AtEndOfInput(int stream) {
  char peek[LINE_ROOM];
  const int n = StreamReadLine(stream, peek, LINE_READ_SIZE);
  if (n <= 0) return true;
  StreamSeek(stream, -static_cast<LONG>(n), FILE_CURRENT);
  return false;
}

bool SkipTableLines(int stream, char* line) {
  int n = 0;
  do {
    n = ReadDecodeLine(stream, line);
    if (n <= 0) return false;
  } while (IsBlankLine(line));
  if (!StartsWith(line, "table")) {
    PushBackLine(n, stream);
    return false;
  }
  g_currentPart = &g_partTable[0];
  AddLineToPartSum(line);
  for (int i = 0; i < TABLE_LINES_AFTER_FIRST; ++i) {
    if (ReadDecodeLine(stream, line) <= 0) break;
    AddLineToPartSum(line);
  }
  return true;
}
