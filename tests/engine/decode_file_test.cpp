// DecodeFile end to end on files: single files in mail text, several files in one input,
// multi-part postings in any order, missing and duplicate parts, the output location, the
// checksum lines, refusals and the left-open decisions.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/name_charsets.h"
#include "core/names.h"
#include "core/ui.h"
#include "decode/checksum_verify.h"
#include "decode/input_order.h"
#include "decode/join_parts.h"
#include "decode/partial_messages.h"
#include "encode/alphabets.h"
#include "encode/encode_driver.h"
#include "encode/checksum.h"
#include "encode/header_styles.h"
#include "tests/engine/decode_fixture.h"
#include "tests/engine/encoded_parts.h"

namespace {

const char kMailHead[] = "From: someone@example.org\nSubject: the file\n\nHere it is.\n\n";
const char kSignature[] = "\n-- \nSomeone, somewhere\n";

class DecodeFileTest : public DecodeTest {
 protected:
  // Encodes `bytes` with our encoder in `style` and returns the parts' texts in order.
  std::vector<std::string> EncodeParts(const std::string& bytes, int style, int method = METHOD_UU) {
    std::vector<std::string> parts = EncodeWithChecksums(dir.File("data.bin"), bytes, style, method);
    EXPECT_FALSE(parts.empty());
    return parts;
  }
  std::string Output(const std::string& name) { return ReadWholeFile(dir.File(name)); }
};

// The line ends of Unix, DOS and the old Mac (CR alone) in the data; the mail text keeps LF.
TEST_F(DecodeFileTest, SingleUuFileInMailTextWithEitherLineEnd) {
  const std::string bytes = Pattern(1000);
  for (const char* eol : {"\n", "\r\n", "\r"}) {
    const std::string in = Input("mail.txt", kMailHead + Uuencode("out.bin", bytes, eol) + kSignature);
    ASSERT_EQ(Decode(in), 0) << g_decode.errorText;
    EXPECT_EQ(Output("out.bin"), bytes);
    EXPECT_FALSE(g_job.qualifiedResult);
    EXPECT_EQ(g_decode.actualSize, 1000);
    DeleteFileA(dir.File("out.bin").c_str());
  }
}

TEST_F(DecodeFileTest, ProgressOfAShortInputStaysWithin100) {
  ASSERT_EQ(Decode(Input("short.uue", Uuencode("s.bin", "abc"))), 0);
  ASSERT_FALSE(g_ui.progress.empty());
  EXPECT_EQ(*std::max_element(g_ui.progress.begin(), g_ui.progress.end()), 100);
}

// Inputs of 2 GiB and more (sparse files: a line, then a hole) are neither refused nor
// shown with a negative or a runaway percentage; the job is cancelled after 1/64 of it.
TEST_F(DecodeFileTest, ProgressOfInputsBeyondTwoAndFourGiBFollowsTheBytesRead) {
  const long long GiB = 1LL << 30;
  for (long long size : {5 * GiB / 2, 9 * GiB / 2}) {
    const std::string path = Input("huge.txt", "nothing encoded here\n");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LONG high = static_cast<LONG>((size - 1) >> 32);
    SetFilePointer(file, static_cast<LONG>((size - 1) & 0xFFFFFFFF), &high, FILE_BEGIN);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, "\n", 1, &written, nullptr));
    CloseHandle(file);
    g_ui.Reset();
    g_job.cancelRequested = false;
    g_ui.onPump = [size](int) {
      if (g_decode.bytesRead >= size / 64) g_job.cancelRequested = true;
    };
    Decode(path);
    ASSERT_FALSE(g_ui.progress.empty()) << size;
    EXPECT_GE(*std::min_element(g_ui.progress.begin(), g_ui.progress.end()), 0) << size;
    const int last = g_ui.progress.back();
    EXPECT_TRUE(last >= 1 && last <= 3) << size << " bytes, " << last << "% shown";
    DeleteFileA(path.c_str());
  }
}

TEST_F(DecodeFileTest, WincodeBase64EndsAtItsBlankLine) {
  // The blank line that ends base64 data once left the Wincode states looking at it forever.
  const std::string text = "section 1/1 file w.bin\n\nQUJD\n\n\nsection 1/1 file w.bin\n";
  ASSERT_EQ(Decode(Input("w.txt", text), 0, TYPE_MIME), 0) << g_decode.errorText;
  EXPECT_EQ(Output("w.bin"), "ABC");
}

