// The decode tables: for each format the 6-bit value of every byte of its alphabet and
// DECODE_INVALID for every other byte. They are built from the encoder's alphabets, so one
// alphabet table serves encoder, decoder and tests.
#pragma once
#include <cstdint>

enum { DECODE_INVALID = -1 };

// The table of a format (1 UU, 2 XX, 3 base64, 4 BinHex); null for any other format.
const signed char* DecodeTableFor(int format);
// Makes the table of `format` the run's current table (none for Auto or an unknown value).
void SelectDecodeTable(int format);
// The pair table of a format (1 UU, 2 XX, 3 base64): for two characters c0, c1 at index
// c0 << 8 | c1 the 12 bits they carry, or a negative value when either is not of the
// alphabet; made from the byte table on first use. Null for any other format.
const int16_t* DecodePairTableFor(int format);
