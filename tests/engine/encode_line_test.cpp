// Alphabets and the line encoder; the sum -r checksum.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/settings.h"
#include "encode/alphabets.h"
#include "encode/checksum.h"

namespace {

class EncodeLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSettings(); }
  std::string Line(int method, const std::string& in, bool sums = true) {
    ResetEncoderState(method, 3);
    g_encoder.sumsWanted = sums;  // the encoder takes another path without the checksums
    SelectEncodeAlphabet(METHOD_UU + method - 1);
    char out[ENCODED_LINE_ROOM + 8];
    std::memset(out, 'Z', sizeof out);
    const std::vector<unsigned char> bytes(in.begin(), in.end());  // exactly sized: no read beyond
    int n = EncodeLine(bytes.data(), static_cast<int>(bytes.size()), out);
    EXPECT_EQ(n, static_cast<int>(std::strlen(out)));
    return std::string(out, static_cast<size_t>(n));
  }
};

TEST_F(EncodeLineTest, AlphabetsAreThePublishedOnes) {
  EXPECT_EQ(std::string(UuAlphabet).size(), 65u);
  EXPECT_EQ(UuAlphabet[0], '`');
  for (int v = 1; v < 64; ++v) EXPECT_EQ(UuAlphabet[v], 0x20 + v);
  EXPECT_EQ(UuAlphabet[64], ' ');
  EXPECT_STREQ(XxAlphabet, "+-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  EXPECT_STREQ(Base64Alphabet, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
  EXPECT_EQ(std::string(BinHexAlphabet).size(), 64u);
  for (char c : std::string("7OWgno")) EXPECT_EQ(std::strchr(BinHexAlphabet, c), nullptr) << c;
  EXPECT_EQ(BinHexAlphabet[0], '!');
  EXPECT_EQ(BinHexAlphabet[63], 'r');
  EXPECT_STREQ(MethodName(0), "Auto");
  EXPECT_STREQ(MethodName(4), "BinHex");
}

TEST_F(EncodeLineTest, SelectKeepsAlphabetForUnknownValue) {
  SelectEncodeAlphabet(METHOD_XX);
  EXPECT_EQ(g_encodeAlphabet, XxAlphabet);
  SelectEncodeAlphabet(181);
  EXPECT_EQ(g_encodeAlphabet, XxAlphabet);
  SelectEncodeAlphabet(186);
  EXPECT_EQ(g_encodeAlphabet, XxAlphabet);
  SelectEncodeAlphabet(METHOD_MIME);
  EXPECT_EQ(g_encodeAlphabet, Base64Alphabet);
}

TEST_F(EncodeLineTest, EmptyShortAndWholeLinesOfEachMethod) {
  EXPECT_EQ(Line(ENCODE_UU, ""), "`\r\n");
  EXPECT_EQ(Line(ENCODE_XX, ""), "+\r\n");
  EXPECT_EQ(Line(ENCODE_MIME, ""), "\r\n");
  EXPECT_EQ(Line(ENCODE_UU, std::string(1, '\0')), "!``\r\n");
  EXPECT_EQ(Line(ENCODE_MIME, std::string(1, '\0')), "AA==\r\n");
  EXPECT_EQ(Line(ENCODE_UU, "ab"), "\"86(\r\n");
  EXPECT_EQ(Line(ENCODE_MIME, "ab"), "YWI=\r\n");
  EXPECT_EQ(Line(ENCODE_UU, "abc"), "#86)C\r\n");
  EXPECT_EQ(Line(ENCODE_XX, "abc"), "1MK7X\r\n");
  std::string full(45, 'x');
  EXPECT_EQ(Line(ENCODE_UU, full).size(), 61u + 2);
  EXPECT_EQ(Line(ENCODE_UU, full)[0], 'M');
  EXPECT_EQ(Line(ENCODE_XX, full).size(), 61u + 2);
  EXPECT_EQ(Line(ENCODE_XX, full)[0], 'h');
  EXPECT_EQ(Line(ENCODE_MIME, full).size(), 60u + 2);
  // Whole lines, whose groups go two at a time without the checksums, with an odd group or
  // a short one at the end.
  const std::string text = "Groups of three bytes, two at a time: 45 long";
  for (const bool sums : {true, false}) {
    EXPECT_EQ(Line(ENCODE_MIME, text, sums), "R3JvdXBzIG9mIHRocmVlIGJ5dGVzLCB0d28gYXQgYSB0aW1lOiA0NSBsb25n\r\n");
    EXPECT_EQ(Line(ENCODE_MIME, text.substr(0, 43), sums), "R3JvdXBzIG9mIHRocmVlIGJ5dGVzLCB0d28gYXQgYSB0aW1lOiA0NSBsbw==\r\n");
  }
}

TEST_F(EncodeLineTest, BinHexAndBadCountsWriteNothing) {
  ResetEncoderState(ENCODE_BINHEX, 3);
  char out[ENCODED_LINE_ROOM] = "keep";
  EXPECT_EQ(EncodeLine(reinterpret_cast<const unsigned char*>("abc"), 3, out), -1);
  EXPECT_STREQ(out, "keep");
  ResetEncoderState(ENCODE_UU, 3);
  unsigned char big[46] = {0};
  EXPECT_EQ(EncodeLine(big, 46, out), -1);
}

TEST_F(EncodeLineTest, LfLinesCountTheSameAsCrLf) {
  g_settings.encodecrlf = EOL_LF;
  std::string lf = Line(ENCODE_UU, "hello");
  uint32_t countLf = g_encoder.sectionCount;
  uint16_t sumLf = g_encoder.sectionSum;
  EXPECT_EQ(lf.back(), '\n');
  EXPECT_NE(lf[lf.size() - 2], '\r');
  g_settings.encodecrlf = EOL_CRLF;
  Line(ENCODE_UU, "hello");
  EXPECT_EQ(g_encoder.sectionCount, countLf);
  EXPECT_EQ(g_encoder.sectionSum, sumLf);
  EXPECT_EQ(countLf, 1u + 7 + 1);  // length character, 4 + 3 characters, LF
}

TEST_F(EncodeLineTest, UnknownLineEndFallsBackToCrLf) {
  // A hand-edited encodecrlf must not give an empty line end.
  g_settings.encodecrlf = 999;
  EXPECT_EQ(Line(ENCODE_UU, "abc"), "#86)C\r\n");
}

TEST_F(EncodeLineTest, Base64PadsAreCountedButNotSummed) {
  Line(ENCODE_MIME, "a");
  EXPECT_EQ(g_encoder.sectionCount, 5u);  // "YQ==" and one line end
  uint16_t s = SumStep(SumStep(SumStep(0, 'Y'), 'Q'), 0x0A);
  EXPECT_EQ(g_encoder.sectionSum, s);
  EXPECT_EQ(g_encoder.wholeSum, SumStep(0, 'a'));
}

TEST(SumStepTest, KnownValues) {
  EXPECT_EQ(SumBytes(0, "", 0), 0);
  EXPECT_EQ(SumBytes(0, "abc", 3), 16556);
  EXPECT_EQ(SumBytes(0, "abc", 3), 0x40AC);
}

}  // namespace