TEST_F(DecodeFileTest, TwoFilesInOneInputMakeTwoOutputs) {
  const std::string a = Pattern(300, 1), b = Pattern(500, 2);
  const std::string in = Input("two.txt", Uuencode("a.bin", a) + "\nbetween\n" + Uuencode("b.bin", b));
  ASSERT_EQ(Decode(in), 0) << g_decode.errorText;
  EXPECT_EQ(Output("a.bin"), a);
  EXPECT_EQ(Output("b.bin"), b);
  EXPECT_EQ(std::string(FileNamePart(g_decode.outputName)), "b.bin");

  // With checksum lines, the second file's sums are its own: they once added to the first's.
  DeleteFileA(dir.File("a.bin").c_str());
  DeleteFileA(dir.File("b.bin").c_str());
  const std::string withSums = EncodeWithChecksums(dir.File("a.bin"), a, STYLE_SINGLE)[0] + "\nbetween\n" +
                               EncodeWithChecksums(dir.File("b.bin"), b, STYLE_SINGLE)[0];
  ASSERT_EQ(Decode(Input("sums.txt", withSums)), 0) << g_decode.errorText;
  EXPECT_EQ(Output("b.bin"), b);
  EXPECT_EQ(g_decode.wholeExpectedSize, 500);
  EXPECT_NE(g_partTable[0].expectedChecksum, 0u);
  ClearChecksumFound();
  EXPECT_EQ(TestChecksums(nullptr), 0);
  EXPECT_TRUE(ChecksumFound());
  EXPECT_FALSE(g_job.qualifiedResult);

  // A first file that lost its end line stops at the next begin line, and says so.
  DeleteFileA(dir.File("a.bin").c_str());
  DeleteFileA(dir.File("b.bin").c_str());
  std::string noEnd = Uuencode("a.bin", a);
  noEnd.erase(noEnd.rfind("end"));
  ASSERT_EQ(Decode(Input("noend.txt", noEnd + "\nFrom b@example.org\n\n" + Uuencode("b.bin", b))), 0);
  EXPECT_EQ(Output("a.bin"), a);
  EXPECT_EQ(Output("b.bin"), b);
  EXPECT_STREQ(g_job.resultRemark, "\r\n\r\nMissing 'end' statement.");

  // A first file whose sums disagree taints the run's outcome although the last file is
  // sound; a run with questions names it in its summary.
  g_settings.decodetestchecksum = 1;
  std::string damaged = withSums;
  damaged.replace(damaged.find("sum -r/size ") + 12, 1, damaged[damaged.find("sum -r/size ") + 12] == '9' ? "8" : "9");
  for (int interactive : {0, 1}) {
    DeleteFileA(dir.File("a.bin").c_str());
    DeleteFileA(dir.File("b.bin").c_str());
    g_job.resultRemark[0] = '\0';
    ASSERT_EQ(Decode(Input("damaged.txt", damaged), interactive), 0) << g_decode.errorText;
    EXPECT_EQ(Output("b.bin"), b);
    EXPECT_STREQ(g_job.resultRemark, "\r\n\r\nChecksum error in a.bin.") << "interactive " << interactive;
  }
}

TEST_F(DecodeFileTest, MissingEndDecodesWithARemark) {
  std::string text = Uuencode("x.bin", Pattern(200));
  text.erase(text.rfind("end"));
  ASSERT_EQ(Decode(Input("noend.uue", text)), 0);
  EXPECT_EQ(Output("x.bin"), Pattern(200));
  EXPECT_TRUE(g_job.qualifiedResult);
  EXPECT_STREQ(g_job.resultRemark, "\r\n\r\nMissing 'end' statement.");
}

TEST_F(DecodeFileTest, OutputGoesBesideTheInputWhateverTheCurrentDirectory) {
  ScratchDir elsewhere;
  const std::string in = Input("mail.txt", Uuencode("beside.bin", Pattern(100)));
  const std::filesystem::path was = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere.path());
  const int r = Decode(in);
  // A posting that never names its file: the placeholder name lies beside the input too.
  const std::string unnamed = Input("unnamed.txt", "------------ Part 1 of 1 ------------\nQUJD\n\n"
                                                   "-------- End of part 1 of 1 --------\n");
  const int unnamedResult = Decode(unnamed, 0, TYPE_MIME);
  std::filesystem::current_path(was);
  ASSERT_EQ(r, 0);
  EXPECT_EQ(Output("beside.bin"), Pattern(100));
  ASSERT_EQ(unnamedResult, 0) << g_decode.errorText;
  EXPECT_EQ(Output("DontKnow.Yet"), "ABC");
  EXPECT_EQ(ListFolder(elsewhere.path()), "");
  // A chosen output folder wins.
  g_settings.decodedirselect = DIR_CHOSEN;
  std::snprintf(g_settings.decodedir, sizeof g_settings.decodedir, "%s", elsewhere.path().c_str());
  ASSERT_EQ(Decode(in), 0);
  EXPECT_EQ(ReadWholeFile(elsewhere.File("beside.bin")), Pattern(100));
}

