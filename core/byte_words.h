// Scans eight bytes at a time: the per-line scans run on every line, and the C library's
// byte searches are byte loops under Wine.
#pragma once
#include <cstdint>
#include <cstring>
#if defined(_MSC_VER) && !defined(__clang__)
#include <cstdlib>
#endif

// The byte `c` in each of a word's eight places.
inline uint64_t EachByte(unsigned char c) { return 0x0101010101010101ULL * c; }

// The eight bytes at `p`, whatever their alignment.
inline uint64_t LoadWord(const void* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// The eight bytes at `p` read as a big-endian number, the first byte in the top bits (on the
// little-endian processors that Windows runs on).
inline uint64_t BigEndianWord(const void* p) {
  const uint64_t w = LoadWord(p);
#if defined(_MSC_VER) && !defined(__clang__)
  return _byteswap_uint64(w);
#else
  return __builtin_bswap64(w);
#endif
}

// Whether any of the word's bytes is zero (word ^ EachByte(c) tests for the byte c).
inline bool HasZeroByte(uint64_t word) {
  return ((word - EachByte(1)) & ~word & EachByte(0x80)) != 0;
}

