// The BSD "sum -r" checksum.
#pragma once
#include <cstddef>
#include <cstdint>

// One step: rotate right by one bit, then add the byte (mod 65536).
inline uint16_t SumStep(uint16_t s, unsigned char b) {
  s = static_cast<uint16_t>((s >> 1) | ((s & 1u) << 15));
  return static_cast<uint16_t>(s + b);
}

inline uint16_t SumBytes(uint16_t s, const void* data, size_t count) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < count; ++i) s = SumStep(s, p[i]);
  return s;
}