// A mailbox input is a temporary file: the method "by name" learns nothing from its name,
// and the data decides the format, with no question about lines taken for invalid.
TEST_F(DecodeFileTest, AnInputWhoseNameSaysNothingIsDecodedByItsData) {
  g_settings.decodemethod = DECODE_BY_NAME;
  const std::string in = Input("znt1234.tmp", "Subject: photo\r\n\r\n" + Uuencode("photo.jpg", Pattern(3000)));
  ASSERT_EQ(Decode(in, 1), 0) << g_decode.errorText;
  EXPECT_EQ(Output("photo.jpg"), Pattern(3000));
  EXPECT_EQ(g_decode.format, TYPE_UU);
}

TEST_F(DecodeFileTest, NamesFromTheInputCannotEscapeOrNameADevice) {
  const std::string in = Input("evil.txt", Uuencode("../../etc/CON", Pattern(10)) + Uuencode("", Pattern(20)));
  ASSERT_EQ(Decode(in), 0) << g_decode.errorText;
  EXPECT_EQ(Output("_CON"), Pattern(10));
  EXPECT_EQ(Output("_"), Pattern(20));
}

// A 1990s news article names its file in Windows-1252, a mail of today in UTF-8 with
// RFC 2231; both files get their names in the program's code page.
TEST_F(DecodeFileTest, NamesOfEveryEraBecomeNamesOfTheProgramsCodePage) {
  const bool utf8 = ProgramUsesUtf8();
  const std::string article = "Path: news.example.org!not-for-mail\nFrom: jr@example.org (J. R.)\n"
                              "Newsgroups: alt.binaries.misc\nSubject: my CV\n\nAs promised.\n\n" +
                              Uuencode("r\xE9sum\xE9.txt", Pattern(200)) + kSignature;
  const std::string mail = "From someone@example.org Mon Dec  7 10:00:00 2026\n" + std::string(kMailHead) +
                           "--b\nContent-Type: image/jpeg;\n name*=UTF-8''%E6%97%A5%E6%9C%AC%20%E3%83%95.jpg\n"
                           "Content-Transfer-Encoding: base64\n\n" + Base64Lines(Pattern(300)) + "\n--b--\n";
  ASSERT_EQ(Decode(Input("box.txt", article + "\n" + mail)), 0) << g_decode.errorText;
  EXPECT_EQ(Output(utf8 ? "r\xC3\xA9sum\xC3\xA9.txt" : "r\xE9sum\xE9.txt"), Pattern(200));
  EXPECT_EQ(Output(utf8 ? "\xE6\x97\xA5\xE6\x9C\xAC \xE3\x83\x95.jpg" : "__ _.jpg"), Pattern(300));
}

TEST_F(DecodeFileTest, ChecksumLinesAfterEndAreAllRead) {
  const std::string bytes = Pattern(5000);
  const std::vector<std::string> parts = EncodeParts(bytes, STYLE_SINGLE);
  ASSERT_EQ(parts.size(), 1u);
  ASSERT_NE(parts[0].find("section"), std::string::npos);
  ASSERT_EQ(Decode(Input("sums.uue", parts[0])), 0) << g_decode.errorText;
  EXPECT_EQ(Output("data.bin"), bytes);
  EXPECT_EQ(g_decode.wholeExpectedSize, 5000);
  EXPECT_EQ(g_decode.wholeExpectedChecksum, SumBytes(0, bytes.data(), bytes.size()));
  EXPECT_EQ(TestChecksums(nullptr), 0);
  EXPECT_EQ(g_decode.wholeCalculatedChecksum, g_decode.wholeExpectedChecksum);
  EXPECT_NE(g_partTable[0].expectedChecksum, 0u);
  EXPECT_EQ(g_partTable[0].expectedChecksum, g_partTable[0].calculatedChecksum);
  EXPECT_EQ(g_partTable[0].expectedSize, g_partTable[0].calculatedSize);
}

TEST_F(DecodeFileTest, MultiPartInAnyOrderAcrossStyles) {
  ScratchDir temp;
  TemporaryFolderAt redirected(temp.path());
  const std::string bytes = Pattern(20000);
  for (int style : {STYLE_SIMTEL, STYLE_ALT_BINARIES_1, STYLE_X_FILE, STYLE_WINCODE, STYLE_REM, STYLE_COMP_BINARIES}) {
    std::vector<std::string> parts = EncodeParts(bytes, style);
    ASSERT_GE(parts.size(), 3u) << style;
    // In order the parts fill one file, which becomes the output; rotated (3, 4, ..., 1, 2)
    // two runs of them share two files, joined by copying.
    for (int rotation : {0, 2}) {
      std::rotate(parts.begin(), parts.begin() + rotation, parts.end());
      std::string text;
      for (const std::string& p : parts) text += p;
      ASSERT_EQ(Decode(Input("posting.txt", text)), 0) << style << ": " << g_decode.errorText;
      EXPECT_EQ(Output("data.bin"), bytes) << style << " " << rotation;
      EXPECT_EQ(ListFolder(dir.path()) + ListFolder(temp.path()), "data.bin\nposting.txt\n") << style;
      DeleteFileA(dir.File("data.bin").c_str());
    }
  }
}

