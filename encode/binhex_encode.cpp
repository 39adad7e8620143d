#include "encode/binhex_encode.h"

#include <cstdio>
#include <cstring>

#include "core/name_charsets.h"
#include "encode/alphabets.h"
#include "encode/encode_driver.h"

uint16_t g_binHexCrc = 0;

namespace {
int phase = 0;          // 0, 1 or 2 within the current group of three bytes
unsigned carry = 0;     // the 6-bit value under construction when the phase is not 0
int column = 0;         // characters on the current output line

// Appends characters in pieces, so that a block costs one AppendOutput or two.
class CharSink {
 public:
  void Put(char c) {
    if (n_ + 3 > sizeof text_) Flush();
    text_[n_++] = c;
    ++written_;
    if (++column > 63) {
      column = 0;
      for (int e = 0; e < g_encoder.eolLength; ++e) text_[n_++] = g_encoder.eol[e];
    }
  }
  void Flush() {
    if (n_) AppendOutput(text_, n_);
    n_ = 0;
  }
  int written() const { return written_; }

 private:
  char text_[256];
  size_t n_ = 0;
  int written_ = 0;
};

void EncodeByte(unsigned b, CharSink& sink) {
  const char* a = BinHexAlphabet;
  switch (phase) {
    case 0:
      sink.Put(a[b >> 2]);
      carry = (b & 3u) << 4;
      phase = 1;
      break;
    case 1:
      sink.Put(a[carry | (b >> 4)]);
      carry = (b & 15u) << 2;
      phase = 2;
      break;
    default:
      sink.Put(a[carry | (b >> 6)]);
      sink.Put(a[b & 63u]);
      carry = 0;
      phase = 0;
      break;
  }
}
}  // namespace

uint16_t UpdateBinHexCrc(unsigned char byte, uint16_t crc) {
  unsigned c = crc;
  for (int bit = 7; bit >= 0; --bit) {
    const unsigned top = c & 0x8000u;
    c = ((c << 1) | ((byte >> bit) & 1u)) & 0xFFFFu;
    if (top) c ^= 0x1021u;
  }
  return static_cast<uint16_t>(c);
}

unsigned char* PutBinHexByte(unsigned char byte, unsigned char* dest) {
  *dest++ = byte;
  g_binHexCrc = UpdateBinHexCrc(byte, g_binHexCrc);
  if (byte == 0x90) *dest++ = 0x00;
  return dest;
}

unsigned char* PutBinHex16(uint16_t value, unsigned char* dest) {
  dest = PutBinHexByte(static_cast<unsigned char>(value >> 8), dest);
  return PutBinHexByte(static_cast<unsigned char>(value & 0xFF), dest);
}

unsigned char* PutBinHex32(uint32_t value, unsigned char* dest) {
  dest = PutBinHex16(static_cast<uint16_t>(value >> 16), dest);
  return PutBinHex16(static_cast<uint16_t>(value & 0xFFFF), dest);
}

int EscapeBinHexBlock(const unsigned char* input, int count, unsigned char* dest) {
  unsigned char* p = dest;
  for (int i = 0; i < count; ++i) p = PutBinHexByte(input[i], p);
  return static_cast<int>(p - dest);
}

void FillBinHexHeader(BinHexHeader* header, const char* baseName, DWORD size) {
  std::memset(header, 0, sizeof *header);
  // The Mac name and type are Mac Roman text.
  char macName[MAX_PATH];
  NameToMacRoman(baseName, macName, sizeof macName);
  std::snprintf(header->name, sizeof header->name, "%.*s", static_cast<int>(BINHEX_MAX_NAME), macName);
  const char* dot = std::strrchr(macName, '.');
  if (dot && dot[1] != '\0')
    std::strncpy(header->type, dot + 1, 4);  // NUL-padded when shorter
  else
    std::memcpy(header->type, "Data", 4);
  std::memcpy(header->creator, "ZNTR", 4);
  header->dataLength = size;
}

namespace {
// A CRC is finished by feeding two zero bytes.
uint16_t FinishCrc(uint16_t crc) { return UpdateBinHexCrc(0, UpdateBinHexCrc(0, crc)); }
}  // namespace

void EncodeBinHexHeader(const BinHexHeader& h) {
  unsigned char buffer[2 * (1 + BINHEX_MAX_NAME + 1 + 4 + 4 + 2 + 4 + 4 + 2)];
  unsigned char* p = buffer;
  g_binHexCrc = 0;
  const size_t nameLength = std::strlen(h.name);
  p = PutBinHexByte(static_cast<unsigned char>(nameLength), p);
  for (size_t i = 0; i < nameLength; ++i) p = PutBinHexByte(static_cast<unsigned char>(h.name[i]), p);
  p = PutBinHexByte(0, p);
  for (int i = 0; i < 4; ++i) p = PutBinHexByte(static_cast<unsigned char>(h.type[i]), p);
  for (int i = 0; i < 4; ++i) p = PutBinHexByte(static_cast<unsigned char>(h.creator[i]), p);
  p = PutBinHex16(h.flags, p);
  p = PutBinHex32(h.dataLength, p);
  p = PutBinHex32(h.resourceLength, p);
  const uint16_t crc = FinishCrc(g_binHexCrc);
  p = PutBinHex16(crc, p);
  column = 1;
  phase = 0;
  carry = 0;
  EncodeBinHexChars(buffer, static_cast<int>(p - buffer));
  g_binHexCrc = 0;
}

int EncodeBinHexChars(const unsigned char* bytes, int count) {
  CharSink sink;
  if (count < 0) {
    if (phase != 0) {
      const int fill = 3 - phase;
      for (int i = 0; i < fill; ++i) EncodeByte(0, sink);
    }
  } else {
    for (int i = 0; i < count; ++i) EncodeByte(bytes[i], sink);
  }
  sink.Flush();
  return sink.written();
}

void FinishBinHexStream() {
  unsigned char buffer[8];
  unsigned char* p = buffer;
  const uint16_t dataCrc = FinishCrc(g_binHexCrc);
  p = PutBinHex16(dataCrc, p);
  g_binHexCrc = 0;
  const uint16_t resourceCrc = FinishCrc(g_binHexCrc);
  p = PutBinHex16(resourceCrc, p);
  EncodeBinHexChars(buffer, static_cast<int>(p - buffer));
  EncodeBinHexChars(nullptr, -1);
}
