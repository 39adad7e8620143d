// The decode tables: for each format the 6-bit value of every byte of its alphabet and
// DECODE_INVALID for every other byte. They are built from the encoder's alphabets, so one
// alphabet table serves encoder, decoder and tests.
#pragma once
#include <cstdint>
#include <cstring>

enum {
  DECODE_INVALID = -1,
  // Set beside the 12 bits of a pair that holds a blank (a UU value 0 written as a space),
  // so that a line's decoder learns whether its data uses blanks from the lookups it makes.
  PAIR_HAS_BLANK = 1 << 12,
  PAIR_BITS = PAIR_HAS_BLANK - 1,
};

// The table of a format (1 UU, 2 XX, 3 base64, 4 BinHex); null for any other format.
const signed char* DecodeTableFor(int format);
// Makes the table of `format` the run's current table (none for Auto or an unknown value).
void SelectDecodeTable(int format);
// Where the pair table holds the two characters at `t`: the two bytes read as one 16-bit
// word, in the machine's byte order, which spares the lookups of every group two steps.
inline unsigned PairIndex(const unsigned char* t) {
  uint16_t word;
  std::memcpy(&word, t, sizeof word);
  return word;
}

// The pair table of a format (1 UU, 2 XX, 3 base64): for two characters at their PairIndex
// the 12 bits they carry (with PAIR_HAS_BLANK when either is a space), or a
// negative value when either is not of the alphabet; made from the byte table on first use.
// Null for any other format.
const int16_t* DecodePairTableFor(int format);