// A mailbox holds single files and the parts of a posting side by side, in any order: each
// comes out exact.
TEST_F(DecodeFileTest, SingleFilesAmongTheScatteredPartsOfAPostingInOneMailbox) {
  const std::string a = Pattern(700, 1), b = Pattern(900, 2), bytes = Pattern(8000);
  const auto message = [](const std::string& subject, const std::string& body) {
    return "From someone@example.org Tue Mar  3 10:00:00 1998\nSubject: " + subject + "\n\n" + body + kSignature;
  };
  for (int style : {STYLE_SIMTEL, STYLE_COMP_BINARIES}) {
    const std::vector<std::string> parts = EncodeParts(bytes, style);
    ASSERT_EQ(parts.size(), 3u) << style;
    const std::string one = message("a.bin", Uuencode("a.bin", a)), two = message("b.bin", Uuencode("b.bin", b));
    const std::string p1 = message("the archive", parts[0]), p2 = message("the archive", parts[1]),
                      p3 = message("the archive", parts[2]);
    for (const std::string& box : {one + p2 + p3 + two + p1, p3 + one + p1 + two + p2}) {
      ASSERT_EQ(Decode(Input("mbox", box)), 0) << style << ": " << g_decode.errorText;
      EXPECT_TRUE(Output("a.bin") == a && Output("b.bin") == b && Output("data.bin") == bytes) << style;
      EXPECT_EQ(g_job.outputCount, 3) << style;
      EXPECT_FALSE(g_job.qualifiedResult) << style;
      EXPECT_EQ(ListFolder(dir.path()), "a.bin\nb.bin\ndata.bin\nmbox\n") << style;
      for (const char* name : {"a.bin", "b.bin", "data.bin"}) DeleteFileA(dir.File(name).c_str());
    }
  }
}

// The final report and the status line read the run's findings from the job state.
TEST_F(DecodeFileTest, TheJobStateCarriesTheFormatStylePartsAndOutput) {
  ASSERT_EQ(Decode(Input("one.txt", Uuencode("one.bin", Pattern(100)))), 0);
  EXPECT_EQ(g_job.encodingType, TYPE_UU);
  EXPECT_EQ(g_job.headerStyle, STYLE_SINGLE);
  EXPECT_EQ(g_job.partCount, 1);
  EXPECT_EQ(std::string(g_job.outputPath), dir.File("one.bin"));
  std::vector<std::string> parts = EncodeParts(Pattern(20000), STYLE_SIMTEL, METHOD_XX);
  std::string text;
  for (const std::string& p : parts) text += p;
  ASSERT_EQ(Decode(Input("post.txt", text)), 0) << g_decode.errorText;
  EXPECT_EQ(g_job.encodingType, TYPE_XX);
  EXPECT_EQ(g_job.headerStyle, STYLE_SIMTEL);
  EXPECT_EQ(g_job.partCount, static_cast<int>(parts.size()));
  EXPECT_EQ(std::string(g_job.outputPath), dir.File("data.bin"));
}

TEST_F(DecodeFileTest, DuplicatePartFailsWithoutOutput) {
  std::vector<std::string> parts = EncodeParts(Pattern(20000), STYLE_SIMTEL);
  ASSERT_GE(parts.size(), 3u);
  const std::string in = Input("dup.txt", parts[0] + parts[1] + parts[1] + parts[2]);
  EXPECT_EQ(Decode(in), RESULT_REPORTED);
  EXPECT_NE(std::string(g_decode.errorText).find("Duplicate Part 2."), std::string::npos) << g_decode.errorText;
  EXPECT_FALSE(PathExists(dir.File("data.bin")));
}

TEST_F(DecodeFileTest, MissingPartsAreListedAndNothingIsWritten) {
  std::vector<std::string> parts = EncodeParts(Pattern(20000), STYLE_SIMTEL);
  ASSERT_EQ(parts.size(), 7u);
  const std::string in = Input("gaps.txt", parts[0] + parts[2] + parts[4] + parts[5] + parts[6]);
  EXPECT_EQ(Decode(in), RESULT_REPORTED);
  EXPECT_TRUE(g_ui.SawMessageContaining("Total Parts Required: 7.\r\nMissing Parts: 2, 4"));
  EXPECT_EQ(ListFolder(dir.path()), "gaps.txt\n");
}

