// The CRC-32 of zlib and PKZIP (reflected polynomial 0xEDB88320), which yEnc postings
// state for each part and for the whole file.
#pragma once
#include <cstddef>
#include <cstdint>

// Continues `crc` (0 for none yet) over `count` bytes; the pre- and post-inversion are
// inside, so Crc32(Crc32(0, a), b) is the CRC of a followed by b.
uint32_t Crc32(uint32_t crc, const void* data, size_t count);
