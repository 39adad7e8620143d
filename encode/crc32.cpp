#include "encode/crc32.h"

namespace {

enum { BYTE_VALUES = 256, BITS_PER_BYTE = 8 };
const uint32_t kReflectedPolynomial = 0xEDB88320u;

struct Crc32Table {
  uint32_t entry[BYTE_VALUES];
  Crc32Table() {
    for (uint32_t n = 0; n < BYTE_VALUES; ++n) {
      uint32_t c = n;
      for (int k = 0; k < BITS_PER_BYTE; ++k) c = (c & 1u) ? kReflectedPolynomial ^ (c >> 1) : c >> 1;
      entry[n] = c;
    }
  }
};

const Crc32Table kTable;

}  // namespace

uint32_t Crc32(uint32_t crc, const void* data, size_t count) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  uint32_t c = ~crc;
  for (size_t i = 0; i < count; ++i) c = kTable.entry[(c ^ p[i]) & 0xFFu] ^ (c >> 8);
  return ~c;
}
