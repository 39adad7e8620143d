// The BinHex 4.0 decoder through DecodeFile: hand-built streams with runs, literal 0x90,
// damaged CRCs, cut and interrupted forks, long names and invalid characters, and our
// encoder's output.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "decode/checksum_verify.h"
#include "encode/alphabets.h"
#include "encode/binhex_encode.h"
#include "tests/engine/decode_fixture.h"
#include "tests/engine/encoded_parts.h"

namespace {

const char kBanner[] = "(This file must be converted with BinHex 4.0)\n";
const unsigned char kRun = 0x90;

std::string Be(uint32_t value, int bytes) {
  std::string s;
  for (int i = bytes - 1; i >= 0; --i) s += static_cast<char>(value >> (8 * i));
  return s;
}

uint16_t Crc(const std::string& bytes) {
  uint16_t crc = 0;
  for (unsigned char b : bytes) crc = UpdateBinHexCrc(b, crc);
  crc = UpdateBinHexCrc(0, crc);
  return UpdateBinHexCrc(0, crc);
}

// 0x90 written as 0x90 0x00, the escape of a literal marker byte.
std::string Escape(const std::string& bytes) {
  std::string s;
  for (char c : bytes) {
    s += c;
    if (static_cast<unsigned char>(c) == kRun) s += '\0';
  }
  return s;
}

// The 6-bit characters of `coded`, the last group cut short as the encoders write it.
std::string Symbols(const std::string& coded) {
  std::string s;
  for (size_t i = 0; i < coded.size(); i += 3) {
    unsigned b[3] = {0, 0, 0};
    const size_t n = coded.size() - i < 3 ? coded.size() - i : 3;
    for (size_t k = 0; k < n; ++k) b[k] = static_cast<unsigned char>(coded[i + k]);
    const unsigned v[4] = {b[0] >> 2, ((b[0] & 3) << 4) | (b[1] >> 4), ((b[1] & 15) << 2) | (b[2] >> 6), b[2] & 63};
    for (size_t k = 0; k < n + 1; ++k) s += BinHexAlphabet[v[k]];
  }
  return s;
}

// A BinHex stream: the fields of the header, then the data fork (as decoded, and as coded
// when the coding has runs) and an empty resource fork.
struct Stream {
  std::string name = "t.bin";
  std::string data;
  std::string coded;  // empty: the data escaped
  int headerCrcDelta = 0;
  int dataCrcDelta = 0;

  std::string Header() const {
    return std::string(1, static_cast<char>(name.size())) + name + '\0' + "TEXTQVTS" + Be(0x0100, 2) +
           Be(static_cast<uint32_t>(data.size()), 4) + Be(0, 4);
  }
  std::string Coded() const {
    const std::string h = Header();
    return Escape(h + Be(static_cast<uint16_t>(Crc(h) + headerCrcDelta), 2)) + (coded.empty() ? Escape(data) : coded) +
           Escape(Be(static_cast<uint16_t>(Crc(data) + dataCrcDelta), 2) + Be(Crc(""), 2));
  }
  // The whole text, lines of 64 characters between the colons.
  std::string Text() const {
    const std::string s = ":" + Symbols(Coded()) + ":";
    std::string out = kBanner;
    for (size_t i = 0; i < s.size(); i += 64) out += s.substr(i, 64) + "\n";
    return out;
  }
};

std::string Bytes(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 7 + 3);
  return s;
}

class BinHexDecodeTest : public DecodeTest {
 protected:
  int DecodeText(const std::string& text, int interactive = 0) { return Decode(Input("in.hqx", text), interactive); }
  std::string Output(const std::string& name) { return ReadWholeFile(dir.File(name)); }
  std::string Error() const { return g_decode.errorText; }
};