// The list once ran past the message box and was cut inside a number.
TEST_F(DecodeFileTest, MissingPartsAreListedAsRangesThatFitTheMessageBox) {
  g_decode.style = STYLE_SIMTEL;
  struct Case {
    std::vector<int> present;
    std::string missing;
  };
  std::vector<int> odd;
  std::string even;
  for (int n = 1; n <= 99; n += 2) odd.push_back(n);
  for (int n = 2; n <= 98; n += 2) even += (n > 2 ? ", " : "") + std::to_string(n);
  for (const Case& c : {Case{{1}, "2-99"}, Case{{1, 6, 7, 8, 10, 12, 14, 15}, "2-5, 9, 11, 13, 16-99"}, Case{odd, even}}) {
    g_ui.Reset();
    ClearPartTable();
    for (int n : c.present) g_partTable[n - 1].partNumber = n;
    EXPECT_EQ(JoinParts(nullptr, 99, 0, OP_DECODE), RESULT_REPORTED);
    ASSERT_EQ(g_ui.messages.size(), 1u);
    EXPECT_EQ(g_ui.messages[0].text, "Total Parts Required: 99.\r\nMissing Parts: " + c.missing);
    EXPECT_LT(g_ui.messages[0].text.size(), static_cast<size_t>(MESSAGE_ROOM));
  }
}

TEST_F(DecodeFileTest, OneOfOneSubjectDecodesAsSingleFile) {
  const std::string text = "Subject: pic.gif (1/1)\n\n" + Uuencode("pic.gif", Pattern(700)) + kSignature;
  ASSERT_EQ(Decode(Input("post.txt", text)), 0) << g_decode.errorText;
  EXPECT_EQ(Output("pic.gif"), Pattern(700));
  EXPECT_EQ(g_decode.style, STYLE_SINGLE);
}

// Lines of 76 characters, and lines of 76 that each start in the middle of a group (the first
// line has 74), whose groups a decoder taking whole lines must not start afresh.
TEST_F(DecodeFileTest, Base64InMimeMailWithSignature) {
  const std::string bytes = Pattern(600);
  std::string flat = Base64Lines(bytes, "");
  std::string offGroup = flat.substr(0, 74);
  for (size_t at = 74; at < flat.size(); at += 76) offGroup += "\r\n" + flat.substr(at, 76);
  for (const std::string& b64 : {Base64Lines(bytes, "\r\n"), offGroup}) {
    const std::string text = std::string(kMailHead) +
                             "--b\r\nContent-Type: application/octet-stream; name=\"m.bin\"\r\n" +
                             "Content-Transfer-Encoding: base64\r\n\r\n" + b64 + "\r\n\r\n--b--\r\n" + kSignature;
    ASSERT_EQ(Decode(Input("mime.txt", text)), 0) << g_decode.errorText;
    EXPECT_EQ(Output("m.bin"), bytes);
    DeleteFileA(dir.File("m.bin").c_str());
  }
}

TEST_F(DecodeFileTest, InvalidLinesWithoutPromptsAreDecodedAnyway) {
  std::string text = Uuencode("bad.bin", Pattern(90));
  text[text.find('\n') + 5] = 'a';  // a lower-case letter in the first data line
  ASSERT_EQ(Decode(Input("bad.uue", text), 0, TYPE_UU), 0);
  EXPECT_TRUE(g_job.qualifiedResult);
  EXPECT_STREQ(g_job.resultRemark, "\r\n\r\nDecode attempted in spite of integrity errors.");
  EXPECT_EQ(Output("bad.bin").size(), 90u);

  // Data written with blanks for zero values, whose trailing blanks a mail system stripped:
  // a line of zeros is left as its length character alone. It is padded back, not passed
  // over as a line far shorter than it says; the same line in data without blanks is no data.
  // The first blanks come in a line decoded in a run of whole lines.
  const std::string bytes =
      Pattern(45, 1) + std::string(3, '\0') + Pattern(42, 3) + std::string(45, '\0') + Pattern(45, 4);
  std::string blanks = Uuencode("z.bin", bytes);
  std::replace(blanks.begin() + static_cast<long>(blanks.find('\n')), blanks.end(), '`', ' ');
  std::string stripped;
  for (size_t at = 0, end; at < blanks.size(); at = end + 1) {
    end = blanks.find('\n', at);
    const std::string line = blanks.substr(at, end - at);
    stripped += line.substr(0, line.find_last_not_of(' ') + 1) + "\n";
  }
  g_job.qualifiedResult = false;
  ASSERT_EQ(Decode(Input("z.uue", stripped), 0, TYPE_UU), 0) << g_decode.errorText;
  EXPECT_EQ(Output("z.bin"), bytes);
  EXPECT_TRUE(g_job.qualifiedResult);
  const std::string noBlanks = Uuencode("n.bin", Pattern(45, 5) + Pattern(45, 6));
  const size_t second = noBlanks.find('\n', noBlanks.find('\n') + 1) + 1;
  ASSERT_EQ(Decode(Input("n.uue", noBlanks.substr(0, second) + "M\n" + noBlanks.substr(second)), 0, TYPE_UU), 0);
  EXPECT_EQ(Output("n.bin"), Pattern(45, 5) + Pattern(45, 6));
  EXPECT_STREQ(g_job.resultRemark, "\r\n\r\nPossibly not all data included in decoding.");
}

