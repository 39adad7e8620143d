// The BinHex 4.0 stream encoder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/settings.h"
#include "encode/alphabets.h"
#include "encode/binhex_encode.h"
#include "encode/encode_driver.h"

namespace {

uint16_t Crc(const std::string& bytes) {
  uint16_t c = 0;
  for (unsigned char b : bytes) c = UpdateBinHexCrc(b, c);
  return UpdateBinHexCrc(0, UpdateBinHexCrc(0, c));
}

class BinHexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    ResetEncoderState(ENCODE_BINHEX, 3);
    EncodeOutputReset();
  }
  void TearDown() override { EncodeOutputReset(); }
};

TEST_F(BinHexTest, CrcCheckValue) {
  EXPECT_EQ(Crc("123456789"), 0x31C3);
  EXPECT_EQ(Crc(""), 0x0000);
}

TEST_F(BinHexTest, HeaderRecordTypes) {
  BinHexHeader h;
  FillBinHexHeader(&h, "REPORT.TXT", 10);
  EXPECT_EQ(std::string(h.type, 4), std::string("TXT\0", 4));
  EXPECT_STREQ(h.creator, "ZNTR");
  EXPECT_EQ(h.dataLength, 10u);
  EXPECT_EQ(h.resourceLength, 0u);
  FillBinHexHeader(&h, "README", 0);
  EXPECT_EQ(std::string(h.type, 4), "Data");
  FillBinHexHeader(&h, "ARCHIVE.TAR.GZ", 0);
  EXPECT_EQ(std::string(h.type, 4), std::string("GZ\0\0", 4));
  FillBinHexHeader(&h, "dot.", 0);
  EXPECT_EQ(std::string(h.type, 4), "Data");
}

TEST_F(BinHexTest, LongNameIsShortenedTo63) {
  // The name field holds 63 characters.
  std::string name(100, 'n');
  BinHexHeader h;
  FillBinHexHeader(&h, name.c_str(), 0);
  EXPECT_EQ(std::strlen(h.name), 63u);
}

TEST_F(BinHexTest, EscapesEvery0x90AndCountsItOnceInTheCrc) {
  unsigned char out[8];
  const unsigned char in[3] = {0x90, 0x41, 0x90};
  g_binHexCrc = 0;
  EXPECT_EQ(EscapeBinHexBlock(in, 3, out), 5);
  const unsigned char expect[5] = {0x90, 0x00, 0x41, 0x90, 0x00};
  EXPECT_EQ(std::memcmp(out, expect, 5), 0);
  uint16_t c = 0;
  for (unsigned char b : in) c = UpdateBinHexCrc(b, c);
  EXPECT_EQ(g_binHexCrc, c);
  unsigned char two[4];
  g_binHexCrc = 0;
  EXPECT_EQ(PutBinHex16(0x9090, two) - two, 4);
}

TEST_F(BinHexTest, WholeStreamOfAbcAndLineLayout) {
  // Expected text computed independently (a separate encoder, from the format's tables).
  BinHexHeader h;
  FillBinHexHeader(&h, "abc.txt", 3);
  EncodeBinHexHeader(h);
  unsigned char esc[16];
  const unsigned char abc[3] = {'a', 'b', 'c'};
  EncodeBinHexChars(esc, EscapeBinHexBlock(abc, 3, esc));
  FinishBinHexStream();
  EXPECT_EQ(std::string(EncodeOutputText()), "\"f&LBbjdH(3!G(Kd!&T19&)!!!!!!!-!!!!!SLKKBQ1GeJ!!");
}

TEST_F(BinHexTest, BlocksOfAnySizeGiveTheSameCharacters) {
  std::string data;
  for (int i = 0; i < 1000; ++i) data += static_cast<char>((i * 37) ^ (i >> 3));
  auto run = [&](size_t step) {
    EncodeOutputReset();
    ResetEncoderState(ENCODE_BINHEX, 3);
    BinHexHeader h;
    FillBinHexHeader(&h, "x.bin", static_cast<DWORD>(data.size()));
    EncodeBinHexHeader(h);
    unsigned char esc[2 * 64];
    for (size_t i = 0; i < data.size(); i += step) {
      size_t n = std::min(step, data.size() - i);
      EncodeBinHexChars(esc, EscapeBinHexBlock(reinterpret_cast<const unsigned char*>(data.data() + i),
                                               static_cast<int>(n), esc));
    }
    FinishBinHexStream();
    return std::string(EncodeOutputText());
  };
  const std::string whole = run(1000 > 64 ? 64 : 1000);
  EXPECT_EQ(run(1), whole);
  EXPECT_EQ(run(2), whole);
  EXPECT_EQ(run(45), whole);
  // First line: 63 characters after the colon written by the header; then 64 a line.
  size_t first = whole.find("\r\n");
  EXPECT_EQ(first, 63u);
  size_t second = whole.find("\r\n", first + 2);
  EXPECT_EQ(second - (first + 2), 64u);
}

}  // namespace
