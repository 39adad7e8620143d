// The decode tables: for each format the 6-bit value of every byte of its alphabet and
// DECODE_INVALID for every other byte. They are built from the encoder's alphabets, so one
// alphabet table serves encoder, decoder and tests.
#pragma once

enum { DECODE_INVALID = -1 };

// The table of a format (1 UU, 2 XX, 3 base64, 4 BinHex); null for any other format.
const signed char* DecodeTableFor(int format);
// Makes the table of `format` the run's current table (none for Auto or an unknown value).
void SelectDecodeTable(int format);