TEST_F(DecodeFileTest, RefusalsReportTheirTexts) {
  EXPECT_EQ(Decode(Input("empty.txt", "")), RESULT_REPORTED);
  EXPECT_TRUE(g_ui.SawMessageContaining("No point in decoding a zero-sized file"));
  EXPECT_EQ(Decode(Input("plain.txt", "just some text\nand more\n")), RESULT_REPORTED);
  EXPECT_NE(std::string(g_decode.errorText).find("Cannot Find Any Encoding Header Information."), std::string::npos);
  EXPECT_EQ(Decode(Input("h.hqx", "(This file must be converted with BinHex 4.0)\n:abc:\n")), RESULT_REPORTED);
  EXPECT_NE(std::string(g_decode.errorText).find("BinHex"), std::string::npos);
  std::string begin = "begin 644 q.bin\nM" + std::string(60, '0') + "\n";
  EXPECT_EQ(Decode(Input("noend.txt", "end\n"), 0, TYPE_UU), RESULT_REPORTED);
  EXPECT_STREQ(g_decode.errorText, "Missing 'begin' and 'end' Statements in noend.txt.");
}

// Binary bytes, NULs and over-long lines around and inside encoded data: the files around
// them decode exactly, a damaged file is exact, marked as damaged or absent, and no file
// (part files included) is left anywhere else.
TEST_F(DecodeFileTest, ArbitraryBytesLongLinesAndNulsAreHandledSafely) {
  ScratchDir temp;
  TemporaryFolderAt redirected(temp.path());
  const std::string junk = std::string(1000, 'M') + "\n" + std::string("M\0\0\0\n", 5) + Pattern(3000) + "\n";
  const std::string a = Pattern(900, 3), b = Pattern(1300, 4), c = Pattern(9000, 5);
  std::string damaged = Uuencode("c.bin", c);
  damaged.insert(damaged.find('\n', damaged.size() / 2) + 1, junk);
  std::vector<std::string> parts = EncodeParts(c, STYLE_SIMTEL);
  ASSERT_EQ(parts.size(), 3u);
  parts[1].insert(parts[1].find("\nM") + 1, junk);
  struct Case {
    std::string text;
    std::vector<std::string> exact;  // outputs that must come out exactly
    std::string output;              // the damaged file's name
  };
  for (const Case& k : {Case{junk + Uuencode("a.bin", a) + junk + Uuencode("b.bin", b) + junk, {"a.bin", "b.bin"}, ""},
                        Case{damaged, {}, "c.bin"}, Case{parts[0] + parts[1] + parts[2], {}, "data.bin"}}) {
    g_ui.Reset();
    ResetJobState();
    const int r = Decode(Input("junk.txt", k.text));
    EXPECT_TRUE(r == 0 || r == RESULT_REPORTED) << r;
    EXPECT_EQ(ListFolder(temp.path()), "");
    std::string listed = "junk.txt\n";
    if (!k.exact.empty()) {
      ASSERT_EQ(r, 0) << g_decode.errorText;
      EXPECT_EQ(Output("a.bin"), a);
      EXPECT_EQ(Output("b.bin"), b);
      listed = "a.bin\nb.bin\n" + listed;
    } else if (r == 0) {
      if (!g_job.qualifiedResult) {
        EXPECT_EQ(Output(k.output), c) << k.output;
      }
      listed = k.output + "\n" + listed;
    }
    EXPECT_EQ(ListFolder(dir.path()), listed) << k.output;
    for (const char* name : {"a.bin", "b.bin", "c.bin", "data.bin"}) DeleteFileA(dir.File(name).c_str());
  }
}

