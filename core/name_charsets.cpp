#include "core/name_charsets.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/platform.h"

#ifndef WC_NO_BEST_FIT_CHARS
#define WC_NO_BEST_FIT_CHARS 0x400u
#endif

namespace {

typedef std::vector<WCHAR> WideText;

const char kMissingCharacter[] = "_";
const WCHAR kMissingUnit = L'_';

// Windows-1252 from 0x80 to 0x9F; from 0xA0 on it is Latin-1, the code point itself. The
// five bytes it leaves undefined name no character.
const WCHAR kWindows1252High[32] = {
    0x20AC, kMissingUnit, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030,       0x0160, 0x2039, 0x0152, kMissingUnit, 0x017D, kMissingUnit,
    kMissingUnit, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122,       0x0161, 0x203A, 0x0153, kMissingUnit, 0x017E, 0x0178};

// Mac Roman from 0x80 to 0xFF (0xDB is the euro sign, as since Mac OS 8.5).
const WCHAR kMacRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5,
    0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4,
    0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6,
    0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF,
    0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5,
    0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044,
    0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9,
    0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

// The length of the well-formed UTF-8 sequence at p, or 0 (the ranges of RFC 3629).
size_t Utf8SequenceLength(const unsigned char* p) {
  const unsigned b = p[0];
  if (b < 0x80) return 1;
  size_t extra = 0;
  unsigned low = 0x80, high = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    extra = 1;
  } else if (b >= 0xE0 && b <= 0xEF) {
    extra = 2;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    extra = 3;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (p[1] < low || p[1] > high) return 0;
  for (size_t i = 2; i <= extra; ++i)
    if ((p[i] & 0xC0) != 0x80) return 0;
  return extra + 1;
}

const unsigned char* Bytes(const char* text) { return reinterpret_cast<const unsigned char*>(text); }

bool TargetIsUtf8(UINT codePage) { return codePage == CP_UTF8 || (codePage == CP_ACP && ProgramUsesUtf8()); }

WideText FromCodePage(UINT codePage, const char* text) {
  const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  WideText wide(n > 0 ? static_cast<size_t>(n) : 1, 0);
  if (n <= 0 || MultiByteToWideChar(codePage, 0, text, -1, wide.data(), n) <= 0) wide.assign(1, 0);
  return wide;
}

WCHAR Windows1252Unit(unsigned char b) {
  return b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : static_cast<WCHAR>(b);
}

WCHAR MacRomanUnit(unsigned char b) { return b >= 0x80 ? kMacRomanHigh[b - 0x80] : static_cast<WCHAR>(b); }

WideText FromSingleByte(const char* text, WCHAR (*unit)(unsigned char)) {
  WideText wide;
  for (const unsigned char* p = Bytes(text); *p; ++p) wide.push_back(unit(*p));
  wide.push_back(0);
  return wide;
}

// Converts without best-fit look-alikes (which may turn a character into a separator); a
// system that does not know the flag converts without it.
int ToMultiByte(UINT codePage, const WideText& wide, char* out, int room) {
  const char* missing = TargetIsUtf8(codePage) ? nullptr : kMissingCharacter;
  const DWORD flags = TargetIsUtf8(codePage) ? 0 : WC_NO_BEST_FIT_CHARS;
  int n = WideCharToMultiByte(codePage, flags, wide.data(), -1, out, room, missing, nullptr);
  if (n <= 0 && flags != 0) n = WideCharToMultiByte(codePage, 0, wide.data(), -1, out, room, missing, nullptr);
  return n;
}

void ToCodePage(UINT codePage, const WideText& wide, char* dest, size_t room) {
  if (room == 0) return;
  const int n = ToMultiByte(codePage, wide, nullptr, 0);
  std::string text(n > 0 ? static_cast<size_t>(n) : 1, '\0');
  if (n <= 0 || ToMultiByte(codePage, wide, &text[0], n) <= 0) text.assign(1, '\0');
  const char* converted = text.c_str();
  const size_t keep = TargetIsUtf8(codePage) ? Utf8Boundary(converted, room - 1) : CharacterBoundary(converted, room - 1);
  std::memcpy(dest, converted, keep);
  dest[keep] = '\0';
}

bool IsSurrogate(WCHAR unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

char MacRomanByte(WCHAR unit) {
  if (unit < 0x80) return static_cast<char>(unit);
  for (unsigned i = 0; i < 128; ++i)
    if (kMacRomanHigh[i] == unit) return static_cast<char>(0x80 + i);
  return kMissingCharacter[0];
}

}  // namespace

bool ProgramUsesUtf8() { return GetACP() == CP_UTF8; }

bool IsAsciiText(const char* text) {
  for (const unsigned char* p = Bytes(text); *p; ++p)
    if (*p >= 0x80) return false;
  return true;
}

bool IsUtf8Text(const char* text) {
  for (const unsigned char* p = Bytes(text); *p;) {
    const size_t n = Utf8SequenceLength(p);
    if (n == 0) return false;
    p += n;
  }
  return true;
}

size_t CharacterLength(const char* text) {
  if (ProgramUsesUtf8()) return Utf8SequenceLength(Bytes(text));
  if (!IsDBCSLeadByteEx(GetACP(), Bytes(text)[0])) return 1;
  return text[1] != '\0' ? 2 : 0;
}

size_t Utf8Boundary(const char* text, size_t limit) {
  size_t length = 0;
  while (length <= limit && text[length]) ++length;
  if (length <= limit) return length;
  // text[limit] is the first byte left out: when it continues a sequence, the sequence goes.
  size_t n = limit;
  while (n > 0 && limit - n < 3 && (Bytes(text)[n] & 0xC0) == 0x80) --n;
  return n < limit && (Bytes(text)[n] & 0xC0) == 0xC0 ? n : limit;
}

size_t CharacterBoundary(const char* text, size_t limit) {
  if (ProgramUsesUtf8()) return Utf8Boundary(text, limit);
  size_t at = 0;
  while (text[at]) {
    size_t n = CharacterLength(text + at);
    if (n == 0) n = 1;
    if (at + n > limit) break;
    at += n;
  }
  return at;
}

void CopyWholeCharacters(const char* text, char* dest, size_t room) {
  if (room == 0) return;
  const size_t keep = CharacterBoundary(text, room - 1);
  std::memmove(dest, text, keep);
  dest[keep] = '\0';
}

void NameFromPosting(const char* raw, char* dest, size_t room) {
  ToCodePage(CP_ACP, IsUtf8Text(raw) ? FromCodePage(CP_UTF8, raw) : FromSingleByte(raw, Windows1252Unit), dest, room);
}

void NameToUtf8(const char* name, char* dest, size_t room) { ToCodePage(CP_UTF8, FromCodePage(CP_ACP, name), dest, room); }

void MacRomanToUtf8(const char* raw, char* dest, size_t room) {
  ToCodePage(CP_UTF8, FromSingleByte(raw, MacRomanUnit), dest, room);
}

void NameToMacRoman(const char* name, char* dest, size_t room) {
  if (room == 0) return;
  const WideText wide = FromCodePage(CP_ACP, name);
  size_t n = 0;
  for (size_t i = 0; wide[i] != 0 && n + 1 < room; ++i) {
    dest[n++] = IsSurrogate(wide[i]) ? kMissingCharacter[0] : MacRomanByte(wide[i]);
    if (IsSurrogate(wide[i]) && IsSurrogate(wide[i + 1])) ++i;  // one character, one stand-in
  }
  dest[n] = '\0';
}
