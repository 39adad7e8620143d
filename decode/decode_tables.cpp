#include "decode/decode_tables.h"

#include <cstring>

#include "core/job_state.h"
#include "decode/decode_context.h"
#include "encode/alphabets.h"

namespace {

enum { ALPHABET_SIZE = 64, BYTE_VALUES = 256 };

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