TEST_F(DecodeFileTest, InteractiveMimeCountQuestionAndDeclinedOutput) {
  std::string text = "Content-Type: application/octet-stream; name=c.bin\nContent-Transfer-Encoding: base64\n\n" +
                     std::string(77, 'Q');
  g_ui.answers = {IDNO};
  EXPECT_EQ(Decode(Input("c77.txt", text), 1), RESULT_REPORTED);
  EXPECT_TRUE(g_ui.SawMessageContaining("integral multiple of 4"));
  g_ui.Reset();
  g_ui.makeOutFileResult = -3;
  EXPECT_EQ(Decode(Input("c.txt", Uuencode("d.bin", Pattern(10))), 1), RESULT_DECLINED);
}

TEST_F(DecodeFileTest, CancelDuringJoinLeavesNoOutput) {
  std::vector<std::string> parts = EncodeParts(Pattern(20000), STYLE_SIMTEL);
  // Parts 1 and 2 swapped: they are not in one file with the rest, so the join copies.
  std::swap(parts[0], parts[1]);
  std::string text;
  for (const std::string& p : parts) text += p;
  const std::string in = Input("cancel.txt", text);
  g_ui.onPump = [](int) {
    if (!g_ui.statuses.empty() && g_ui.statuses.back().rfind("Joining Part 2 of", 0) == 0)
      g_job.cancelRequested = true;
  };
  EXPECT_EQ(Decode(in), RESULT_CANCELLED);
  EXPECT_EQ(ListFolder(dir.path()), "cancel.txt\n");
}

// Inputs chosen out of order are joined in the order of the parts they name, read whole
// through the handles their ordering kept open; a join that fails leaves its kept inputs
// for CloseKeptInputs. Under Wine an input still open cannot be deleted.
TEST_F(DecodeFileTest, ConcatenateModeJoinsInputsInPartOrderWithLineEnds) {
  const std::string a = Input("a.txt", "Subject: x (3/3)\nthree"), b = Input("b.txt", "Subject: x (1/3)\none"),
                    c = Input("c.txt", "Subject: x (2/3)\ntwo");
  const std::string* inputs[] = {&a, &b, &c};
  auto chooseAndOrder = [&] {  // the join empties the names of the inputs it appended
    for (int i = 0; i < 3; ++i) {
      g_partTable[i].partNumber = i + 1;
      std::snprintf(g_partTable[i].fileName, sizeof g_partTable[i].fileName, "%s", inputs[i]->c_str());
    }
    OrderInputsByTheirParts(3);
  };
  ClearPartTable();
  std::snprintf(g_decode.outputName, sizeof g_decode.outputName, "%s", dir.File("joined.txt").c_str());
  g_decode.style = STYLE_MULTIPLE_INPUTS;
  chooseAndOrder();
  ASSERT_EQ(JoinParts(nullptr, 3, 0, OP_CONCATENATE), 0);
  EXPECT_EQ(Output("joined.txt"), "Subject: x (1/3)\none\r\nSubject: x (2/3)\ntwo\r\nSubject: x (3/3)\nthree\r\n");
  EXPECT_EQ(Output("a.txt"), "Subject: x (3/3)\nthree");  // the inputs stay
  chooseAndOrder();
  g_partTable[2].partNumber = 0;
  EXPECT_EQ(JoinParts(nullptr, 3, 0, OP_CONCATENATE), RESULT_REPORTED);  // part 2 is missing
  CloseKeptInputs();
  for (const std::string* input : inputs) EXPECT_TRUE(DeleteFileA(input->c_str())) << *input;
}

}  // namespace

// The type of a message/partial message is found wherever it lies, whatever its case: at
// each of the places the search may look at first, and across the end of a read block.
TEST_F(DecodeFileTest, AMessagePartialTypeIsFoundAtAnyPlaceAndInAnyCase) {
  const std::string message = "Content-Type: Message/PARTIAL; id=\"p@x\"; number=1; total=2\n\nbody\n";
  const size_t typeAt = message.find("Message/");
  std::vector<size_t> places;
  for (size_t k = 0; k < 16; ++k) places.push_back(100 + k);
  for (size_t k = 0; k < 18; ++k) places.push_back(STREAM_PROGRAM_BUFFER_SIZE - 16 + k);
  for (const size_t place : places) {
    std::string text;  // lines of filler, then the blank line before a message's header
    for (size_t i = 0; i + 2 < place - typeAt; ++i) text += i % 61 == 60 ? '\n' : 'A';
    text += "\n\n" + message;
    const int s = StreamOpenForReading(Input("box", text).c_str(), STREAM_TEXT);
    UsedRegions used;
    PartialMessages partials;
    EXPECT_EQ(partials.Collect(nullptr, s, used), RESULT_DONE);
    StreamClose(s);
    EXPECT_TRUE(partials.Any()) << "type at " << place;
  }
}

