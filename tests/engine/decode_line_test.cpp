// The line decoder: UU/XX length and count rules, the decode-anyway repairs, base64 groups
// across line ends, the checksums it feeds and the worst-case output sizes.
#include <string>

#include "decode/line_decoder.h"
#include "encode/alphabets.h"
#include "encode/checksum.h"
#include "tests/engine/decode_fixture.h"

namespace {

class DecodeLineTest : public DecodeTest {
 protected:
  int Run(const std::string& text, int format, bool anyway = false) {
    Line(text, format);
    return DecodeEncodedLine(g_decode.line, out, g_currentPart, anyway);
  }
  std::string Bytes(int n) const { return std::string(reinterpret_cast<const char*>(out), n > 0 ? n : 0); }
  unsigned char out[DECODED_LINE_ROOM + 8];
};

// Encodes up to 45 bytes as one UU line with the alphabet, without line end.
std::string UuLine(const std::string& bytes, const char* alphabet = UuAlphabet) {
  std::string line(1, alphabet[bytes.size()]);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    unsigned b0 = static_cast<unsigned char>(bytes[i]);
    unsigned b1 = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    unsigned b2 = i + 2 < bytes.size() ? static_cast<unsigned char>(bytes[i + 2]) : 0;
    line += alphabet[b0 >> 2];
    line += alphabet[((b0 & 3) << 4) | (b1 >> 4)];
    line += alphabet[((b1 & 15) << 2) | (b2 >> 6)];
    line += alphabet[b2 & 63];
  }
  return line;
}

TEST_F(DecodeLineTest, TablesComeFromTheAlphabetsAndRejectEverythingElse) {
  for (int format = TYPE_UU; format <= TYPE_BINHEX; ++format) {
    const char* alphabet = format == TYPE_UU ? UuAlphabet : format == TYPE_XX ? XxAlphabet
                           : format == TYPE_MIME ? Base64Alphabet : BinHexAlphabet;
    const signed char* table = DecodeTableFor(format);
    int valid = 0;
    for (int c = 0; c < 256; ++c) valid += table[c] != DECODE_INVALID;
    for (int v = 0; v < 64; ++v) EXPECT_EQ(table[static_cast<unsigned char>(alphabet[v])], v);
    EXPECT_EQ(valid, format == TYPE_UU ? 65 : 64) << format;  // UU also takes the space for 0
    EXPECT_EQ(table[0x80], DECODE_INVALID);
    EXPECT_EQ(table['\n'], DECODE_INVALID);
  }
  EXPECT_EQ(DecodeTableFor(TYPE_UU)[' '], 0);
  EXPECT_EQ(DecodeTableFor(TYPE_MIME)['='], DECODE_INVALID);
  EXPECT_EQ(DecodeTableFor(TYPE_AUTO), nullptr);
}

TEST_F(DecodeLineTest, UuLinesOfEveryLengthRoundTripAndFeedThePartChecksum) {
  std::string bytes;
  for (int i = 0; i < 45; ++i) bytes += static_cast<char>(i * 37 + 200);
  for (size_t n = 0; n <= 45; ++n) {
    ClearPartTable();
    const std::string text = UuLine(bytes.substr(0, n));
    ASSERT_EQ(Run(text + "\r\n", TYPE_UU), static_cast<int>(n)) << g_decode.errorText;
    EXPECT_EQ(Bytes(static_cast<int>(n)), bytes.substr(0, n));
    EXPECT_EQ(g_currentPart->calculatedSize, static_cast<int32_t>(text.size() + 1));
    EXPECT_EQ(g_currentPart->calculatedChecksum, SumStep(SumBytes(0, text.data(), text.size()), 0x0A));
  }
}

