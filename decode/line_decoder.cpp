#include "decode/line_decoder.h"

#include <cstdint>
#include <cstring>

#include "core/job_state.h"
#include "decode/decode_context.h"
#include "decode/decode_tables.h"
#include "decode/line_scan.h"
#include "encode/checksum.h"

namespace {

const char kBadLength[] = "Indicated # of chars per line is less than 0.";
const char kCountMismatch[] = "# of indicated chars in line (%d) does not match actual data present (%d).";

enum { LINE_END_SUM_BYTE = 0x0A, PAD_CHARACTER = '`', BASE64_PAD = '=' };
// No line of the input is longer than the line buffer; the walk never goes further, so
// the output never exceeds DECODED_LINE_ROOM.
enum { MAX_LINE_CHARACTERS = LINE_ROOM - 1 };
static_assert((MAX_LINE_CHARACTERS + 3) / 4 * 3 <= DECODED_LINE_ROOM, "decoded line room");

bool IsLineEnd(unsigned char c) { return c == '\r' || c == '\n'; }
bool IsTerminator(unsigned char c) { return c == '\0' || IsLineEnd(c); }

int FailBadByte(unsigned char c) {
  SetDecodeError(kInvalidDataByte, static_cast<unsigned>(c));
  return -1;
}

// The characters of a UU or XX line after its length character, padded with grave accents
// when a short line is repaired. Reads only inside the line.
struct DataCharacters {
  const unsigned char* text;
  int count;   // characters present
  int padded;  // characters with the repair's grave accents
  unsigned char At(int i) const { return i < count ? text[i] : static_cast<unsigned char>(PAD_CHARACTER); }
};

// Decodes the data characters in groups of four; `lone` is the value a missing partner of a
// lone last character takes. Returns the bytes produced, or -1 for an invalid character.
int DecodeGroups(const DataCharacters& d, const signed char* table, bool anyway, unsigned char terminator,
                 uint16_t& sum, unsigned char* out) {
  int produced = 0;
  int v[4];
  for (int i = 0; i < d.padded; i += 4) {
    const int inGroup = d.padded - i < 4 ? d.padded - i : 4;
    for (int j = 0; j < inGroup; ++j) {
      const unsigned char c = d.At(i + j);
      v[j] = table[c];
      if (v[j] == DECODE_INVALID && !anyway) return FailBadByte(c);
      sum = SumStep(sum, c);
    }
    if (inGroup == 1) {
      // A lone last character: its partner would be the line end, which is never data.
      if (!anyway) return FailBadByte(terminator);
      v[1] = DECODE_INVALID;
    }
    // Invalid values take part as -1 (all bits set), so they fill every bit they cover.
    out[produced++] = static_cast<unsigned char>((static_cast<unsigned>(v[0]) << 2) |
                                                 static_cast<unsigned>(v[1] >> 4));
    if (inGroup >= 3)
      out[produced++] = static_cast<unsigned char>((static_cast<unsigned>(v[1]) << 4) |
                                                   static_cast<unsigned>(v[2] >> 2));
    if (inGroup == 4)
      out[produced++] = static_cast<unsigned char>((static_cast<unsigned>(v[2]) << 6) |
                                                   static_cast<unsigned>(v[3]));
  }
  return produced;
}

// The 12 bits of the characters at t[0] and t[1], or a negative value.
int PairValue(const int16_t* pairs, const unsigned char* t) { return pairs[PairIndex(t)]; }

// Bytes from 24 bits of a group of four characters.
void PutGroup(unsigned bits, unsigned char* o) {
  o[0] = static_cast<unsigned char>(bits >> 16);
  o[1] = static_cast<unsigned char>(bits >> 8);
  o[2] = static_cast<unsigned char>(bits);
}

// The common case: every character valid and no lone last character. Decodes the groups
// with one lookup per pair of characters, the checksum in the same pass, and without the
// repair and error paths; false (nothing committed) when a character is invalid.
// Tells in `blanks` whether the characters hold a space, from the pair lookups themselves:
// the sum's serial chain leaves the processor time for it, where a scan of its own did not.
bool DecodeValidGroups(const DataCharacters& d, const signed char* table, const int16_t* pairs, uint16_t& sum,
                       unsigned char* out, int* produced, bool* blanks) {
  const unsigned char* t = d.text;
  uint16_t s = sum;
  int flags = 0;  // negative for an invalid character, PAIR_HAS_BLANK for a space
  unsigned char* o = out;
  int i = 0;
  for (; i + 4 <= d.count; i += 4, o += 3) {
    const int high = PairValue(pairs, t + i), low = PairValue(pairs, t + i + 2);
    flags |= high | low;
    s = SumStep(SumStep(SumStep(SumStep(s, t[i]), t[i + 1]), t[i + 2]), t[i + 3]);
    // The blank flag of `high` lands above the 24 bits that PutGroup takes.
    PutGroup(static_cast<unsigned>(high) << 12 | (static_cast<unsigned>(low) & PAIR_BITS), o);
  }
  const int rest = d.count - i;  // 0, 2 or 3: a short last group, once a line
  if (rest >= 2) {
    const int a = table[t[i]], b = table[t[i + 1]];
    const int c = rest == 3 ? table[t[i + 2]] : 0;
    flags |= a | b | c;
    for (int k = 0; k < rest; ++k) {
      s = SumStep(s, t[i + k]);
      if (t[i + k] == ' ') flags |= PAIR_HAS_BLANK;
    }
    *o++ = static_cast<unsigned char>(static_cast<unsigned>(a) << 2 | static_cast<unsigned>(b) >> 4);
    if (rest == 3) *o++ = static_cast<unsigned char>(static_cast<unsigned>(b) << 4 | static_cast<unsigned>(c) >> 2);
  }
  if (flags < 0) return false;
  sum = s;
  *produced = static_cast<int>(o - out);
  *blanks = (flags & PAIR_HAS_BLANK) != 0;
  return true;
}

// Where the characters of a whole line of `n` bytes end, cut after the last byte's bits or in
// groups of four: the first of the two places that holds a line end or the NUL, or -1. Both
// lie inside the line buffer (n is at most 63).
int WholeLineLength(const unsigned char* text, int n) {
  const int cut = (4 * n + 2) / 3, grouped = (n + 2) / 3 * 4;
  if (IsTerminator(text[cut])) return cut;
  return IsTerminator(text[grouped]) ? grouped : -1;
}

// A whole UU or XX line: its length character, then `count` characters of the alphabet, as
// many as its bytes need or in whole groups of four, then its line end; -1, with nothing
// changed, for any other line.
int DecodeWholeUuOrXxLine(const unsigned char* text, int count, unsigned char* out, PartRecord* part, bool* blanks) {
  const signed char* table = g_decode.table;
  const int n = table[text[0]];
  if (n == DECODE_INVALID || count % 4 == 1 || (count != (4 * n + 2) / 3 && count != (n + 2) / 3 * 4)) return -1;
  uint16_t sum = SumStep(static_cast<uint16_t>(part->calculatedChecksum), text[0]);
  const DataCharacters d{text + 1, count, count};
  int produced = 0;
  if (!DecodeValidGroups(d, table, DecodePairTableFor(g_decode.format), sum, out, &produced, blanks)) return -1;
  part->calculatedChecksum = SumStep(sum, LINE_END_SUM_BYTE);
  part->calculatedSize += count + 2;
  return produced < n ? produced : n;
}

int DecodeUuOrXxLine(char* line, unsigned char* out, PartRecord* part, bool anyway, bool* blanks) {
  const signed char* table = g_decode.table;
  const int16_t* pairs = DecodePairTableFor(g_decode.format);
  const unsigned char* text = reinterpret_cast<const unsigned char*>(line);
  // The common case, a whole line of valid characters, is decoded at the length its length
  // character gives; it is measured only when that fails. Every character decoded is of the
  // alphabet, so no NUL, CR or LF comes before the line end found, as measuring would find.
  if (const int indicated = table[text[0]]; indicated != DECODE_INVALID) {
    const int whole = WholeLineLength(text + 1, indicated);
    const bool ended = whole >= 0 && IsLineEnd(text[1 + whole]);
    const int produced = ended ? DecodeWholeUuOrXxLine(text, whole, out, part, blanks) : -1;
    if (produced >= 0) return produced;
  }
  uint16_t sum = static_cast<uint16_t>(part->calculatedChecksum);
  const unsigned char lengthCharacter = text[0];
  sum = SumStep(sum, lengthCharacter);
  part->calculatedChecksum = sum;
  int n = table[lengthCharacter];
  if (n == DECODE_INVALID) {
    if (!anyway) {
      SetDecodeError(kBadLength);
      return -1;
    }
    n = 0;
  }
  if (lengthCharacter == '\0') return 0;

  DataCharacters d{text + 1, 0, 0};
  int produced = 0;
  *blanks = ContainsBlankIn(line + 1, LINE_ROOM - 1);
  d.count = static_cast<int>(LineTextLengthIn(line + 1, LINE_ROOM - 1));  // the buffer ends in a NUL
  if (d.count > MAX_LINE_CHARACTERS) d.count = MAX_LINE_CHARACTERS;
  const unsigned char terminator = IsTerminator(d.text[d.count]) ? d.text[d.count] : 0;
  const bool lineEnded = terminator != '\0';
  const int m = 3 * d.count / 4;
  d.padded = d.count;
  const bool countValid = n <= m && m <= n + 2;
  if (lineEnded && !countValid && anyway && m < n) d.padded = (4 * n + 2) / 3;  // short line

  const bool plain = d.padded == d.count && d.count % 4 != 1;
  bool measured = false;  // the blanks were told above
  if (!(plain && DecodeValidGroups(d, table, pairs, sum, out, &produced, &measured)))
    produced = DecodeGroups(d, table, anyway, terminator, sum, out);
  part->calculatedChecksum = sum;
  if (produced < 0) return -1;
  if (lineEnded) {
    if (!countValid && !anyway) {
      SetDecodeError(kCountMismatch, n, m);
      return -1;
    }
    part->calculatedChecksum = SumStep(sum, LINE_END_SUM_BYTE);
    part->calculatedSize += d.padded + 2;
  }
  // Bytes a full last group carries beyond the indicated count are filler. A line too long
  // for its count (decoded anyway) also yields only the indicated count.
  return produced < n ? produced : n;
}

// Decodes up to `most` groups of four valid characters; the number decoded, which stops
// before the first group that holds any other character.
int DecodeWholeGroups(const int16_t* pairs, const unsigned char* text, int most, unsigned char* out) {
  int g = 0;
  for (; g < most; ++g, text += 4, out += 3) {
    const int high = PairValue(pairs, text), low = PairValue(pairs, text + 2);
    if ((high | low) < 0) break;
    PutGroup(static_cast<unsigned>(high) << 12 | static_cast<unsigned>(low), out);
  }
  return g;
}

// A whole base64 line in the middle of the data: whole groups of valid characters, without
// padding, then its line end; -1, with nothing changed, for any other line.
int DecodeWholeBase64Line(const unsigned char* text, int count, unsigned char* out) {
  if (count % 4 != 0 || g_decode.groupPosition != 0) return -1;
  if (DecodeWholeGroups(DecodePairTableFor(TYPE_MIME), text, count / 4, out) != count / 4) return -1;
  g_decode.mimeCount += count;
  return count / 4 * 3;
}

int DecodeBase64Line(const char* line, unsigned char* out, bool anyway) {
  const signed char* table = g_decode.table;
  const int16_t* pairs = DecodePairTableFor(TYPE_MIME);
  const unsigned char* text = reinterpret_cast<const unsigned char*>(line);
  if (g_decode.mimeCount == 0) g_decode.groupPosition = 0;
  int position = g_decode.groupPosition;
  unsigned kept = g_decode.groupBits;
  int written = 0;
  int walked = 0;
  // The line's text ends at its first NUL, CR or LF, found on the way rather than measured
  // first: none of them is of the alphabet, so a group that holds one stops the fast loop.
  // The buffer always holds a NUL within its room, and the groups read stay inside it.
  for (;; ++walked) {
    // Whole groups of valid characters, the common case, go four at a time.
    if (position == 0) {
      const int groups = DecodeWholeGroups(pairs, text + walked, (MAX_LINE_CHARACTERS - walked) / 4, out + written);
      walked += 4 * groups;
      written += 3 * groups;
    }
    if (walked >= MAX_LINE_CHARACTERS || IsTerminator(text[walked])) break;
    const unsigned char c = text[walked];
    const int v = table[c];
    if (v != DECODE_INVALID) {
      const unsigned value = static_cast<unsigned>(v);
      switch (position) {
        case 0: kept = (value << 2) & 0xFF; break;
        case 1: out[written++] = static_cast<unsigned char>(value >> 4 | kept); kept = (value << 4) & 0xFF; break;
        case 2: out[written++] = static_cast<unsigned char>(value >> 2 | kept); kept = (value << 6) & 0xFF; break;
        default: out[written++] = static_cast<unsigned char>(kept | value); break;
      }
      position = (position + 1) % 4;
    } else if (c == BASE64_PAD && position != 0) {
      position = (position + 1) % 4;
    } else if (!(c == ' ' || c == '\t' || anyway)) {
      g_decode.groupPosition = position;
      g_decode.groupBits = static_cast<unsigned char>(kept);
      return FailBadByte(c);
    }
  }
  g_decode.groupPosition = position;
  g_decode.groupBits = static_cast<unsigned char>(kept);
  g_decode.mimeCount += walked;
  return written;
}

}  // namespace

int DecodeWholeLine(const unsigned char* text, int characters, unsigned char* out, PartRecord* part, bool* blanks) {
  if (!g_decode.table) return -1;
  switch (g_decode.format) {
    case TYPE_UU:
    case TYPE_XX: return characters >= 1 ? DecodeWholeUuOrXxLine(text, characters - 1, out, part, blanks) : -1;
    case TYPE_MIME: return DecodeWholeBase64Line(text, characters, out);
    default: return -1;
  }
}

int DecodeEncodedLine(char* line, unsigned char* out, PartRecord* part, bool anyway, bool* blanks) {
  bool ignored = false;
  if (!blanks) blanks = &ignored;
  *blanks = false;
  if (!g_decode.table) return -1;
  switch (g_decode.format) {
    case TYPE_UU:
    case TYPE_XX: return DecodeUuOrXxLine(line, out, part, anyway, blanks);
    case TYPE_MIME: return DecodeBase64Line(line, out, anyway);
    default: return -1;
  }
}