// The search that a concatenation feeds as it writes finds the type across the seams of
// pieces of every size, down to single bytes, and no near miss.
TEST(PartialWordSearchTest, FindsTheTypeAcrossPiecesOfAnySize) {
  auto fed = [](const std::string& text, size_t piece) {
    PartialWordSearch search;
    for (size_t at = 0; at < text.size(); at += piece) {
      const size_t n = std::min(piece, text.size() - at);
      const std::vector<unsigned char> one(text.begin() + at, text.begin() + at + n);  // a block of its own
      search.Feed(one.data(), n);
    }
    return search.Found();
  };
  const std::string filler(40, 'Q');
  for (size_t piece = 1; piece <= 33; ++piece) {
    EXPECT_TRUE(fed(filler + "Content-Type: MESSAGE/Partial;" + filler, piece)) << "pieces of " << piece;
    EXPECT_FALSE(fed(filler + "Content-Type: message/partia1;" + filler, piece)) << "pieces of " << piece;
  }
}

// A MIME message split into message/partial messages of `count` parts at line boundaries,
// each with an outer header that would mislead the other passes (a designation, a MIME type).
std::vector<std::string> SplitIntoPartials(const std::string& message, int count, const std::string& id) {
  std::vector<std::string> parts;
  const size_t step = message.size() / static_cast<size_t>(count) + 1;
  size_t start = 0;
  for (int n = 1; n <= count; ++n) {
    size_t end = n == count ? message.size() : message.find('\n', start + step) + 1;
    const std::string number = std::to_string(n), total = std::to_string(count);
    parts.push_back("From poster@example.net Sat Mar  2 10:00:00 2024\nFrom: poster@example.net\nSubject: pic (" +
                    number + "/" + total + ")\nMIME-Version: 1.0\nContent-Type: message/partial;\n\tid=\"" + id +
                    "\"; number=" + number + (n == count ? "; total=" + total : "") + "\n\n" +
                    message.substr(start, end - start) + "\n");
    start = end;
  }
  return parts;
}

// The parts of two ids in one mailbox, in any order and among other mail, give the files
// their enclosed messages carry; a part seen twice counts once. A part missing, or the
// last one (the only one that must state the total), is reported and leaves no file: part
// 1's own attachment header must not give a truncated file either.
TEST_F(DecodeFileTest, MessagePartialPartsAreJoinedOrReported) {
  const std::string a = Pattern(9000, 3), b = Pattern(6000, 4);
  const auto enclosed = [](const std::string& name, const std::string& bytes) {
    return "Message-ID: <x@example.net>\nSubject: " + name + "\nContent-Type: application/octet-stream; name=\"" + name +
           "\"\nContent-Transfer-Encoding: base64\n\n" + Base64Lines(bytes) + "\n";
  };
  const std::vector<std::string> pa = SplitIntoPartials(enclosed("a.bin", a), 3, "a@x");
  const std::vector<std::string> pb = SplitIntoPartials(enclosed("b.bin", b), 2, "b@x");
  const std::string chat = "From friend@example.org Sat Mar  2 11:00:00 2024\nSubject: photos\n\nWhere is part 2?\n\n";
  const std::string uu = "From friend@example.org Sat Mar  2 12:00:00 2024\nSubject: c.bin\n\n" +
                         Uuencode("c.bin", Pattern(500, 5)) + "\n";
  // Part 1 of a saved as an article, after a line of the newsreader's and no blank line.
  const std::string article = "Article 7 of alt.binaries.test:\n" + pa[0].substr(pa[0].find('\n') + 1);
  ASSERT_EQ(Decode(Input("mbox", pa[2] + pb[1] + chat + article + uu + pa[2] + pb[0] + pa[1])), 0) << g_decode.errorText;
  EXPECT_TRUE(Output("a.bin") == a && Output("b.bin") == b && Output("c.bin") == Pattern(500, 5));
  EXPECT_EQ(g_job.outputCount, 3);
  EXPECT_FALSE(g_job.qualifiedResult);
  EXPECT_EQ(ListFolder(dir.path()), "a.bin\nb.bin\nc.bin\nmbox\n");  // no part or joined file left
  for (const char* name : {"a.bin", "b.bin", "c.bin"}) DeleteFileA(dir.File(name).c_str());

  struct Case {
    std::string box, message;
  };
  for (const Case& c : {Case{pa[2] + chat + pa[0], "Total Parts Required: 3.\r\nMissing Parts: 2"},
                        Case{pa[1] + pa[0], "Number of Parts Could Not be Determined"}}) {
    g_ui.Reset();
    EXPECT_EQ(Decode(Input("mbox", c.box)), RESULT_REPORTED);
    EXPECT_TRUE(g_ui.SawMessageContaining(c.message)) << c.message;
    EXPECT_EQ(ListFolder(dir.path()), "mbox\n");
  }
}