TEST_F(DecodeLineTest, XxDecodesWhatUuRefuses) {
  const std::string xx = UuLine("hello world", XxAlphabet) + "\n";
  ASSERT_NE(xx.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos);
  EXPECT_EQ(Run(xx, TYPE_XX), 11);
  EXPECT_EQ(Bytes(11), "hello world");
  EXPECT_EQ(Run(xx, TYPE_UU), -1);
  const std::string lower = std::string(1, xx[xx.find_first_of("abcdefghijklmnopqrstuvwxyz")]);
  char expected[64];
  std::snprintf(expected, sizeof expected, "Invalid encoded data byte (0x%x).", static_cast<unsigned>(lower[0]));
  EXPECT_STREQ(g_decode.errorText, expected);
}

TEST_F(DecodeLineTest, CountRulesForTheLastLine) {
  EXPECT_EQ(Run("`\n", TYPE_UU), 0);
  EXPECT_EQ(g_currentPart->calculatedSize, 2);
  EXPECT_EQ(Run("!80\n", TYPE_UU), 1);   // two data characters
  EXPECT_EQ(Run("!80``\n", TYPE_UU), 1);  // a padded group
  EXPECT_EQ(Run("!80````\n", TYPE_UU), -1);
  EXPECT_STREQ(g_decode.errorText, "# of indicated chars in line (1) does not match actual data present (4).");
  EXPECT_EQ(Run("\x7f" "80\n", TYPE_UU), -1);
  EXPECT_STREQ(g_decode.errorText, "Indicated # of chars per line is less than 0.");
  EXPECT_EQ(Run("!8\xc1\n", TYPE_UU), -1);
  EXPECT_STREQ(g_decode.errorText, "Invalid encoded data byte (0xc1).");
}

TEST_F(DecodeLineTest, ShortLineFailsOrIsPaddedWithGraveAccents) {
  std::string bytes(45, '\x5a');
  std::string full = UuLine(bytes);
  std::string cut = full.substr(0, 1 + 56) + "\r\n";
  EXPECT_EQ(Run(cut, TYPE_UU), -1);
  EXPECT_STREQ(g_decode.errorText, "# of indicated chars in line (45) does not match actual data present (42).");
  ClearPartTable();
  EXPECT_EQ(Run(cut, TYPE_UU, true), 45);
  EXPECT_EQ(Bytes(42), bytes.substr(0, 42));
  EXPECT_EQ(g_currentPart->calculatedSize, 62);  // repaired to 60 data characters
}

TEST_F(DecodeLineTest, LoneLastCharacterNeverPairsWithWhatFollowsTheLine) {
  // Without the flag the line end is the partner and is refused.
  EXPECT_EQ(Run("#80808\n", TYPE_UU), -1);
  EXPECT_STREQ(g_decode.errorText, "Invalid encoded data byte (0xa).");
  EXPECT_EQ(Run("#80808\r\n", TYPE_UU), -1);
  EXPECT_STREQ(g_decode.errorText, "Invalid encoded data byte (0xd).");
  // Unterminated, decoded anyway: the lone character gets no partner from behind the NUL.
  Line("#80808", TYPE_UU);
  std::memcpy(g_decode.line + 7, "MMMMMMMM", 8);  // stale text after the NUL
  const int n = DecodeEncodedLine(g_decode.line, out, g_currentPart, true);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(Bytes(3), std::string("a\x06\x10", 3));
  EXPECT_EQ(g_currentPart->calculatedSize, 0);  // no line end: the size gets nothing
}

TEST_F(DecodeLineTest, OverlongLineDecodedAnywayYieldsTheIndicatedCount) {
  const std::string text = "!" + std::string(80, '0') + "\n";
  EXPECT_EQ(Run(text, TYPE_UU), -1);
  EXPECT_EQ(Run(text, TYPE_UU, true), 1);
}

