#include "encode/alphabets.h"

#include <cstdint>
#include <cstring>

#include "core/byte_words.h"
#include "core/settings.h"
#include "encode/checksum.h"

EncoderState g_encoder;

const char* const MethodNames[5] = {"Auto", "UU", "XX", "MIME", "BinHex"};

const char UuAlphabet[66] =
    "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_ ";
const char XxAlphabet[65] = "+-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
const char Base64Alphabet[65] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char BinHexAlphabet[65] = "!\"#$%&'()*+,-012345689@ABCDEFGHIJKLMNPQRSTUVXYZ[`abcdefhijklmpqr";

const char* g_encodeAlphabet = UuAlphabet;

void SelectEncodeAlphabet(int storedMethod) {
  switch (storedMethod) {
    case METHOD_UU: g_encodeAlphabet = UuAlphabet; break;
    case METHOD_XX: g_encodeAlphabet = XxAlphabet; break;
    case METHOD_MIME: g_encodeAlphabet = Base64Alphabet; break;
    case METHOD_BINHEX: g_encodeAlphabet = BinHexAlphabet; break;
    default: break;
  }
}

const char* MethodName(int method) {
  return (method >= 0 && method <= 4) ? MethodNames[method] : "";
}

void ResetEncoderState(int method, int style) {
  std::memset(&g_encoder, 0, sizeof g_encoder);
  g_encoder.method = method;
  g_encoder.style = style;
  // A hand-edited encodecrlf other than 175/176 would give
  // an empty line end and unreadable output; fall back to CR LF. The shell archive is a
  // script for /bin/sh and only works with LF.
  g_encoder.eol = EndOfLineString();
  if (g_encoder.eol[0] == '\0') g_encoder.eol = "\r\n";
  if (style == 10) g_encoder.eol = "\n";
  g_encoder.eolLength = static_cast<int>(std::strlen(g_encoder.eol));
  g_encoder.sumsWanted = true;
  g_encoder.firstInput = true;
  g_encoder.lastInput = true;
}

namespace {

enum { PAIR_VALUES = 4096 };  // 12 bits: two characters of the alphabet

// The two characters of every 12-bit value in the current alphabet, made from it on first
// use, so a group of three bytes is encoded with two lookups.
struct PairTable {
  const char* alphabet = nullptr;
  char pairs[PAIR_VALUES][2];
};
PairTable g_pairTable;

const char (*PairsFor(const char* alphabet))[2] {
  if (g_pairTable.alphabet != alphabet) {
    for (int v = 0; v < PAIR_VALUES; ++v) {
      g_pairTable.pairs[v][0] = alphabet[v >> 6];
      g_pairTable.pairs[v][1] = alphabet[v & 63];
    }
    g_pairTable.alphabet = alphabet;
  }
  return g_pairTable.pairs;
}

// Encodes the whole groups of three bytes and, with kSums, feeds both checksums in the same
// pass (the input bytes to the whole-input sum, the characters to the section sum). Returns
// the end of the characters written.
template <bool kSums>
char* EncodeGroups(const unsigned char* input, int groups, const char (*pairs)[2], char* out) {
  uint16_t whole = g_encoder.wholeSum, section = g_encoder.sectionSum;
  int g = 0;
  if (!kSums) {
    // Two groups from one load of eight bytes, while the two bytes after them are the line's.
    for (; 3 * g + 8 <= 3 * groups; g += 2, input += 6, out += 8) {
      const uint64_t w = BigEndianWord(input);
      std::memcpy(out, pairs[w >> 52], 2);
      std::memcpy(out + 2, pairs[(w >> 40) & 0xFFFu], 2);
      std::memcpy(out + 4, pairs[(w >> 28) & 0xFFFu], 2);
      std::memcpy(out + 6, pairs[(w >> 16) & 0xFFFu], 2);
    }
  }
  for (; g < groups; ++g, input += 3, out += 4) {
    const uint32_t v = static_cast<uint32_t>(input[0]) << 16 | static_cast<uint32_t>(input[1]) << 8 | input[2];
    std::memcpy(out, pairs[v >> 12], 2);
    std::memcpy(out + 2, pairs[v & 0xFFFu], 2);
    if (kSums) {
      whole = SumStep(SumStep(SumStep(whole, input[0]), input[1]), input[2]);
      for (int k = 0; k < 4; ++k) section = SumStep(section, static_cast<unsigned char>(out[k]));
    }
  }
  if (kSums) g_encoder.wholeSum = whole, g_encoder.sectionSum = section;
  return out;
}

}  // namespace

int EncodeLine(const unsigned char* input, int count, char* output) {
  const int method = g_encoder.method;
  if (method < ENCODE_UU || method > ENCODE_MIME || count < 0 || count > ENCODE_BLOCK) return -1;
  const char* a = g_encodeAlphabet;
  const bool sums = g_encoder.sumsWanted;
  char* out = output;
  const bool lengthChar = method != ENCODE_MIME;
  if (lengthChar) {
    *out++ = a[count];
    if (sums) g_encoder.sectionSum = SumStep(g_encoder.sectionSum, static_cast<unsigned char>(a[count]));
  }
  const char (*pairs)[2] = PairsFor(a);
  const int groups = count / 3;
  out = sums ? EncodeGroups<true>(input, groups, pairs, out) : EncodeGroups<false>(input, groups, pairs, out);
  // A last group of one or two bytes, its missing bits taken as 0.
  const unsigned char* last = input + 3 * groups;
  const int rest = count - 3 * groups;
  char* tail = out;
  if (rest == 1) {
    std::memcpy(out, pairs[last[0] << 4], 2);
    out += 2;
  } else if (rest == 2) {
    const unsigned v = static_cast<unsigned>(last[0]) << 8 | last[1];
    std::memcpy(out, pairs[v >> 4], 2);
    out[2] = a[(v & 15u) << 2];
    out += 3;
  }
  const int pads = lengthChar || rest == 0 ? 0 : 3 - rest;
  const int characters = static_cast<int>(out - output);  // pads not yet written
  if (sums) {
    g_encoder.wholeSum = SumBytes(g_encoder.wholeSum, last, static_cast<size_t>(rest));
    const uint16_t s = SumBytes(g_encoder.sectionSum, tail, static_cast<size_t>(out - tail));
    g_encoder.sectionSum = SumStep(s, 0x0A);
    g_encoder.sectionCount += static_cast<uint32_t>(characters + pads + 1);
  }
  for (int p = 0; p < pads; ++p) *out++ = '=';
  for (int e = 0; e < g_encoder.eolLength; ++e) *out++ = g_encoder.eol[e];
  *out = '\0';
  return static_cast<int>(out - output);
}