TEST_F(BinHexDecodeTest, RunsAndLiteralMarkersExpand) {
  Stream s;
  s.data = "AAAAAB" + std::string(1, static_cast<char>(kRun)) + "CC";
  // A, then the marker with count 5 (A five times in all), B, a literal 0x90, C twice.
  s.coded = std::string("A\x90\x05" "B\x90", 5) + std::string(1, '\0') + "C\x90\x02";
  ASSERT_EQ(DecodeText(s.Text()), 0) << Error();
  EXPECT_EQ(Output("t.bin"), s.data);
  EXPECT_EQ(g_decode.wholeExpectedSize, static_cast<int32_t>(s.data.size()));
  EXPECT_EQ(g_decode.wholeExpectedChecksum, g_decode.wholeCalculatedChecksum);
  EXPECT_NE(g_decode.wholeExpectedChecksum, 0u);
}

TEST_F(BinHexDecodeTest, EveryLengthOfTheLastGroupAndChunkBoundariesDecode) {
  for (size_t n : {0u, 1u, 2u, 3u, 89u, 90u, 91u, 180u, 181u, 1000u}) {
    Stream s;
    s.data = Bytes(n);
    ASSERT_EQ(DecodeText(s.Text()), 0) << n << Error();
    EXPECT_EQ(Output("t.bin"), s.data) << n;
    std::remove(dir.File("t.bin").c_str());
  }
}

TEST_F(BinHexDecodeTest, NothingAfterTheClosingColonIsTaken) {
  // Three lengths put the closing colon at each place of a group; the second file's banner
  // follows right after the colon's line and the signature after its own.
  for (size_t n : {100u, 101u, 102u}) {
    Stream a, b;
    a.data = Bytes(n - 1);
    a.coded = Escape(a.data) + std::string("\x90\x03", 2);  // ends with a run
    a.data += std::string(2, a.data.back());
    b.name = "u.bin";
    b.data = Bytes(50);
    ASSERT_EQ(DecodeText(a.Text() + b.Text() + "-- \nSomeone :-)\n"), 0) << n << Error();
    EXPECT_EQ(Output("t.bin"), a.data) << n;
    EXPECT_EQ(Output("u.bin"), b.data) << n;
    std::remove(dir.File("t.bin").c_str());
    std::remove(dir.File("u.bin").c_str());
  }
}

// The symbols between the colons without line ends.
std::string Between(const std::string& text) {
  std::string s = text.substr(text.find(':') + 1);
  s.erase(std::remove(s.begin(), s.end(), '\n'), s.end());
  return s.substr(0, s.size() - 1);
}

TEST_F(BinHexDecodeTest, CutOrInterruptedDataForkGivesItsText) {
  Stream s;
  s.data = Bytes(300);
  // 48 groups carry 144 bytes: the 27 of the header and its CRC, and 117 data bytes.
  const std::string head = std::string(kBanner) + ":" + Between(s.Text()).substr(0, 48 * 4);
  EXPECT_EQ(DecodeText(head + "\n"), RESULT_REPORTED);
  EXPECT_EQ(Error(),
            "BinHex: Premature End of File in in.hqx.\r\nData Length Specified was 300 Bytes;\r\nEOF Found After 117 Bytes.");
  EXPECT_FALSE(PathExists(dir.File("t.bin")));
  EXPECT_EQ(DecodeText(head + ":\n"), RESULT_REPORTED);
  EXPECT_EQ(Error(), "BinHex: Premature End of File in in.hqx.\r\nData Length Specified was 300 Bytes;\r\n"
                     "Delimiter ':' Found After 117 Bytes.");
  // Cut right after the data fork, before its CRC: the data cannot be checked.
  const std::string coded = s.Coded();
  const std::string crcs = Escape(Be(Crc(s.data), 2) + Be(Crc(""), 2));
  const std::string dataOnly = std::string(kBanner) + ":" + Symbols(coded.substr(0, coded.size() - crcs.size()));
  EXPECT_EQ(DecodeText(dataOnly + "\n"), RESULT_REPORTED);
  EXPECT_EQ(Error(),
            "BinHex: Premature End of File in in.hqx.\r\nData Length Specified was 300 Bytes;\r\nEOF Found After 300 Bytes.");
  EXPECT_EQ(DecodeText(dataOnly + ":\n"), RESULT_REPORTED);
  EXPECT_EQ(Error(), "BinHex: Premature End of File in in.hqx.\r\nData Length Specified was 300 Bytes;\r\n"
                     "Delimiter ':' Found After 300 Bytes.");
  EXPECT_FALSE(PathExists(dir.File("t.bin")));
  EXPECT_EQ(DecodeText(std::string(kBanner) + "no colon here\n"), RESULT_REPORTED);
  EXPECT_EQ(Error(), "Missing Starting Colon ':' in in.hqx.");
}

