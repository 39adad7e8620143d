// Header detection and the scanners under it: begin lines, Subject designations, the
// posting-tool banners, X-File and MIME header groups, and the part-number limits.
#include <cstring>
#include <string>

#include "decode/header_detect.h"
#include "decode/line_scan.h"
#include "encode/header_styles.h"
#include "tests/engine/decode_fixture.h"

namespace {

class DetectHeaderTest : public DecodeTest {
 protected:
  // Detects a header in `line`, with `rest` as the input that follows it.
  int Detect(const std::string& line, const std::string& rest = "") {
    std::snprintf(g_decode.line, sizeof g_decode.line, "%s", line.c_str());
    const int s = Following(rest);
    return DetectHeader(g_decode.line, s, &part, &total, name);
  }
  void ExpectHeader(const std::string& line, int style, int p, int t, const char* n) {
    EXPECT_EQ(Detect(line), style) << line;
    EXPECT_EQ(part, p) << line;
    EXPECT_EQ(total, t) << line;
    EXPECT_STREQ(name, n) << line;
  }
  int part = -1, total = -1;
  char name[DECODE_NAME_ROOM];
};

TEST_F(DetectHeaderTest, BeginLines) {
  ExpectHeader("begin 644 foo.zip\r\n", STYLE_SINGLE, 1, 1, "foo.zip");
  ExpectHeader("begin 644 my file.zip\n", STYLE_SINGLE, 1, 1, "my file.zip");
  ExpectHeader("BEGIN\t600 x\n", STYLE_SINGLE, 1, 1, "x");
  ExpectHeader("*begin  some name\n", STYLE_SINGLE, 1, 1, "some name");
  ExpectHeader("begin 644\r\n", STYLE_SINGLE, 1, 1, "");
  ExpectHeader("begin foo.zip\n", 0, 0, 0, "DontKnow.Yet");
  ExpectHeader("beginning 644 x\n", 0, 0, 0, "DontKnow.Yet");
  EXPECT_TRUE(g_decode.nameFound);
  // Inside a multi-part posting the begin line belongs to the posting.
  g_decode.style = STYLE_SIMTEL;
  g_partTotal = 4;
  ExpectHeader("begin 644 foo.zip\n", STYLE_SIMTEL, 1, 4, "foo.zip");
}

TEST_F(DetectHeaderTest, CutHereIsNoBeginLineButMayBeXmitBin) {
  EXPECT_EQ(Detect("begin --- cut here --- foo\n"), 0);
  ExpectHeader("BEGIN --- CUT HERE --- Cut Here --- cut here --- foo.zip 2/5\n", STYLE_XMITBIN, 2, 5, "foo.zip");
  EXPECT_EQ(Detect("BEGIN --- CUT HERE --- Cut Here --- foo.zip 2/5\n"), 0);  // two cuts only
}

TEST_F(DetectHeaderTest, SubjectDesignations) {
  ExpectHeader("Subject: foo.zip (2/5)\n", STYLE_ALT_BINARIES_1, 2, 5, "foo.zip");
  ExpectHeader("Subject: foo (2/5)\n", STYLE_ALT_BINARIES_3, 2, 5, "foo");
  ExpectHeader("Subject: foo.zip [part 2/5]\n", STYLE_ALT_BINARIES_2, 2, 5, "foo.zip");
  ExpectHeader("Subject: foo.zip [2/5]\n", STYLE_ALT_BINARIES_3, 2, 5, "foo.zip");
  ExpectHeader("Subject: foo [2/5]\n", STYLE_ALT_BINARIES_4, 2, 5, "foo");
  ExpectHeader("subject: - a b.gif (Part 3 of 7)\n", STYLE_ALT_BINARIES_1, 3, 7, "a b.gif");
  ExpectHeader("Subject: pic.gif, Part 002 of 003 (UUencoded)\n", STYLE_BITFTP, 2, 3, "pic.gif");
  EXPECT_EQ(Detect("Subject: foo.zip (0/5)\n"), 0);
  EXPECT_TRUE(g_ui.messages.empty());
  EXPECT_EQ(Detect("Subject: foo.zip (2/150)\n"), 0);
  ASSERT_EQ(g_ui.messages.size(), 1u);
  EXPECT_EQ(g_ui.messages[0].text, "Part 150 Must be Between 1 and 99.");
  EXPECT_EQ(Detect("Subject: lunch (today)\n"), 0);
  EXPECT_EQ(Detect("Subject: foo.zip (2/5\n"), 0);  // unclosed
}

TEST_F(DetectHeaderTest, DesignationForms) {
  const char* forms[] = {"part 2 of 5", "2 of 5", "2/5", "part 2/5", "(2/5)", "[part 2/5]", "[2/5]", "PART 2 OF 5"};
  for (const char* f : forms) {
    int p = 0, t = 0;
    EXPECT_NE(ParsePartDesignation(f, &p, &t), 0) << f;
    EXPECT_EQ(p, 2) << f;
    EXPECT_EQ(t, 5) << f;
  }
  int p = 0, t = 0;
  EXPECT_EQ(ParsePartDesignation("2 from 5", &p, &t), 0);
  EXPECT_EQ(ParsePartDesignation("(2/5]", &p, &t), 0);
  EXPECT_EQ(ParsePartDesignation("99999999999999999999/5", &p, &t), 0);  // no overflow, out of range
}

TEST_F(DetectHeaderTest, BannerStyles) {
  g_partTotal = 0;
  ExpectHeader("Archive-name: foo/part03\n", STYLE_COMP_BINARIES, 3, 0, "foo");
  ExpectHeader("------------ Part 2 of 4 ------------\n", STYLE_SIMTEL, 2, 4, "DontKnow.Yet");
  ExpectHeader("BEGIN------------ foo.zip ------------ part 2/4 ---\n", STYLE_SHAR, 2, 4, "foo.zip");
  ExpectHeader("POST V1.2.0 foo.zip (Part 2/4)\n", STYLE_POST_120, 2, 4, "foo.zip");
  ExpectHeader("POST V2.0.1 foo.zip (Part 2/4)\n", STYLE_POST_201, 2, 4, "foo.zip");
  ExpectHeader("Subj: #2(4)\n", STYLE_AOL, 2, 4, "DontKnow.Yet");
  ExpectHeader("------ begin of foo.zip -- part 2 of 4\n", STYLE_SQUIRREL, 2, 4, "foo.zip");
  ExpectHeader("foo.zip    section  2/4   KOLTAR 2.0\n", STYLE_KOLTAR, 2, 4, "foo.zip");
  ExpectHeader("section 2 of uuencode 5.24 of file foo.zip    by x\n", STYLE_REM, 2, 0, "foo.zip");
  EXPECT_EQ(Detect("section 2 of mimeencode 5.24 of file foo.zip\n"), 0);
}

TEST_F(DetectHeaderTest, WincodeFirstPartCountsItsTableLines) {
  g_currentPart = &g_partTable[3];
  EXPECT_EQ(Detect("section 1/3 file foo.zip [ Wincode v2.3 ]\n", "\ntable\nABC\nDEF\nM...\n"),
            STYLE_WINCODE);
  EXPECT_STREQ(name, "foo.zip");
  EXPECT_EQ(g_currentPart, &g_partTable[0]);
  EXPECT_EQ(g_partTable[0].calculatedSize, 6 + 4 + 4);
  // Without a table the next line is pushed back for the data states.
  EXPECT_EQ(Detect("section 1/3 file foo.zip\n", "\nM...\n"), STYLE_WINCODE);
  char next[LINE_ROOM];
  EXPECT_GT(ReadDecodeLine(stream(), next), 0);
  EXPECT_STREQ(next, "M...\n");
}

TEST_F(DetectHeaderTest, XFileHeaderGroup) {
  EXPECT_EQ(Detect("X-File-Name: foo.zip\n", "X-Part: 2\nX-Part-Total: 3\n\nBEGIN---\n"), STYLE_X_FILE);
  EXPECT_EQ(part, 2);
  EXPECT_EQ(total, 3);
  EXPECT_STREQ(name, "foo.zip");
  // Without "X-Part:" there is no part to file the data under (it would be record -1).
  EXPECT_EQ(Detect("X-File-Name: foo.zip\n", "X-Other: 2\nX-Part-Total: 3\n\n"), 0);
  EXPECT_EQ(Detect("X-File-Name: foo.zip\n", "X-Part:\nX-Part-Total: 3\n\n"), 0);
  EXPECT_EQ(Detect("X-File-Name: foo.zip\n", "X-Part: 1\nX-Part-Total: 3\nX-File-Sum: 77\n"), STYLE_X_FILE);
}

TEST_F(DetectHeaderTest, MimeHeaders) {
  EXPECT_EQ(Detect("Content-Type: application/octet-stream; name=foo.zip\n",
                   "Content-Transfer-Encoding: base64\n\nUEsDBA==\n"),
            STYLE_SINGLE);
  EXPECT_EQ(g_decode.format, TYPE_MIME);
  EXPECT_STREQ(name, "foo.zip");
  EXPECT_EQ(part, 1);
  EXPECT_EQ(total, 1);
  EXPECT_EQ(Detect("Content-Transfer-Encoding: BASE64\n",
                   "Content-Disposition: attachment;\n filename=\"a b/c:d.bin\"\n\nQQ==\n"),
            STYLE_SINGLE);
  EXPECT_STREQ(name, "d.bin");
  g_decode.format = TYPE_AUTO;
  EXPECT_EQ(Detect("Content-Type: text/plain; name=x.txt\n", "Content-Transfer-Encoding: 7bit\n\nhello\n"), 0);
  EXPECT_EQ(g_decode.format, TYPE_AUTO);
  EXPECT_EQ(Detect("Content-Type: application/mac-binhex40; name=x.hqx\n",
                   "Content-Transfer-Encoding: base64\n\n"),
            0);
  // RFC 2231: the extended form names the file even after a plain one; sections join over
  // folded lines; the bytes stay as the posting gives them.
  EXPECT_EQ(Detect("Content-Type: application/pdf; name=\"r_sum_.pdf\"\n",
                   "Content-Transfer-Encoding: base64\nContent-Disposition: attachment;\n"
                   " filename*=UTF-8''r%C3%A9sum%C3%A9%202.pdf; size=3\n\nQQ==\n"),
            STYLE_SINGLE);
  EXPECT_STREQ(name, "r\xC3\xA9sum\xC3\xA9 2.pdf");
  EXPECT_EQ(Detect("Content-Type: image/jpeg;\n",
                   "\tname*0*=utf-8'ja'%E6%97%A5%E6%9C;\n\tname*1*=%AC%20x;\n\tname*2=\".jpg\"\n"
                   "\tname*4=\"lost\"\nContent-Transfer-Encoding: base64\n\nQQ==\n"),
            STYLE_SINGLE);
  EXPECT_STREQ(name, "\xE6\x97\xA5\xE6\x9C\xAC x.jpg");
  EXPECT_EQ(Detect("Content-Transfer-Encoding: base64\n",
                   "Content-Disposition: attachment; filename*=iso-8859-1''..%2Fcaf%E9.txt\n\nQQ==\n"),
            STYLE_SINGLE);
  EXPECT_STREQ(name, "caf\xE9.txt");
  ExpectHeader("(This file must be converted with BinHex 4.0)\n", STYLE_SINGLE, 1, 1, "DontKnow.Yet");
  EXPECT_EQ(g_decode.format, TYPE_BINHEX);
}

TEST_F(DetectHeaderTest, BinaryDataIsNotedOnce) {
  EXPECT_EQ(Detect("plain text\n"), 0);
  EXPECT_EQ(g_decode.binaryData, 0);
  EXPECT_EQ(Detect("\x89PNG\r\n"), 0);
  EXPECT_EQ(g_decode.binaryData, 1);
  g_decode.binaryData = 2;
  EXPECT_EQ(Detect("\xff\xfe\n"), 0);
  EXPECT_EQ(g_decode.binaryData, 2);
}

TEST_F(DetectHeaderTest, GuessUuOrXxFromTheFirstTellingCharacter) {
  g_decode.format = TYPE_AUTO;
  EXPECT_FALSE(GuessUuOrXx("M0123ABC+-\n"));
  EXPECT_EQ(g_decode.format, TYPE_AUTO);
  EXPECT_TRUE(GuessUuOrXx("M01a\"\n"));
  EXPECT_EQ(g_decode.format, TYPE_XX);
  EXPECT_TRUE(GuessUuOrXx("M01\"a\n"));
  EXPECT_EQ(g_decode.format, TYPE_UU);
  EXPECT_TRUE(GuessUuOrXx("M01 a\n"));
  EXPECT_EQ(g_decode.format, TYPE_UU);
  EXPECT_EQ(g_decode.table, DecodeTableFor(TYPE_UU));
}

TEST_F(DetectHeaderTest, FileNamesAndNumbers) {
  char n[16];
  // Quotes met inside are copied; cleaning the name removes them.
  EXPECT_STREQ(CopyFileName("\"a b.zip\"\r\n", NAME_TOKEN_MODE, false, n, sizeof n), "\r\n");
  EXPECT_STREQ(n, "a b.zip\"");
  EXPECT_STREQ(CopyFileName("\"ab.zip\" rest", NAME_TOKEN_MODE, true, n, sizeof n), " rest");
  EXPECT_STREQ(n, "ab.zip\"");
  CopyFileName("a b.zip", NAME_TOKEN_MODE, true, n, sizeof n);
  EXPECT_STREQ(n, "a");
  CopyFileName("a<b.zip", NAME_TOKEN_MODE, false, n, sizeof n);
  EXPECT_STREQ(n, "a");
  CopyFileName("a-very-long-name-indeed.zip\r\n", NAME_LINE_MODE, false, n, sizeof n);
  EXPECT_STREQ(n, "a-very-long-nam");  // cut to the room
  EXPECT_TRUE(FindNameParameter("x; FileName= \"q.gif\"", n, sizeof n));
  EXPECT_STREQ(n, "q.gif\"");
  EXPECT_FALSE(FindNameParameter("boundary=\"xyz\"", n, sizeof n));
  long v = 0;
  bool found = true;
  EXPECT_STREQ(ParseNumber("  \tx", &v, &found), "x");
  EXPECT_FALSE(found);
  EXPECT_FALSE(ValidatePartNumber(99));
  EXPECT_TRUE(ValidatePartNumber(0));
  EXPECT_TRUE(IsBlankLine(" \t\r\n"));
  EXPECT_TRUE(IsBlankLine(""));
  EXPECT_FALSE(IsBlankLine(" x\n"));
}

// The word-wise scans of a line agree with the byte-wise reading at every place of a word,
// and a NUL ends the text for both (a blank after it is not in the line).
TEST(LineScan, WordWiseScansStopWhereTheByteWiseReadingDoes) {
  for (char stop : {'\0', '\r', '\n', ' '}) {
    for (size_t at = 0; at < 20; ++at) {
      char buffer[24];
      std::memset(buffer, 'x', sizeof buffer - 1);
      buffer[sizeof buffer - 1] = '\0';
      buffer[at] = stop;
      buffer[at + 2] = stop == '\0' ? ' ' : '\n';
      EXPECT_EQ(LineTextLengthIn(buffer, sizeof buffer), LineTextLength(buffer)) << int(stop) << " at " << at;
      EXPECT_EQ(ContainsBlankIn(buffer, sizeof buffer), stop == ' ') << int(stop) << " at " << at;
    }
  }
}

}  // namespace
