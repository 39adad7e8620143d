#include "decode/header_detect.h"

#include <cstring>

#include "core/names.h"
#include "decode/decode_context.h"
#include "decode/decode_tables.h"
#include "decode/line_scan.h"
#include "decode/mime_names.h"
#include "decode/yenc_decode.h"
#include "encode/header_styles.h"

namespace {

enum { NAME_ROOM = DECODE_NAME_ROOM, XFILE_EXTRA_LINES = 3, MIME_SUBTYPE_ROOM = 64, XMIT_CUTS = 3,
       XMIT_MAX_CUTS = 4 };

const char kTwelveDashes[] = "------------";
const char kTenDashes[] = "----------";
const char kSixDashes[] = "------";

// What one header test found; part, total and name are given back only on success.
struct Found {
  int part = 0;
  int total = 0;
  char* name;
};


const char* AfterWordAndBlanks(const char* p) { return SkipBlanks(SkipWord(p)); }

const char* LastOf(const char* text, char c) { return std::strrchr(text, c); }

int BeginLineTest(const char* line, Found& f) {
  const bool plain = StartsWithAnyCase(line, "begin") && IsBlank(line[5]);
  const bool starred = StartsWithAnyCase(line, "*begin") && IsBlank(line[6]);
  if (!(plain || starred) || ContainsCutHere(line)) return -1;
  if (!ParseBeginLine(line, f.name, NAME_ROOM)) return 0;
  f.part = 1;
  if (g_decode.style == STYLE_TO_BE_DETERMINED || g_decode.style == STYLE_SINGLE) {
    f.total = 1;
    return STYLE_SINGLE;
  }
  f.total = g_partTotal;
  return g_decode.style;
}

// "begin-base64 MODE NAME": base64 data up to "====", one file.
int Base64BeginTest(const char* line, Found& f) {
  if (!StartsWith(line, "begin-base64") || !IsBlank(line[12])) return -1;
  bool found = false;
  long mode = 0;
  const char* name = SkipBlanks(ParseNumber(line + 12, &mode, &found));
  if (!found || *name == '\0' || *name == '\r' || *name == '\n') return 0;
  CopyFileName(name, NAME_LINE_MODE, false, f.name, NAME_ROOM);
  g_decode.format = TYPE_MIME;
  SelectDecodeTable(TYPE_MIME);
  g_decode.nameFound = true;
  f.part = 1;
  f.total = 1;
  return STYLE_SINGLE;
}

int YencTest(const char* line, Found& f) { return YencHeaderTest(line, &f.part, &f.total, f.name, NAME_ROOM); }

// The frame line, or one that a newsreader glued onto the end of the Subject line (found
// there too, unlike a frame anywhere else in a line).
const char* SimTelFrame(const char* line) {
  if (StartsWith(line, kTwelveDashes)) return line;
  return StartsWithAnyCase(line, "Subject:") ? std::strstr(line, kTwelveDashes) : nullptr;
}

int SimTelTest(const char* line, Found& f) {
  const char* frame = SimTelFrame(line);
  if (!frame) return -1;
  return ParsePartDesignation(AfterWordAndBlanks(frame), &f.part, &f.total) ? STYLE_SIMTEL : -1;
}

int CompBinariesTest(const char* line, Found& f) {
  if (!StartsWithAnyCase(line, "Archive-name:")) return -1;
  const char* p = SkipBlanks(line + 13);
  const char* slash = std::strchr(p, '/');
  if (!slash) return -1;
  size_t length = static_cast<size_t>(slash - p);
  char stem[NAME_ROOM];
  if (length >= sizeof stem) length = sizeof stem - 1;
  std::memcpy(stem, p, length);
  stem[length] = '\0';
  if (!StartsWithAnyCase(slash + 1, "part")) return -1;
  long n = 0;
  bool found = false;
  ParseNumber(slash + 5, &n, &found);
  if (!found || ValidatePartNumber(n)) return -1;
  CopyFileName(stem, NAME_TOKEN_MODE, false, f.name, NAME_ROOM);
  f.part = static_cast<int>(n);
  f.total = g_partTotal;
  return STYLE_COMP_BINARIES;
}

// The subject text before `end` with trailing blanks removed.
void CopySubjectName(const char* subject, const char* end, char* name) {
  while (end > subject && IsBlank(end[-1])) --end;
  size_t length = static_cast<size_t>(end - subject);
  if (length >= NAME_ROOM) length = NAME_ROOM - 1;
  std::memcpy(name, subject, length);
  name[length] = '\0';
}

int BracketDesignation(const char* subject, char bracket, int dotless, Found& f) {
  const char* open = LastOf(subject, bracket);
  if (!open) return -1;
  int part = 0, total = 0;
  const int kind = ParsePartDesignation(open, &part, &total);
  if (!kind) return -1;
  CopySubjectName(subject, open, f.name);
  f.part = part;
  f.total = total;
  return std::strchr(f.name, '.') ? kind : dotless;
}

int SubjectTest(const char* line, Found& f) {
  if (!StartsWithAnyCase(line, "Subject:")) return -1;
  const char* subject = SkipBlanks(line + 8);
  if (*subject == '-') subject = AfterWordAndBlanks(subject);
  const char* comma = LastOf(subject, ',');
  if (std::strstr(subject, "encoded)") && comma) {
    const char* p = SkipBlanks(comma + 1);
    if (StartsWithAnyCase(p, "Part") && ParsePartDesignation(p, &f.part, &f.total)) {
      CopyFileName(subject, NAME_TOKEN_MODE, true, f.name, NAME_ROOM);
      return STYLE_BITFTP;
    }
  }
  int r = BracketDesignation(subject, '(', STYLE_ALT_BINARIES_3, f);
  if (r < 0) r = BracketDesignation(subject, '[', STYLE_ALT_BINARIES_4, f);
  return r;
}

int SectionTest(char* line, int stream, Found& f) {
  if (!StartsWith(line, "section")) return -1;
  long n = 0, total = 0;
  bool found = false;
  const char* p = ParseNumber(line + 7, &n, &found);
  if (!found || ValidatePartNumber(n)) return -1;
  f.part = static_cast<int>(n);
  p = SkipBlanks(p);
  int style = STYLE_WINCODE;
  if (*p == '/') {
    p = ParseNumber(p + 1, &total, &found);
    if (!found || ValidatePartNumber(total)) return -1;
    p = SkipBlanks(p);
    if (!StartsWithAnyCase(p, "file")) return -1;
    p = SkipBlanks(p + 4);
    f.total = static_cast<int>(total);
  } else {
    if (!StartsWith(p, "of uuencode") && !StartsWith(p, "of xxencode")) return 0;
    p = AfterWordAndBlanks(SkipBlanks(p + 11));
    if (!StartsWith(p, "of file")) return -1;
    p = SkipBlanks(p + 7);
    f.total = g_partTotal;
    style = STYLE_REM;
  }
  CopyFileName(p, NAME_TOKEN_MODE, true, f.name, NAME_ROOM);
  if (f.part == 1) SkipTableLines(stream, line);
  return style;
}

int BeginKeywordTest(const char* line, Found& f) {
  if (!StartsWith(line, "BEGIN")) return -1;
  const char* p = SkipWord(line);
  if (std::strstr(p, "part")) {
    p = CopyFileName(SkipBlanks(p), NAME_TOKEN_MODE, true, f.name, NAME_ROOM);
    p = SkipBlanks(p);
    if (!StartsWith(p, kTenDashes)) return -1;
    return ParsePartDesignation(AfterWordAndBlanks(p), &f.part, &f.total) ? STYLE_SHAR : -1;
  }
  int cuts = 0;
  for (; cuts < XMIT_MAX_CUTS; ++cuts) {
    const char* q = SkipBlanks(p);
    if (!StartsWith(q, "---")) break;
    q = SkipBlanks(q + 3);
    if (!StartsWithAnyCase(q, "CUT HERE")) break;
    p = q + 8;
  }
  if (cuts < XMIT_CUTS) return -1;
  // The separator words of the cut line end with dashes before the name.
  p = SkipBlanks(p);
  while (*p == '-') ++p;
  p = CopyFileName(SkipBlanks(p), NAME_TOKEN_MODE, true, f.name, NAME_ROOM);
  return ParsePartDesignation(SkipBlanks(p), &f.part, &f.total) ? STYLE_XMITBIN : -1;
}

// Reads the next X-File header line; false at end of input.
bool ReadXFileLine(int stream, char* next, int* length) {
  *length = ReadDecodeLine(stream, next);
  return *length > 0;
}

// A numbered X-File header: false when the keyword is there without digits.
bool XFileNumber(const char* line, const char* keyword, long* value, bool* present) {
  if (!StartsWithAnyCase(line, keyword)) return true;
  bool found = false;
  ParseNumber(line + std::strlen(keyword), value, &found);
  *present = found;
  return found;
}

int XFileTest(const char* line, int stream, Found& f) {
  if (!StartsWithAnyCase(line, "X-File-Name:")) return -1;
  CopyFileName(SkipBlanks(line + 12), NAME_TOKEN_MODE, false, f.name, NAME_ROOM);
  char next[LINE_ROOM];
  int length = 0;
  long part = 0, total = 0, sum = 0;
  bool hasPart = false, hasTotal = false, hasSum = false;
  if (!ReadXFileLine(stream, next, &length) || !XFileNumber(next, "X-Part:", &part, &hasPart)) return -1;
  if (!ReadXFileLine(stream, next, &length) || !XFileNumber(next, "X-Part-Total:", &total, &hasTotal))
    return -1;
  if (!ReadXFileLine(stream, next, &length)) return -1;
  if (!StartsWithAnyCase(next, "X-File-Sum:")) PushBackLine(length, stream);
  else if (!XFileNumber(next, "X-File-Sum:", &sum, &hasSum)) return -1;
  // Without an "X-Part:" line there is no part to file the data under.
  if (!hasPart || ValidatePartNumber(part)) return -1;
  if (hasTotal && ValidatePartNumber(total)) return -1;
  f.part = static_cast<int>(part);
  f.total = static_cast<int>(total);
  return STYLE_X_FILE;
}

int PostTest(const char* line, Found& f) {
  if (!StartsWith(line, "POST V")) return -1;
  const int style = line[6] == '1' ? STYLE_POST_120 : STYLE_POST_201;
  const char* p = CopyFileName(AfterWordAndBlanks(line + 5), NAME_TOKEN_MODE, true, f.name, NAME_ROOM);
  return ParsePartDesignation(SkipBlanks(p), &f.part, &f.total) ? style : -1;
}

bool IsBase64Encoding(const char* line) {
  return StartsWithAnyCase(line, "Content-Transfer-Encoding:") && StartsWithAnyCase(SkipBlanks(line + 26), "BASE64");
}

// The subtype of a Content-Type value; gives back the position after it.
bool SubtypeIsBinHex(const char* value, const char** after) {
  const char* p = std::strchr(value, '/');
  if (!p) {
    *after = value + std::strlen(value);
    return false;
  }
  p = SkipBlanks(p + 1);
  const char* end = p + std::strcspn(p, " \t\r\n\v\f;");
  *after = end;
  return end - p == 12 && StartsWithAnyCase(p, "mac-binhex40");
}

bool IsTextType(const char* line) {
  return StartsWithAnyCase(line, "Content-Type:") && StartsWithAnyCase(SkipBlanks(line + 13), "text/");
}

int MimeTest(const char* line, int stream, Found& f) {
  const bool encodingLine = StartsWithAnyCase(line, "Content-Transfer-Encoding:");
  if (!encodingLine && !StartsWithAnyCase(line, "Content-Type:")) return -1;
  bool base64 = false, binHex = false, text = IsTextType(line);
  char next[LINE_ROOM];
  MimeNames names;
  StartMimeNames(&names);
  if (encodingLine) {
    if (!IsBase64Encoding(line)) return -1;
    base64 = true;
  } else {
    const char* after = nullptr;
    binHex = SubtypeIsBinHex(SkipBlanks(line + 13), &after);
    if (*after == ';') ReadMimeNames(after + 1, &names);
    for (;;) {
      if (ReadDecodeLine(stream, next) <= 0 || IsBlankLine(next)) return -1;
      ReadMimeNames(next, &names);
      if (IsBase64Encoding(next)) {
        base64 = true;
        break;
      }
    }
  }
  // The rest of the part's headers, up to the blank line that ends them.
  for (;;) {
    if (ReadDecodeLine(stream, next) <= 0) return -1;
    if (IsBlankLine(next)) break;
    ReadMimeNames(next, &names);
    text = text || IsTextType(next);
  }
  const bool named = ChosenMimeName(names, f.name, NAME_ROOM);
  CleanFileName(f.name);
  // A text part that names no file is the message's own text, not an attachment.
  if (!base64 || binHex || (text && !named)) return 0;
  g_decode.format = TYPE_MIME;
  SelectDecodeTable(TYPE_MIME);
  f.part = 1;
  f.total = 1;
  g_decode.nameFound = true;
  return STYLE_SINGLE;
}

int BinHexTest(const char* line, Found& f) {
  if (!StartsWithAnyCase(line, "(This file must be converted with binhex")) return -1;
  g_decode.format = TYPE_BINHEX;
  SelectDecodeTable(TYPE_BINHEX);
  f.part = 1;
  f.total = 1;
  return STYLE_SINGLE;
}

// A number that passes ValidatePartNumber, followed directly by `closing`.
const char* ValidNumberBefore(const char* p, char closing, long* value) {
  bool found = false;
  if (!p) return nullptr;
  const char* q = ParseNumber(p, value, &found);
  if (!found || ValidatePartNumber(*value) || *q != closing) return nullptr;
  return q + 1;
}

int AolTest(const char* line, Found& f) {
  if (!StartsWithAnyCase(line, "Subj:")) return -1;
  const char* p = SkipBlanks(line + 5);
  if (*p != '#') return -1;
  long part = 0, total = 0;
  p = ValidNumberBefore(p + 1, '(', &part);
  // The number right after the "(" must not be preceded by blanks either.
  if (!p || *p == ' ' || *p == '\t' || !ValidNumberBefore(p, ')', &total)) return -1;
  f.part = static_cast<int>(part);
  f.total = static_cast<int>(total);
  return STYLE_AOL;
}

int SquirrelTest(const char* line, Found& f) {
  if (!StartsWith(line, kSixDashes)) return -1;
  const char* p = AfterWordAndBlanks(line);
  if (!StartsWith(p, "begin of")) return -1;
  p = CopyFileName(SkipBlanks(p + 8), NAME_TOKEN_MODE, true, f.name, NAME_ROOM);
  const char* part = std::strstr(p, "part");
  return part && ParsePartDesignation(part, &f.part, &f.total) ? STYLE_SQUIRREL : -1;
}

int KoltarTest(const char* line, Found& f) {
  if (!std::strstr(line, "KOLTAR")) return -1;
  const char* p = SkipBlanks(CopyFileName(line, NAME_TOKEN_MODE, true, f.name, NAME_ROOM));
  if (!StartsWithAnyCase(p, "section")) return -1;
  return ParsePartDesignation(SkipBlanks(p + 7), &f.part, &f.total) ? STYLE_KOLTAR : -1;
}

void NoteBinaryData(const char* line) {
  if (g_decode.binaryData != 0) return;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(line); *p; ++p)
    if (*p >= 0x80) {
      g_decode.binaryData = 1;
      return;
    }
}

}  // namespace