TEST_F(BinHexDecodeTest, DamagedHeaderCrcWarnsAndStillDecodes) {
  Stream s;
  s.data = Bytes(40);
  s.headerCrcDelta = 1;
  ASSERT_EQ(DecodeText(s.Text(), 1), 0) << Error();
  EXPECT_EQ(Output("t.bin"), s.data);
  ASSERT_GE(g_ui.messages.size(), 2u);
  EXPECT_EQ(g_ui.messages[0].text,
            "BinHex Header Information:\r\n\r\nFile Name:\tt.bin\r\nFile Type: \tTEXT\r\nFile Creator:\tQVTS\r\n"
            "File Flags: \t100\r\nData size: \t40\r\nResource size:\t0");
  char warning[200];
  const uint16_t crc = Crc(s.Header());
  std::snprintf(warning, sizeof warning,
                "Warning! Calculated header CRC of %x does not match the file header CRC of %x!\t\t Possible corrupt "
                "input file.", crc, static_cast<uint16_t>(crc + 1));
  EXPECT_EQ(g_ui.messages[1].text, warning);
  EXPECT_EQ(g_ui.messages[1].flags & MB_ICONEXCLAMATION, static_cast<UINT>(MB_ICONEXCLAMATION));
  std::vector<std::string> lines;
  ASSERT_EQ(TestChecksums(&lines), 1);
  char line[80];
  std::snprintf(line, sizeof line, "Part 1 Checksum:\tExpected %5u\tCalculated %5u", static_cast<uint16_t>(crc + 1),
                crc);
  EXPECT_EQ(lines[0], line);
}

TEST_F(BinHexDecodeTest, DamagedDataForkKeepsBothCrcs) {
  Stream s;
  s.data = Bytes(40);
  s.dataCrcDelta = 5;
  ASSERT_EQ(DecodeText(s.Text()), 0) << Error();
  EXPECT_EQ(g_decode.wholeCalculatedChecksum, Crc(s.data));
  EXPECT_EQ(g_decode.wholeExpectedChecksum, static_cast<uint16_t>(Crc(s.data) + 5));
  EXPECT_EQ(g_partTable[0].calculatedChecksum, g_partTable[0].expectedChecksum);
  // The data CRC is not recomputed from the file: the stored and the computed CRC are shown.
  EXPECT_EQ(TestChecksums(nullptr), 1);
  std::vector<std::string> lines;
  ASSERT_EQ(TestChecksums(&lines), 1);
  char line[80];
  std::snprintf(line, sizeof line, "Output File t.bin Checksum:\tExpected %5u\tCalculated %5u",
                static_cast<uint16_t>(Crc(s.data) + 5), Crc(s.data));
  EXPECT_EQ(lines[0], line);
  EXPECT_TRUE(g_ui.statuses.empty() || g_ui.statuses.back().find("Testing") == std::string::npos);
}

TEST_F(BinHexDecodeTest, ALongNameIsCutTo63Characters) {
  Stream s;
  s.name = std::string(100, 'n') + ".bin";
  s.data = Bytes(70);
  ASSERT_EQ(DecodeText(s.Text()), 0) << Error();
  EXPECT_EQ(Output(std::string(63, 'n')), s.data);
  s.name = std::string(255, 'x');
  ASSERT_EQ(DecodeText(s.Text()), 0) << Error();
  EXPECT_EQ(Output(std::string(63, 'x')), s.data);
}

