#include "decode/line_fit.h"

#include <cstring>

#include "core/names.h"
#include "decode/decode_tables.h"
#include "decode/line_scan.h"
#include "decode/part_table.h"

namespace {

// A damaged line has a few characters outside the alphabet; prose has many.
enum { DAMAGE_SHARE = 8, RULE_CHARACTERS = 3, SLACK_BYTES = 2, HEADER_NAME_MAX = 40, MAX_DIGITS = 3 };

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A number of at most three digits at p; the position after it, or null.
const char* ReadSmallNumber(const char* p, int* value) {
  int n = 0, digits = 0;
  for (; IsDigit(*p); ++p, ++digits)
    if (digits < MAX_DIGITS) n = n * 10 + (*p - '0');
  if (digits == 0 || digits > MAX_DIGITS) return nullptr;
  *value = n;
  return p;
}

// A designation starting at the digit p: "N/M" or "N of M", 1 <= N <= M <= 99.
int DesignationAt(const char* text, const char* p) {
  if (p > text && (IsDigit(p[-1]) || IsLetter(p[-1]))) {
    // Letters may come right before the number only as in "Part02/49".
    if (p - text < 4 || !StartsWithAnyCase(p - 4, "part")) return 0;
  }
  int part = 0, total = 0;
  const char* q = ReadSmallNumber(p, &part);
  if (!q) return 0;
  q = SkipBlanks(q);
  if (*q == '/') q = SkipBlanks(q + 1);
  else if (StartsWithAnyCase(q, "of") && (q[2] == ' ' || q[2] == '\t')) q = SkipBlanks(q + 2);
  else return 0;
  if (!ReadSmallNumber(q, &total)) return 0;
  return part >= 1 && part <= total && total <= MAX_PARTS ? part : 0;
}

bool IsRuleCharacter(char c) { return c == '-' || c == '=' || c == '_' || c == '*' || c == '#'; }

bool IsHeaderNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// "Subject: ...", "From: ...", "X-Posted-By: ...": a name, a colon and a blank.
bool IsHeaderLine(const char* line) {
  int n = 0;
  while (IsHeaderNameCharacter(line[n]) && n <= HEADER_NAME_MAX) ++n;
  return n > 0 && n <= HEADER_NAME_MAX && line[n] == ':' && (line[n + 1] == ' ' || line[n + 1] == '\t');
}

bool StartsWithRule(const char* line) {
  for (int i = 0; i < RULE_CHARACTERS; ++i)
    if (!IsRuleCharacter(line[i]) || line[i] != line[0]) return false;
  return true;
}

// The last designation of a text.
int FindDesignatedPart(const char* text) {
  int found = 0;
  for (const char* p = text; *p; ++p)
    if (IsDigit(*p) && (p == text || !IsDigit(p[-1]))) {
      const int part = DesignationAt(text, p);
      if (part) found = part;
    }
  return found;
}

}  // namespace

int FitOfRefusedLine(const char* line, const signed char* table, bool blanksMayBeStripped) {
  const size_t length = LineTextLength(line);
  if (length == 0 || !table) return LINE_NOT_DATA;
  const unsigned char* text = reinterpret_cast<const unsigned char*>(line);
  const int count = table[text[0]];
  if (count == DECODE_INVALID) return LINE_NOT_DATA;
  const int characters = static_cast<int>(length) - 1;
  int outside = 0;
  for (int i = 1; i <= characters; ++i)
    if (table[text[i]] == DECODE_INVALID) ++outside;
  // As the line decoder measures: four characters carry three bytes, and the last group may
  // carry up to two filler bytes beyond the count.
  const int carried = 3 * characters / 4;
  if (carried > count + SLACK_BYTES) return LINE_NOT_DATA;
  if (carried < count) return outside == 0 && blanksMayBeStripped ? LINE_DAMAGED : LINE_NOT_DATA;
  return outside * DAMAGE_SHARE <= characters ? LINE_DAMAGED : LINE_NOT_DATA;
}

bool IsFramingText(const char* line) {
  const bool signature = StartsWith(line, "--") && IsBlankLine(line + 2);
  return signature || ContainsCutHere(line) || StartsWithRule(line) || IsHeaderLine(line);
}

int PartNamedByFrame(const char* line) {
  const bool subject = StartsWithAnyCase(line, "Subject:");
  if (!subject && !(ContainsCutHere(line) || StartsWithRule(line))) return 0;
  return FindDesignatedPart(line);
}
