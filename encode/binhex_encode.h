// The BinHex 4.0 stream encoder.
#pragma once
#include <cstdint>

#include "core/platform.h"

enum { BINHEX_NAME_ROOM = 64, BINHEX_MAX_NAME = 63 };

struct BinHexHeader {
  char name[BINHEX_NAME_ROOM];
  char type[5];
  char creator[5];
  uint16_t flags;
  uint32_t dataLength;
  uint32_t resourceLength;
};

// One step of the CRC-16 of polynomial 0x1021 (bit by bit, data bit shifted in).
uint16_t UpdateBinHexCrc(unsigned char byte, uint16_t crc);

// The encoder's CRC accumulator (module state).
extern uint16_t g_binHexCrc;

// Stores the byte (and a 0x00 after a 0x90), updates the CRC; returns the next position.
unsigned char* PutBinHexByte(unsigned char byte, unsigned char* dest);
unsigned char* PutBinHex16(uint16_t value, unsigned char* dest);
unsigned char* PutBinHex32(uint32_t value, unsigned char* dest);
// PutBinHexByte for every byte; returns the number of bytes stored (at most 2 x count).
int EscapeBinHexBlock(const unsigned char* input, int count, unsigned char* dest);

// Fills the header record for an input of this base name and size. A name longer than 63
// characters is shortened to its first 63 (decision: the field holds 63).
void FillBinHexHeader(BinHexHeader* header, const char* baseName, DWORD size);
// Builds and encodes the header bytes; starts the column at 1 (after the opening colon).
void EncodeBinHexHeader(const BinHexHeader& header);
// Converts bytes to characters with line ends, through AppendOutput; a negative count
// flushes the pending group. Returns the number of characters written.
int EncodeBinHexChars(const unsigned char* bytes, int count);
// Writes the data fork CRC and the empty resource fork's CRC, and flushes.
void FinishBinHexStream();