TEST_F(BinHexDecodeTest, InvalidCharacterKeepsTheBytesBeforeIt) {
  Stream s;
  s.data = Bytes(200);
  std::string symbols = Between(s.Text());
  // After 63 groups: 189 bytes, 162 of them data, the second chunk holding 72 of them.
  symbols.insert(63 * 4, "~");
  std::string text = std::string(kBanner) + ":" + symbols + ":\n";
  ASSERT_EQ(DecodeText(text), 0) << Error();
  EXPECT_EQ(Output("t.bin"), s.data);
  EXPECT_STREQ(g_job.resultRemark, "\r\n\r\nDecode attempted in spite of integrity errors.");
  g_decode.tryAll = false;
  g_ui.Reset();
  ResetJobState();
  symbols.insert(10, "7");  // inside the header: the file cannot be read
  EXPECT_EQ(DecodeText(std::string(kBanner) + ":" + symbols + ":\n"), RESULT_REPORTED);
  EXPECT_EQ(Error(), "Invalid encoded data byte (0x37).");
}

// A mailbox of several messages: each file is decoded on its own terms. A BinHex file once
// ended the input, and uuencoded data after a MIME message was read as base64.
TEST_F(BinHexDecodeTest, EveryFileOfAMailboxComesOutExact) {
  for (const std::string eol : {"\n", "\r\n"}) {
    Stream hqx;
    hqx.name = "h.bin";
    hqx.data = Bytes(333);
    std::string binhex = hqx.Text();
    for (size_t at = 0; (at = binhex.find('\n', at)) != std::string::npos; at += eol.size())
      binhex.replace(at, 1, eol);
    const std::string a = Bytes(500), m = Bytes(700) + "m", u = Bytes(22500), x = Bytes(90) + "x";
    const std::string head = "From someone@example.org Tue Mar  3 10:00:00 1998" + eol + "From: someone" + eol +
                             "Subject: files" + eol + eol;
    const std::string mime = head + "Content-Type: multipart/mixed; boundary=\"bb\"" + eol + eol + "--bb" + eol +
                             "Content-Type: text/plain" + eol + "Content-Transfer-Encoding: base64" + eol + eol +
                             Base64Lines("Two attachments, no file of their own.", eol) + eol + "--bb" + eol +
                             "Content-Type: application/octet-stream; name=\"m.bin\"" + eol +
                             "Content-Transfer-Encoding: base64" + eol + eol + Base64Lines(m, eol) + eol + "--bb" +
                             eol + "Content-Type: application/octet-stream; name=\"m2.bin\"" + eol +
                             "Content-Transfer-Encoding: base64" + eol + eol + Base64Lines(a, eol) + eol + "--bb--" +
                             eol;
    const std::string box = head + Uuencode("a.bin", a, eol) + mime + head + Uuencode("u.bin", u, eol) + head +
                            binhex + head + Uuencode("x.bin", x, eol) + eol + "-- " + eol + "Someone" + eol;
    ASSERT_EQ(Decode(Input("mbox", box)), 0) << Error();
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"a.bin", a}, {"m.bin", m}, {"m2.bin", a},
                                      {"u.bin", u}, {"h.bin", hqx.data}, {"x.bin", x}}) {
      const std::string out = Output(name);
      EXPECT_TRUE(out == bytes) << name << ": " << out.size() << " of " << bytes.size() << " bytes, line ends of "
                                << eol.size();
      std::remove(dir.File(name).c_str());
    }
    EXPECT_FALSE(g_job.qualifiedResult) << g_job.resultRemark;
    EXPECT_EQ(g_job.outputCount, 6);
    EXPECT_FALSE(PathExists(dir.File(UNKNOWN_FILE_NAME)));
  }
}

}  // namespace