int DetectHeader(char* line, int stream, int* part, int* total, char* name) {
  *part = 0;
  *total = 0;
  Found f;
  f.name = name;
  enum { TEST_COUNT = 15 };
  for (int test = 0; test < TEST_COUNT; ++test) {
    std::strcpy(name, UNKNOWN_FILE_NAME);
    int r = -1;
    switch (test) {
      case 0: r = BeginLineTest(line, f); break;
      case 1: r = SimTelTest(line, f); break;
      case 2: r = CompBinariesTest(line, f); break;
      case 3: r = SubjectTest(line, f); break;
      case 4: r = SectionTest(line, stream, f); break;
      case 5: r = BeginKeywordTest(line, f); break;
      case 6: r = XFileTest(line, stream, f); break;
      case 7: r = PostTest(line, f); break;
      case 8: r = MimeTest(line, stream, f); break;
      case 9: r = BinHexTest(line, f); break;
      case 10: r = AolTest(line, f); break;
      case 11: r = SquirrelTest(line, f); break;
      case 12: r = KoltarTest(line, f); break;
      case 13: r = Base64BeginTest(line, f); break;
      default: r = YencTest(line, f); break;
    }
    if (r >= 0) {
      if (r > 0) {
        *part = f.part;
        *total = f.total;
      } else {
        std::strcpy(name, UNKNOWN_FILE_NAME);
      }
      return r;
    }
  }
  std::strcpy(name, UNKNOWN_FILE_NAME);
  NoteBinaryData(line);
  return 0;
}