TEST_F(DecodeLineTest, LongestLinesFitTheOutputBuffer) {
  // 253 UU data characters after the length character.
  const std::string uu = "M" + std::string(253, '0');
  EXPECT_EQ(Run(uu, TYPE_UU, true), 45);
  // A 254-character base64 piece that starts with three characters of a group pending.
  g_decode.mimeCount = 1;
  g_decode.groupPosition = 1;
  const int n = Run(std::string(254, 'Q'), TYPE_MIME);
  EXPECT_EQ(n, 191);
  EXPECT_LE(n, DECODED_LINE_ROOM);
}

TEST_F(DecodeLineTest, Base64GroupsPadsBlanksAndLineEnds) {
  EXPECT_EQ(Run("QUJD\r\n", TYPE_MIME), 3);
  EXPECT_EQ(Bytes(3), "ABC");
  g_decode.mimeCount = 0;
  EXPECT_EQ(Run("QQ==\n", TYPE_MIME), 1);
  EXPECT_EQ(Bytes(1), "A");
  g_decode.mimeCount = 0;
  EXPECT_EQ(Run("QUJ\n", TYPE_MIME), 2);
  EXPECT_EQ(g_decode.mimeCount, 3);
  EXPECT_EQ(Run("D\n", TYPE_MIME), 1);
  EXPECT_EQ(out[0], 'C');
  g_decode.mimeCount = 0;
  EXPECT_EQ(Run("QU\tJ D\n", TYPE_MIME), 3);
  g_decode.mimeCount = 0;
  EXPECT_EQ(Run("=QUJD\n", TYPE_MIME), -1);
  EXPECT_STREQ(g_decode.errorText, "Invalid encoded data byte (0x3d).");
  g_decode.mimeCount = 0;
  EXPECT_EQ(Run("=QUJD\n", TYPE_MIME, true), 3);
  EXPECT_EQ(g_currentPart->calculatedSize, 0);  // base64 feeds no checksum
}

// Our encoder's lines carry every 12-bit value in both halves of a group, in each format;
// an invalid character in any place of a group refuses the line.
TEST_F(DecodeLineTest, EveryCharacterPairDecodesAndAnyInvalidCharacterIsSeen) {
  const int methods[] = {ENCODE_UU, ENCODE_XX, ENCODE_MIME};
  for (int method : methods) {
    const int format = method;  // the encoder's methods and the decoder's types agree
    ResetEncoderState(method, 3);
    SelectEncodeAlphabet(METHOD_UU + method - 1);
    for (unsigned first = 0; first < 4096; first += 15) {
      std::string bytes;
      for (unsigned v = first; v < first + 15; ++v) {
        const unsigned bits = (v % 4096) << 12 | (4095 - v % 4096);
        bytes += {static_cast<char>(bits >> 16), static_cast<char>(bits >> 8), static_cast<char>(bits)};
      }
      char text[ENCODED_LINE_ROOM];
      EncodeLine(reinterpret_cast<const unsigned char*>(bytes.data()), 45, text);
      g_decode.mimeCount = 0;
      ASSERT_EQ(Run(text, format), 45) << method << " " << text;
      ASSERT_EQ(Bytes(45), bytes) << method << " " << text;
    }
    const std::string valid = method == ENCODE_UU ? "&86)C86)C\n" : method == ENCODE_XX ? "4ABCDABCD\n" : "QUJDQUJD\n";
    g_decode.mimeCount = 0;
    ASSERT_EQ(Run(valid, format), 6) << method;
    for (size_t place = valid.size() - 9; place < valid.size() - 1; ++place) {
      std::string text = valid;
      text[place] = '~';
      g_decode.mimeCount = 0;
      EXPECT_EQ(Run(text, format), -1) << method << " " << text;
    }
  }
}

TEST_F(DecodeLineTest, FormatsWithoutLineDecoderRefuseWithoutReason) {
  EXPECT_EQ(Run("QUJD\n", TYPE_AUTO), -1);
  EXPECT_STREQ(g_decode.errorText, "");
  EXPECT_EQ(Run("QUJD\n", TYPE_BINHEX), -1);
}

}  // namespace
