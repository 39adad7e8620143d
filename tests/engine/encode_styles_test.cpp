// The whole text of one part for every encodable style, byte for byte, for the
// input "abc" in a file named abc.txt (UU, CR LF, no checksums unless said).
#include <string>
#include <vector>

#include "core/name_charsets.h"
#include "decode/decode_file.h"
#include "encode/encoder_state.h"
#include "encode/header_styles.h"
#include "tests/engine/encode_fixture.h"

namespace {

const std::string E = "\r\n";
const std::string BODY = "begin 644 abc.txt" + E + "#86)C" + E + "`" + E + "end" + E;

class EncodeStylesTest : public EncodeTest {
 protected:
  std::string inputName = "abc.txt";
  std::string Run(int style, int method = METHOD_UU, bool crlf = true, bool sums = false) {
    Settings(method, style, crlf, 60000, sums);
    std::string in = Input(inputName, "abc");
    EXPECT_EQ(Encode(in), 0);
    EXPECT_EQ(g_ui.outputsMade.size(), 1u);
    if (g_ui.outputsMade.empty()) return "";
    return ReadWholeFile(g_ui.outputsMade[0]);
  }
};

TEST_F(EncodeStylesTest, SingleFileUu) { EXPECT_EQ(Run(3), BODY); }

TEST_F(EncodeStylesTest, SingleFileXx) {
  EXPECT_EQ(Run(3, METHOD_XX), "begin 644 abc.txt" + E + "1MK7X" + E + "+" + E + "end" + E);
  EXPECT_TRUE(PathExists(dir.File("abc.xxe")));
}

TEST_F(EncodeStylesTest, SingleFileMime) {
  const std::string b = "3_boundary_fffffffe";
  EXPECT_EQ(Run(3, METHOD_MIME),
            "MIME-Version: 1.0" + E + "Content-Type: multipart/mixed; boundary=\"" + b + "\"" + E + E + "--" + b + E +
                "Content-Type: Application/octet-stream; name=\"abc.txt\"" + E +
                "Content-Description: \"abc.txt base64 encoded by Zentrel32\"" + E +
                "Content-Transfer-Encoding: BASE64" + E + "Content-Disposition: attachment; filename=\"abc.txt\"" + E +
                E + "YWJj" + E + E + "--" + b + "--");
  EXPECT_TRUE(PathExists(dir.File("abc.mme")));
}

TEST_F(EncodeStylesTest, SingleFileBinHex) {
  const std::string b = "3_boundary_fffffffe";
  EXPECT_EQ(Run(3, METHOD_BINHEX),
            "MIME-Version: 1.0" + E + "Content-Type: multipart/mixed; boundary=\"" + b + "\"" + E + E + "--" + b + E +
                "Content-Type: Application/mac-binhex40; name=\"abc.txt\"" + E +
                "Content-Description: \"abc.txt binhex encoded by Zentrel32\"" + E +
                "Content-Disposition: attachment; filename=\"abc.txt\"" + E + E + E +
                "(This file must be converted with BinHex 4.0)" + E +
                ":\"f&LBbjdH(3!G(Kd!&T19&)!!!!!!!-!!!!!SLKKBQ1GeJ!!:" + E + E + "--" + b + "--");
  EXPECT_TRUE(PathExists(dir.File("abc.hqx")));
}

// MIME names a file beyond ASCII in the RFC 2231 form, in UTF-8 whatever the code page.
TEST_F(EncodeStylesTest, MimeNamesBeyondAsciiInTheExtendedForm) {
  inputName = ProgramUsesUtf8() ? "r\xC3\xA9sum\xC3\xA9 2.pdf" : "r\xE9sum\xE9 2.pdf";
  const std::string text = Run(3, METHOD_MIME);
  const std::string value = "*=UTF-8''r%C3%A9sum%C3%A9%202.pdf" + E;
  EXPECT_NE(text.find("Content-Type: Application/octet-stream; name" + value), std::string::npos) << text;
  EXPECT_NE(text.find("Content-Disposition: attachment; filename" + value), std::string::npos) << text;
}

TEST_F(EncodeStylesTest, BinHexIsForcedIntoStyle3) {
  // BinHex without the banner and colon is unreadable.
  std::string text = Run(4, METHOD_BINHEX);
  EXPECT_NE(text.find("(This file must be converted with BinHex 4.0)" + E + ":"), std::string::npos);
  EXPECT_EQ(text.find("Archive-name"), std::string::npos);
}

TEST_F(EncodeStylesTest, MimeInAnotherStyleHasNoBoundaryToClose) {
  // Only the single-file style writes MIME headers; the style's trailer stands on its own line.
  EXPECT_EQ(Run(6, METHOD_MIME), "Subject: abc.txt (1/1)" + E + E +
                                     "BEGIN --- CUT HERE --- Cut Here --- cut here --- abc.txt" + E +
                                     "YWJj" + E + "-- " + E);
}

TEST_F(EncodeStylesTest, CompBinaries) {
  EXPECT_EQ(Run(4), "Archive-name: abc/part01" + E + "BEGIN--cut here--cut here--" + E + BODY +
                        "END--cut here--cut here" + E);
}

TEST_F(EncodeStylesTest, SimTel) {
  EXPECT_EQ(Run(5), "------------ Part 1 of 1 ------------" + E + BODY + "-------- End of part 1 of 1 --------" + E);
}

TEST_F(EncodeStylesTest, AltBinaries1) {
  EXPECT_EQ(Run(6), "Subject: abc.txt (1/1)" + E + E + "BEGIN --- CUT HERE --- Cut Here --- cut here --- abc.txt" + E +
                        BODY + "-- " + E);
  EXPECT_EQ(std::string(g_encoder.subject), "Subject: abc.txt (1/1)" + E + E);
}

TEST_F(EncodeStylesTest, AltBinaries2) {
  EXPECT_EQ(Run(7), "Subject: abc.txt [part 1/1]" + E + E +
                        "BEGIN------------------>  cut here  <------------------------" + E + BODY +
                        "END-------------------->  cut here  <------------------------" + E);
}

TEST_F(EncodeStylesTest, AltBinaries3) {
  EXPECT_EQ(Run(8), "Subject: abc.txt [1/1]" + E + E + BODY + "-- " + E);
}

TEST_F(EncodeStylesTest, AltBinaries4) {
  EXPECT_EQ(Run(9), "Subject: abc [1/1]" + E + E + "BEGIN----------------------CUT HERE--------------------------" +
                        E + BODY + "END------------------------CUT HERE--------------------------" + E);
}

TEST_F(EncodeStylesTest, Shar) {
  // Always LF (a script for /bin/sh), always UU; the fixed sed and join lines.
  const std::string L = "\n";
  EXPECT_EQ(Run(10, METHOD_XX, true),
            "#!/bin/sh" + L + "#" + L + "# This is a shell archive. Cut everything off before" + L +
                "# the #!/bin/sh and feed the rest to /bin/sh" + L + "#" + L + "part=1" + L + "file=abc.txt" + L +
                "sed -e '1d' -e '$d' << \\End_of_Section > \"$file.uue.$part\"" + L +
                "BEGIN------------ abc.txt ------------ part 1/1 ---" + L + "begin 644 abc.txt" + L + "#86)C" + L +
                "`" + L + "end" + L + "END-------------- abc.txt ------------ part 1/1 ---" + L + "End_of_Section" + L +
                "echo \"$file, part $part extracted.\"" + L +
                "n=0; for f in \"$file\".uue.[0-9]*; do [ -f \"$f\" ] && n=`expr $n + 1`; done" + L +
                "if [ $n = 1 ]; then " + L +
                "i=1; while [ $i -le 1 ]; do cat \"$file.uue.$i\"; i=`expr $i + 1`; done | uudecode" + L +
                "if [ $? -gt 0 ]; then" + L + "  echo Error encountered when uudecoding pieces..." + L + "exit 1" + L +
                "fi" + L + "echo \"$file successfully uudecoded. Removing uuencoded pieces.\"" + L +
                "rm \"$file\".uue.[0-9]*" + L + "fi" + L + "exit 0" + L);
  EXPECT_TRUE(PathExists(dir.File("abc.uue")));
}

TEST_F(EncodeStylesTest, XFile) {
  EXPECT_EQ(Run(11), "X-File-Name: abc.txt" + E + "X-Part: 1" + E + "X-Part-Total: 1" + E + E +
                         "BEGIN------------------------cut here------------------------" + E + BODY +
                         "END------------------------cut here--------------------------" + E);
}

TEST_F(EncodeStylesTest, Koltar) {
  EXPECT_EQ(Run(12), "abc.txt    section  1/1   KOLTAR 2.0 by Orvanta, Inc." + E + E +
                         "BEGIN----------------------CUT HERE--------------------------" + E + BODY +
                         "END------------------------CUT HERE--------------------------" + E + E);
}

TEST_F(EncodeStylesTest, Wincode) {
  EXPECT_EQ(Run(13), "section 1/1   file abc.txt   [ Wincode v2.3 ]" + E + E + BODY +
                         "section 1/1   file abc.txt   [ Wincode v2.3 ]" + E + E + E);
}

TEST_F(EncodeStylesTest, Post120) {
  EXPECT_EQ(Run(14), "POST V1.2.0 abc.txt (Part 1/1)" + E + E + "BEGIN -- Cut Here -- cut here" + E + BODY +
                         "END -- Cut Here -- cut here" + E + E);
}

TEST_F(EncodeStylesTest, XmitBin) {
  EXPECT_EQ(Run(16), "BEGIN --- CUT HERE --- Cut Here --- cut here --- abc.txt 1/1" + E + BODY +
                         "END --- CUT HERE --- Cut Here --- cut here --- abc.txt 1/1" + E + E);
}

TEST_F(EncodeStylesTest, Bitftp) {
  EXPECT_EQ(Run(17), "Subject: abc.txt, Part 001 of 001 (UUencoded)" + E + E +
                         "The following line should contain ASCII characters 0x20-0x5F" + E +
                         "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_ " + E + E + BODY + E + E +
                         E);
}

TEST_F(EncodeStylesTest, Rem) {
  EXPECT_EQ(Run(20), "section 1 of uuencode 5.24 of file abc.txt    by Orvanta, Inc." + E + E + BODY + E + E);
  EXPECT_EQ(std::string(g_encoder.subject), "* Zentrel32 *; UU; abc.txt; 1 of 1");
}

TEST_F(EncodeStylesTest, SinglePartWithChecksums) {
  // No empty line before the section line; "begin" to "end" wording; then the whole file.
  EXPECT_EQ(Run(3, METHOD_UU, true, true),
            BODY + "sum -r/size 20442/30 section (from \"begin\" to \"end\")" + E +
                "sum -r/size 16556/3 entire input file" + E);
}

TEST_F(EncodeStylesTest, NonEncodingStylesWriteNoFrames) {
  EXPECT_EQ(Run(15), BODY);
}

TEST_F(EncodeStylesTest, NoStyleIsMinusOneAndShowsNothing) {
  Settings(METHOD_UU, 0);
  EXPECT_EQ(Encode(Input("abc.txt", "abc")), -1);
  EXPECT_TRUE(g_ui.messages.empty());
  EXPECT_TRUE(g_ui.outputsMade.empty());
}

// Every style the table marks encodable writes a part that the decoder reads back exactly
// (the byte-exact texts are above); the table's count is the fifteen styles they cover.
// Where names are UTF-8, a name beyond ASCII comes back too in every style: the headers
// and begin lines carry it whole (elsewhere they carry the file system's 8.3 form).
TEST_F(EncodeStylesTest, EveryEncodableStyleHasItsTest) {
  int encodable = 0;
  std::vector<std::string> names = {"abc.txt"};
  if (ProgramUsesUtf8()) names.push_back("r\xC3\xA9sum\xC3\xA9-\xE6\x97\xA5\xE6\x9C\xAC.pdf");
  for (const std::string& name : names)
  for (int style = 0; style < HEADER_STYLE_COUNT; ++style) {
    if (!HeaderStyleTable[style].encoding) continue;
    encodable += name == names[0];
    inputName = name;
    // The decode of the style before shares the job state and the part table.
    ResetJobState();
    ClearPartTable();
    g_ui.Reset();
    const std::string text = Run(style);
    for (const std::string& made : g_ui.outputsMade) DeleteFileA(made.c_str());
    ScratchDir back;
    const std::string part = back.File("part.txt");
    WriteWholeFile(part, text);
    g_ui.Reset();
    ResetJobState();
    std::snprintf(g_job.inputPath, sizeof g_job.inputPath, "%s", part.c_str());
    ClearPartTable();
    EXPECT_EQ(DecodeFile(nullptr, StreamOpenForReading(part.c_str(), STREAM_TEXT), 0), 0) << style;
    EXPECT_EQ(ReadWholeFile(back.File(name)), "abc") << style << " " << name;
  }
  EXPECT_EQ(encodable, 15);  // 3-14, 16, 17, 20
}

}  // namespace
