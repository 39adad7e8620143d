#include "encode/crc32.h"

#include "core/byte_words.h"

namespace {

enum { BYTE_VALUES = 256, BITS_PER_BYTE = 8, SLICES = 8 };
const uint32_t kReflectedPolynomial = 0xEDB88320u;

// entry[0] is the byte-at-a-time table. entry[k][n] is the CRC of byte n followed by k zero
// bytes, so that eight bytes take eight independent lookups rather than a chain of eight:
// byte at a time, each lookup waits for the one before, and a yEnc decode spent more time
// in the CRC than in decoding.
struct Crc32Tables {
  uint32_t entry[SLICES][BYTE_VALUES];
  Crc32Tables() {
    for (uint32_t n = 0; n < BYTE_VALUES; ++n) {
      uint32_t c = n;
      for (int k = 0; k < BITS_PER_BYTE; ++k) c = (c & 1u) ? kReflectedPolynomial ^ (c >> 1) : c >> 1;
      entry[0][n] = c;
    }
    for (int k = 1; k < SLICES; ++k)
      for (uint32_t n = 0; n < BYTE_VALUES; ++n)
        entry[k][n] = (entry[k - 1][n] >> 8) ^ entry[0][entry[k - 1][n] & 0xFFu];
  }
};

const Crc32Tables kTables;

uint32_t Lookup(int slice, uint32_t word, int byte) { return kTables.entry[slice][(word >> (8 * byte)) & 0xFFu]; }

}  // namespace

uint32_t Crc32(uint32_t crc, const void* data, size_t count) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  uint32_t c = ~crc;
  // The first byte of the eight is the word's lowest (on the little-endian processors that
  // Windows runs on): it is the furthest from the end, so it takes the last table.
  for (; count >= SLICES; p += SLICES, count -= SLICES) {
    const uint64_t word = LoadWord(p);
    const uint32_t low = c ^ static_cast<uint32_t>(word), high = static_cast<uint32_t>(word >> 32);
    c = Lookup(7, low, 0) ^ Lookup(6, low, 1) ^ Lookup(5, low, 2) ^ Lookup(4, low, 3) ^ Lookup(3, high, 0) ^
        Lookup(2, high, 1) ^ Lookup(1, high, 2) ^ Lookup(0, high, 3);
  }
  for (; count > 0; ++p, --count) c = kTables.entry[0][(c ^ *p) & 0xFFu] ^ (c >> 8);
  return ~c;
}
