#include "decode/decode_tables.h"

#include <cstring>

#include "core/job_state.h"
#include "decode/decode_context.h"
#include "encode/alphabets.h"

namespace {

enum { ALPHABET_SIZE = 64, BYTE_VALUES = 256, PAIR_INDEXES = BYTE_VALUES * BYTE_VALUES };

struct DecodeTables {
  signed char byFormat[TYPE_BINHEX + 1][BYTE_VALUES];

  DecodeTables() {
    std::memset(byFormat, DECODE_INVALID, sizeof byFormat);
    Fill(TYPE_UU, UuAlphabet);
    // Some encoders write a space for the value 0 instead of the grave accent.
    byFormat[TYPE_UU][static_cast<unsigned char>(' ')] = 0;
    Fill(TYPE_XX, XxAlphabet);
    Fill(TYPE_MIME, Base64Alphabet);
    Fill(TYPE_BINHEX, BinHexAlphabet);
  }

  void Fill(int format, const char* alphabet) {
    for (int value = 0; value < ALPHABET_SIZE; ++value)
      byFormat[format][static_cast<unsigned char>(alphabet[value])] = static_cast<signed char>(value);
  }
};

const DecodeTables& Tables() {
  static const DecodeTables tables;
  return tables;
}

}  // namespace

const signed char* DecodeTableFor(int format) {
  if (format < TYPE_UU || format > TYPE_BINHEX) return nullptr;
  return Tables().byFormat[format];
}

void SelectDecodeTable(int format) { g_decode.table = DecodeTableFor(format); }

const int16_t* DecodePairTableFor(int format) {
  if (format < TYPE_UU || format > TYPE_MIME) return nullptr;
  static int16_t pairs[TYPE_MIME + 1][PAIR_INDEXES];
  static bool made[TYPE_MIME + 1];
  if (!made[format]) {
    const signed char* values = Tables().byFormat[format];
    for (int index = 0; index < PAIR_INDEXES; ++index) {
      const uint16_t word = static_cast<uint16_t>(index);
      unsigned char pair[sizeof word];
      std::memcpy(pair, &word, sizeof word);
      const int c0 = pair[0], c1 = pair[1], high = values[c0], low = values[c1];
      const int blank = c0 == ' ' || c1 == ' ' ? PAIR_HAS_BLANK : 0;
      pairs[format][index] = static_cast<int16_t>(high < 0 || low < 0 ? DECODE_INVALID : (high << 6 | low | blank));
    }
    made[format] = true;
  }
  return pairs[format];
}
