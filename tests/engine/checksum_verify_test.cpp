// The checksum test after real decodes: our encoder's checksum lines verify clean, parts
// met out of order verify after the recomputation, and a changed character, a wrong size
// or a damaged BinHex CRC gives exactly its lines. The CRC-32 of yEnc against zlib's.
#include <algorithm>
#include <string>
#include <vector>

#include "decode/checksum_verify.h"
#include "encode/crc32.h"
#include "encode/header_styles.h"
#include "tests/engine/decode_fixture.h"
#include "tests/engine/encoded_parts.h"

namespace {

std::string Data(size_t n) {
  std::string s(n, '\0');
  unsigned seed = 11;
  for (char& c : s) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  return s;
}

class ChecksumVerifyTest : public DecodeTest {
 protected:
  std::vector<std::string> Encode(const std::string& bytes, int style) {
    return EncodeWithChecksums(dir.File("data.bin"), bytes, style);
  }
  // Decodes the parts joined in the order given (1-based numbers).
  void DecodeInOrder(const std::vector<std::string>& parts, const std::vector<int>& order) {
    std::string text;
    for (int n : order) text += parts[static_cast<size_t>(n - 1)];
    ASSERT_EQ(Decode(Input("posting.txt", text)), 0) << g_decode.errorText;
  }
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    const int count = TestChecksums(&lines);
    EXPECT_EQ(count, static_cast<int>(lines.size()));
    return lines;
  }
};

TEST_F(ChecksumVerifyTest, OurSingleFileVerifiesClean) {
  const std::vector<std::string> parts = Encode(Data(5000), STYLE_SINGLE);
  DecodeInOrder(parts, {1});
  ClearChecksumFound();
  EXPECT_EQ(TestChecksums(nullptr), 0);
  EXPECT_TRUE(ChecksumFound());
  EXPECT_TRUE(Lines().empty());
}

TEST_F(ChecksumVerifyTest, PartsMetOutOfOrderVerifyAfterTheRecomputation) {
  const std::string bytes = Data(9000);
  const std::vector<std::string> parts = Encode(bytes, STYLE_SIMTEL);
  ASSERT_EQ(parts.size(), 3u);
  DecodeInOrder(parts, {2, 1, 3});
  ASSERT_EQ(ReadWholeFile(dir.File("data.bin")), bytes);
  const uint32_t expected = g_decode.wholeExpectedChecksum;
  ASSERT_NE(expected, 0u);
  // Nothing is summed while decoding; the list test recomputes nothing.
  ASSERT_NE(g_decode.wholeCalculatedChecksum, expected);
  const std::vector<std::string> before = Lines();
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(before[0].rfind("Output File data.bin Checksum:\tExpected ", 0), 0u) << before[0];
  EXPECT_EQ(TestChecksums(nullptr), 0);
  EXPECT_EQ(g_decode.wholeCalculatedChecksum, expected);
  EXPECT_TRUE(g_ui.statuses.size() >= 1 &&
              std::find(g_ui.statuses.begin(), g_ui.statuses.end(), "Testing Checksum for data.bin ...") !=
                  g_ui.statuses.end());
  EXPECT_TRUE(Lines().empty());
}

TEST_F(ChecksumVerifyTest, OneChangedCharacterGivesOnePartChecksumLine) {
  std::vector<std::string> parts = Encode(Data(9000), STYLE_SIMTEL);
  ASSERT_EQ(parts.size(), 3u);
  // A data character of part 2 changed into another valid one: the data and the part's
  // text change, their sizes do not.
  const size_t at = parts[1].find("\nM") + 10;
  parts[1][at] = parts[1][at] == 'A' ? 'B' : 'A';
  DecodeInOrder(parts, {1, 2, 3});
  char partLine[80];
  std::snprintf(partLine, sizeof partLine, "Part 2 Checksum:\tExpected %5u\tCalculated %5u",
                static_cast<unsigned>(g_partTable[1].expectedChecksum),
                static_cast<unsigned>(g_partTable[1].calculatedChecksum));
  EXPECT_EQ(TestChecksums(nullptr), 2);  // the part and the whole file
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("Output File data.bin Checksum:", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], partLine);
}

TEST_F(ChecksumVerifyTest, SizeAndChecksumLinesFromTheRecords) {
  g_decode.format = TYPE_BINHEX;  // no recomputation from a file
  std::snprintf(g_decode.outputName, sizeof g_decode.outputName, "%s", dir.File("out.bin").c_str());
  g_decode.wholeExpectedSize = 100;
  g_decode.actualSize = 99;
  g_decode.wholeExpectedChecksum = 7;
  g_decode.wholeCalculatedChecksum = 65535;
  g_partTotal = 2;
  g_partTable[0].expectedSize = 10;
  g_partTable[0].calculatedSize = 10;
  g_partTable[1].expectedSize = 12;
  g_partTable[1].calculatedSize = 13;
  g_partTable[1].expectedChecksum = 3;
  g_partTable[1].calculatedChecksum = 3;
  ClearChecksumFound();
  const std::vector<std::string> lines = Lines();
  EXPECT_EQ(lines, (std::vector<std::string>{"Output File out.bin Size:\tExpected 100\tCalculated 99",
                                             "Output File out.bin Checksum:\tExpected     7\tCalculated 65535",
                                             "Part 2 Size:\tExpected 12\tCalculated 13"}));
  EXPECT_TRUE(ChecksumFound());
}

TEST_F(ChecksumVerifyTest, NoChecksumDataMeansNothingFound) {
  const std::vector<std::string> parts = Encode(Data(3000), STYLE_SINGLE);
  std::string text = parts[0].substr(0, parts[0].find("sum -r/size"));
  ASSERT_EQ(Decode(Input("plain.uue", text)), 0) << g_decode.errorText;
  ClearChecksumFound();
  EXPECT_EQ(TestChecksums(nullptr), 0);
  EXPECT_FALSE(ChecksumFound());
}

// The standard check value, and zlib's CRC of 100 bytes (Python's zlib.crc32) however they are
// split between two calls: each split puts the eight-byte steps and the tail elsewhere.
TEST(Crc32Test, GivesZlibsValuesAcrossAnySplit) {
  EXPECT_EQ(Crc32(0, "123456789", 9), 0xCBF43926u);
  const std::string bytes = Data(100);
  for (size_t split = 0; split <= bytes.size(); ++split)
    EXPECT_EQ(Crc32(Crc32(0, bytes.data(), split), bytes.data() + split, bytes.size() - split), 0x70CC552Fu) << split;
}

}  // namespace
