// The encode driver (file destination), with the faults a naive reading of the layout
// rules would have, and the output names.
#include <cstring>
#include <string>
#include <vector>

#include "encode/alphabets.h"
#include "encode/checksum.h"
#include "encode/encoder_state.h"
#include "core/names.h"
#include "encode/name_forms.h"
#include "encode/part_frames.h"
#include "tests/engine/encode_fixture.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool IsFrame(const std::string& l) {
  return l.empty() || l.rfind("BEGIN", 0) == 0 || l.rfind("END", 0) == 0 || l.rfind("begin ", 0) == 0 ||
         l == "end" || l.rfind("sum -r", 0) == 0 || l.rfind("Archive-name", 0) == 0 || l.rfind("----", 0) == 0 ||
         l.rfind("--------", 0) == 0;
}

// A small UU decoder of the data lines of the parts, in order (test oracle).
std::string DecodeUu(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& part : parts)
    for (const std::string& l : Lines(part)) {
      if (IsFrame(l)) continue;
      auto v = [&](size_t i) { return i < l.size() ? (l[i] - 0x20) & 63 : 0; };
      int n = v(0);
      for (int i = 0, c = 1; i < n; i += 3, c += 4) {
        int a = v(c), b = v(c + 1), d = v(c + 2), e = v(c + 3);
        out += static_cast<char>((a << 2) | (b >> 4));
        if (i + 1 < n) out += static_cast<char>(((b & 15) << 4) | (d >> 2));
        if (i + 2 < n) out += static_cast<char>(((d & 3) << 6) | e);
      }
    }
  return out;
}

std::vector<std::string> Outputs() {
  std::vector<std::string> texts;
  for (const std::string& p : g_ui.outputsMade) texts.push_back(ReadWholeFile(p));
  return texts;
}

class EncodeDriverTest : public EncodeTest {};

TEST_F(EncodeDriverTest, LayoutOfAOneMegabyteInput) {
  ResetEncoderState(ENCODE_UU, 4);
  g_settings.encodechecksum = 0;
  const uint32_t overhead = HeaderEstimate(4) + TrailerEstimate(4);
  EXPECT_EQ(overhead, 56u);
  PartLayout layout = ComputePartLayout(1048576, 60000, overhead);
  EXPECT_EQ(layout.lines, 952u);
  EXPECT_EQ(layout.formulaParts, 25);
  EXPECT_EQ(layout.parts, 25);
}

TEST_F(EncodeDriverTest, OneMebibyteInStyle4GivesTwentyFiveParts) {
  Settings(METHOD_UU, 4);
  const std::string data = Bytes(1048576);
  EXPECT_EQ(Encode(Input("big.bin", data)), 0);
  std::vector<std::string> parts = Outputs();
  ASSERT_EQ(parts.size(), 25u);
  EXPECT_EQ(g_ui.outputsMade[0], dir.File("big1.uue"));
  EXPECT_EQ(g_ui.outputsMade[24], dir.File("big25.uue"));
  // A full part holds 953 encoded lines (part 1 also the begin line).
  int dataLines = 0;
  for (const std::string& l : Lines(parts[1])) dataLines += !IsFrame(l);
  EXPECT_EQ(dataLines, 953);
  EXPECT_EQ(DecodeUu(parts), data);
  EXPECT_NE(parts[24].find("`\r\nend\r\n"), std::string::npos);
  EXPECT_EQ(g_ui.progress.back(), 100);
}

TEST_F(EncodeDriverTest, PartCountFaultEveryHeaderAnnouncesThePartsWritten) {
  // A naive driver: N = 75 but only 74 parts are written and none carries "end".
  Settings(METHOD_UU, 5, false, 4500);
  const std::string data = Bytes(236431, 7);
  ResetEncoderState(ENCODE_UU, 5);
  g_settings.encodecrlf = EOL_LF;
  EXPECT_EQ(Encode(Input("odd.bin", data)), 0);
  std::vector<std::string> parts = Outputs();
  ASSERT_FALSE(parts.empty());
  const int n = static_cast<int>(parts.size());
  for (int k = 1; k <= n; ++k) {
    const std::string header = "------------ Part " + std::to_string(k) + " of " + std::to_string(n) + " ------------\n";
    EXPECT_EQ(parts[k - 1].rfind(header, 0), 0u) << k;
    EXPECT_EQ(parts[k - 1].find("\nend\n") != std::string::npos, k == n) << k;
  }
  EXPECT_NE(parts.back().find("`\nend\n"), std::string::npos);
  EXPECT_EQ(DecodeUu(parts), data);
}

TEST_F(EncodeDriverTest, Style4PartCountAt236431Bytes) {
  ResetEncoderState(ENCODE_UU, 4);
  g_settings.encodecrlf = EOL_LF;
  ResetEncoderState(ENCODE_UU, 4);
  const uint32_t overhead = HeaderEstimate(4) + TrailerEstimate(4);
  PartLayout layout = ComputePartLayout(236431, 4500, overhead);
  EXPECT_EQ(layout.formulaParts, 75);
  EXPECT_EQ(layout.parts, 73);  // 73 parts of L + 1 lines, the last with "end"
  Settings(METHOD_UU, 4, false, 4500);
  const std::string data = Bytes(236431, 3);
  EXPECT_EQ(Encode(Input("fault.bin", data)), 0);
  std::vector<std::string> parts = Outputs();
  ASSERT_EQ(parts.size(), 73u);
  EXPECT_NE(parts.back().find("`\nend\n"), std::string::npos);
  EXPECT_EQ(DecodeUu(parts), data);
}

TEST_F(EncodeDriverTest, LayoutKeepsTheFormulaWhereItWorks) {
  for (uint32_t size : {1u, 45u, 46u, 3195u, 3196u, 100000u, 200000u, 300000u})
    for (uint32_t limit : {4500u, 10000u, 60000u}) {
      PartLayout l = ComputePartLayout(size, limit, 54);
      const uint64_t reads = (size + 44ull) / 45 + 1;
      const int64_t started = static_cast<int64_t>((reads + l.lines) / (l.lines + 1));
      if (started == l.formulaParts || started + 1 == l.formulaParts) EXPECT_EQ(l.parts, l.formulaParts);
      else EXPECT_EQ(l.parts, started);
    }
  // A limit below the overhead does not wrap.
  PartLayout tiny = ComputePartLayout(1000, 10, 500);
  EXPECT_EQ(tiny.lines, 1u);
}

TEST_F(EncodeDriverTest, EmptyInputInASplittingStyleIsOnePartWithEnd) {
  Settings(METHOD_UU, 4);
  EXPECT_EQ(Encode(Input("empty.dat", "")), 0);
  std::vector<std::string> parts = Outputs();
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(g_ui.outputsMade[0], dir.File("empty.uue"));
  EXPECT_EQ(parts[0], "Archive-name: empty/part01\r\nBEGIN--cut here--cut here--\r\nbegin 644 empty.dat\r\n`\r\nend\r\n"
                      "END--cut here--cut here\r\n");
}

TEST_F(EncodeDriverTest, ExactMultipleOfAPart) {
  Settings(METHOD_UU, 5, true, 10000);
  ResetEncoderState(ENCODE_UU, 5);
  PartLayout l = ComputePartLayout(1, 10000, HeaderEstimate(5) + TrailerEstimate(5));
  const std::string data = Bytes(45 * l.lines * 3, 5);
  EXPECT_EQ(Encode(Input("m.bin", data)), 0);
  std::vector<std::string> parts = Outputs();
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_NE(parts[2].find("`\r\nend\r\n"), std::string::npos);
  EXPECT_EQ(DecodeUu(parts), data);
}

TEST_F(EncodeDriverTest, CancelDuringPart3Of5DeletesEverything) {
  Settings(METHOD_UU, 5, true, 4500);
  std::string in = Input("c.bin", Bytes(3195 * 5 - 100));
  g_ui.onPump = [](int) {
    if (g_ui.outputsMade.size() == 3) g_job.cancelRequested = true;
  };
  EXPECT_EQ(Encode(in), 1);
  EXPECT_EQ(g_ui.outputsMade.size(), 3u);
  EXPECT_EQ(ListFolder(dir.path()), "c.bin\n");
  EXPECT_FALSE(EncodeOutputIsOpen());
}

TEST_F(EncodeDriverTest, TooManyPartsIsRefusedBeforeAnyOutput) {
  Settings(METHOD_UU, 5, true, 4500);
  EXPECT_EQ(Encode(Input("t.bin", Bytes(3195 * 100))), -2);
  EXPECT_TRUE(g_ui.outputsMade.empty());
  ASSERT_EQ(g_ui.messages.size(), 1u);
  EXPECT_NE(g_ui.messages[0].text.find("Too Many Output Parts for "), std::string::npos);
  EXPECT_NE(g_ui.messages[0].text.find("with\r\nSize 319500 and Output Limit of 4500\r\nMaximum Parts 99; Required Parts"),
            std::string::npos);
  EXPECT_EQ(g_ui.messages[0].flags & 0xF0u, static_cast<unsigned>(MB_ICONHAND));
}

TEST_F(EncodeDriverTest, OutputLimitOutsideTheRangeIsClamped) {
  Settings(METHOD_UU, 5, true, 10);
  EXPECT_EQ(Encode(Input("w.bin", Bytes(10000))), 0);
  EXPECT_EQ(Outputs().size(), 4u);  // as with 4500: 10000 bytes need parts of 71 lines
}

TEST_F(EncodeDriverTest, OutputLimitAboveTheRangeIsClamped) {
  Settings(METHOD_UU, 5, true, 5000000);
  EXPECT_EQ(Encode(Input("h.bin", Bytes(2000000))), 0);
  EXPECT_EQ(Outputs().size(), 3u);  // as with 1048576: 16644 lines of 45 bytes a part
}

TEST_F(EncodeDriverTest, OneInputToTheClipboardIsOnePartWhateverTheLimit) {
#ifdef _WIN32
  GTEST_SKIP() << "on the real clipboard in tests/win32/clipboard_destination_test.cpp";
#endif
  // Native builds have no clipboard: the hand-over fails and releases the text.
  Settings(METHOD_UU, 4, true, 4500);
  g_job.clipboardOutput = true;
  EXPECT_EQ(Encode(Input("clip.bin", Bytes(20000))), -2);
  EXPECT_EQ(g_job.partCount, 1);
  EXPECT_TRUE(g_ui.outputsMade.empty());
  EXPECT_FALSE(g_job.clipboardOutput);
  EXPECT_EQ(ListFolder(dir.path()), "clip.bin\n");
}

TEST_F(EncodeDriverTest, SingleStylesIgnoreTheLimit) {
  for (int method : {METHOD_UU, METHOD_MIME, METHOD_BINHEX}) {
    g_ui.Reset();
    Settings(method, method == METHOD_UU ? 3 : 4, true, 4500);
    EXPECT_EQ(Encode(Input("s.bin", Bytes(50000))), 0);
    EXPECT_EQ(g_ui.outputsMade.size(), 1u) << method;
  }
}

TEST_F(EncodeDriverTest, ClipboardWithTwoInputsLeftIsRefused) {
  Settings(METHOD_UU, 3);
  g_job.clipboardOutput = true;
  EXPECT_EQ(Encode(Input("a.bin", "abc"), 0, 0, 2), -2);
  ASSERT_EQ(g_ui.messages.size(), 1u);
  EXPECT_EQ(g_ui.messages[0].text,
            "Encoding to Clipboard is not Supported for Multiple Enclosures.\r\nPlease Choose One File at a Time.");
  EXPECT_TRUE(g_ui.progress.empty());
}

TEST_F(EncodeDriverTest, RefusedOutputIsPassedThrough) {
  Settings(METHOD_UU, 3);
  g_ui.makeOutFileResult = -3;
  EXPECT_EQ(Encode(Input("a.bin", "abc")), -3);
  EXPECT_EQ(ListFolder(dir.path()), "a.bin\n");
}

TEST_F(EncodeDriverTest, SplitPartsAskOnceBeforeReplacingAnyFile) {
  // Asked part by part, a No at part 2 would leave a new part 1 (or none) over the old one.
  Settings(METHOD_UU, 5, true, 4500);
  WriteWholeFile(dir.File("rep1.uue"), "keep 1");
  WriteWholeFile(dir.File("rep2.uue"), "keep 2");
  std::string in = Input("rep.txt", Bytes(8000));
  g_ui.answers = {IDNO};
  EXPECT_EQ(Encode(in, 1), -3);
  ASSERT_EQ(g_ui.messages.size(), 1u);
  EXPECT_EQ(g_ui.messages[0].text, "Overwrite Existing " + dir.File("rep1.uue") + "\r\n" + dir.File("rep2.uue"));
  EXPECT_EQ(ReadWholeFile(dir.File("rep1.uue")), "keep 1");
  EXPECT_EQ(ReadWholeFile(dir.File("rep2.uue")), "keep 2");
  EXPECT_FALSE(PathExists(dir.File("rep3.uue")));
  g_ui.Reset();
  g_ui.answers = {IDYES};
  EXPECT_EQ(Encode(in, 1), 0);
  EXPECT_EQ(g_ui.messages.size(), 1u) << "one question for the whole set";
  EXPECT_EQ(DecodeUu(Outputs()), ReadWholeFile(in));
}

// A shell archive ends with "exit 0": each input of a selection is an archive of its own.
TEST_F(EncodeDriverTest, ShellArchivesOfASelectionAreFilesOfTheirOwn) {
  Settings(METHOD_UU, 10);
  EXPECT_EQ(Encode(Input("a.txt", "abc"), 0, 0, 2), 0);
  EXPECT_EQ(Encode(Input("b.txt", "xyz"), 0, 1, 2), 0);
  EXPECT_FALSE(EncodeOutputIsOpen());
  const std::vector<std::string> texts = Outputs();
  ASSERT_EQ(texts.size(), 2u);
  const char* inputs[] = {"a.txt", "b.txt"};
  for (int i = 0; i < 2; ++i) {
    const std::string& text = texts[static_cast<size_t>(i)];
    EXPECT_EQ(text.find("exit 0\n"), text.size() - 7) << text;
    EXPECT_EQ(text.find("begin 644 "), text.rfind("begin 644 ")) << "one file per archive";
    EXPECT_NE(text.find(std::string("begin 644 ") + inputs[i]), std::string::npos) << text;
  }
}

// The last input of a selection fails: the shared MIME output still gets its closing boundary.
TEST_F(EncodeDriverTest, ASharedMimeOutputIsClosedWhenTheLastInputFails) {
  Settings(METHOD_MIME, 3);
  EXPECT_EQ(Encode(Input("a.txt", "aaa"), 0, 0, 2), 0);
  g_ui.onPump = [](int) { g_job.cancelRequested = true; };
  EXPECT_EQ(Encode(Input("b.txt", Bytes(1000)), 0, 1, 2), 1);
  const std::string t = ReadWholeFile(dir.File("a.mme"));
  const std::string closing = "\r\n--3_boundary_fffffffe--";
  ASSERT_GE(t.size(), closing.size());
  EXPECT_EQ(t.substr(t.size() - closing.size()), closing) << t;
  EXPECT_EQ(t.find("b.txt"), std::string::npos);
}

TEST_F(EncodeDriverTest, ThreeInputsIntoOneSinglePartOutput) {
  Settings(METHOD_UU, 3);
  std::string a = Input("a.txt", "abc"), b = Input("b.txt", "abc"), c = Input("c.txt", "abc");
  EXPECT_EQ(Encode(a, 0, 0, 3), 0);
  EXPECT_TRUE(EncodeOutputIsOpen());
  // Every input's job names the output it went to (the shell clears the name between jobs).
  int index = 1;
  for (const std::string& later : {b, c}) {
    g_job.outputPath[0] = '\0';
    EXPECT_EQ(Encode(later, 0, index++, 3), 0);
    EXPECT_EQ(std::string(g_job.outputPath), dir.File("a.uue"));
  }
  EXPECT_FALSE(EncodeOutputIsOpen());
  ASSERT_EQ(g_ui.outputsMade.size(), 1u);
  auto text = [](const char* n) { return std::string("begin 644 ") + n + "\r\n#86)C\r\n`\r\nend\r\n"; };
  EXPECT_EQ(ReadWholeFile(dir.File("a.uue")),
            text("a.txt") + "\r\n\r\n\r\n" + text("b.txt") + "\r\n\r\n\r\n" + text("c.txt"));
}

TEST_F(EncodeDriverTest, MimeThreeInputsShareOneBoundary) {
  Settings(METHOD_MIME, 3);
  std::string a = Input("a.txt", std::string(1000, 'a')), b = Input("b.txt", "bb"), c = Input("c.txt", "c");
  EXPECT_EQ(Encode(a, 0, 0, 3), 0);
  EXPECT_EQ(Encode(b, 0, 1, 3), 0);
  EXPECT_EQ(Encode(c, 0, 2, 3), 0);
  std::string t = ReadWholeFile(dir.File("a.mme"));
  const std::string boundary = "1000_boundary_fffffc19";
  EXPECT_EQ(t.rfind("MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n", 0), 0u);
  EXPECT_EQ(t.find("MIME-Version", 1), std::string::npos);
  size_t count = 0;
  for (size_t p = t.find("--" + boundary + "\r\n"); p != std::string::npos; p = t.find("--" + boundary + "\r\n", p + 1))
    ++count;
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(t.find("--" + boundary + "--"), t.size() - boundary.size() - 4);
}

TEST_F(EncodeDriverTest, KeptOutputIsClosedWhenTheNextInputNeedsParts) {
  // A naive driver: the next input's parts would land in the open output.
  Settings(METHOD_UU, 5, true, 4500);
  std::string a = Input("a.txt", "abc"), b = Input("b.bin", Bytes(8000));
  EXPECT_EQ(Encode(a, 0, 0, 2), 0);
  EXPECT_TRUE(EncodeOutputIsOpen());
  EXPECT_EQ(Encode(b, 0, 1, 2), 0);
  EXPECT_FALSE(EncodeOutputIsOpen());
  std::string at = ReadWholeFile(dir.File("a.uue"));
  EXPECT_EQ(at, "------------ Part 1 of 1 ------------\r\nbegin 644 a.txt\r\n#86)C\r\n`\r\nend\r\n"
                "-------- End of part 1 of 1 --------\r\n\r\n\r\n\r\n");
  EXPECT_EQ(ReadWholeFile(dir.File("b1.uue")).rfind("------------ Part 1 of 3 ------------\r\nbegin 644 b.bin", 0), 0u);
}

TEST_F(EncodeDriverTest, KeptOutputIsFlushedWhenTheSelectionStops) {
  Settings(METHOD_UU, 3);
  EXPECT_EQ(Encode(Input("a.txt", "abc"), 0, 0, 2), 0);
  EXPECT_TRUE(EncodeOutputIsOpen());
  EncodeCloseOutput();  // the shell: the next input could not be opened
  EXPECT_EQ(ReadWholeFile(dir.File("a.uue")), "begin 644 a.txt\r\n#86)C\r\n`\r\nend\r\n\r\n\r\n\r\n");
}

TEST_F(EncodeDriverTest, StreamShutdownFlushesTheKeptOutput) {
  Settings(METHOD_UU, 3);
  EXPECT_EQ(Encode(Input("a.txt", "abc"), 0, 0, 2), 0);
  EXPECT_TRUE(EncodeOutputIsOpen());
  StreamShutdown();  // the program ends in the middle of a selection
  StreamInit(10, 16384);
  EXPECT_EQ(ReadWholeFile(dir.File("a.uue")), "begin 644 a.txt\r\n#86)C\r\n`\r\nend\r\n\r\n\r\n\r\n");
  EncodeCloseOutput();
  EXPECT_FALSE(EncodeOutputIsOpen());
}

TEST_F(EncodeDriverTest, FailedSecondInputKeepsTheFirstInputsText) {
  // Decision: a failure deletes only what this job created; the kept output is closed.
  Settings(METHOD_UU, 3);
  EXPECT_EQ(Encode(Input("a.txt", "abc"), 0, 0, 2), 0);
  g_ui.onPump = [](int) { g_job.cancelRequested = true; };
  EXPECT_EQ(Encode(Input("b.txt", Bytes(1000)), 0, 1, 2), 1);
  EXPECT_FALSE(EncodeOutputIsOpen());
  EXPECT_EQ(ReadWholeFile(dir.File("a.uue")), "begin 644 a.txt\r\n#86)C\r\n`\r\nend\r\n\r\n\r\n\r\n");
}

TEST_F(EncodeDriverTest, ChecksumLinesOfFirstMiddleAndLastParts) {
  Settings(METHOD_UU, 5, true, 4500, true);
  const std::string data = Bytes(8000, 9);
  EXPECT_EQ(Encode(Input("k.bin", data)), 0);
  std::vector<std::string> parts = Outputs();
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_NE(parts[0].find("\r\n\r\nsum -r/size "), std::string::npos);
  EXPECT_NE(parts[0].find(" section (from \"begin\" to last encoded line)\r\n"), std::string::npos);
  EXPECT_NE(parts[1].find(" section (from first to last encoded line)\r\n"), std::string::npos);
  EXPECT_EQ(parts[1].find("end\r\n"), std::string::npos);
  EXPECT_EQ(parts[1].find("entire input file"), std::string::npos);
  EXPECT_NE(parts[2].find(" section (from first encoded line to \"end\")\r\n"), std::string::npos);
  char whole[64];
  snprintf(whole, sizeof whole, "sum -r/size %u/8000 entire input file\r\n",
           static_cast<unsigned>(SumBytes(0, data.data(), data.size())));
  EXPECT_NE(parts[2].find(whole), std::string::npos);
  // Part 2's section line: the sum of its encoded lines, each ended by one LF.
  uint16_t s = 0;
  uint32_t n = 0;
  for (const std::string& l : Lines(parts[1]))
    if (!IsFrame(l)) {
      s = SumStep(SumBytes(s, l.data(), l.size()), 0x0A);
      n += static_cast<uint32_t>(l.size() + 1);
    }
  char section[96];
  snprintf(section, sizeof section, "sum -r/size %u/%u section (from first to last", s, n);
  EXPECT_NE(parts[1].find(section), std::string::npos);
  EXPECT_EQ(DecodeUu(parts), data);
}

TEST_F(EncodeDriverTest, NamesInHeaders) {
  Settings(METHOD_UU, 4, true, 4500);
  EXPECT_EQ(Encode(Input("longername.tar.gz", Bytes(4000))), 0);
  std::vector<std::string> parts = Outputs();
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(g_ui.outputsMade[1], dir.File("longername2.uue"));
  // The first 8 characters of the stem of the short (8.3) name: "longerna" where the file
  // system has no short names, e.g. "LONGER~1" on Windows.
  char shortName[MAX_PATH], stem[MAX_PATH];
  EncodeShortName(dir.File("longername.tar.gz").c_str(), shortName, sizeof shortName);
  BaseNameWithoutExtension(shortName, stem, sizeof stem);
  stem[8] = '\0';
#ifndef _WIN32
  EXPECT_STREQ(stem, "longerna");
#endif
  EXPECT_EQ(parts[1].rfind("Archive-name: " + std::string(stem) + "/part02\r\n", 0), 0u);
  g_ui.Reset();
  Settings(METHOD_UU, 17, true, 4500);
  EXPECT_EQ(Encode(Input("x.bin", Bytes(8000))), 0);
  EXPECT_EQ(Outputs()[1].rfind("Subject: x.bin, Part 002 of 003 (UUencoded)\r\n", 0), 0u);
  g_ui.Reset();
  Settings(METHOD_UU, 11);
  EXPECT_EQ(Encode(Input("my file.txt", "abc")), 0);
  std::string t = Outputs()[0];
  EXPECT_EQ(t.rfind("X-File-Name: \"my file.txt\"\r\n", 0), 0u);
  EXPECT_NE(t.find("begin 644 \"my file.txt\"\r\n"), std::string::npos);
  EXPECT_STREQ(g_encoder.subject, "* Zentrel32 *; UU; my file.txt; 1 of 1");
}

TEST_F(EncodeDriverTest, BinHexOf0x90RunsNeverCorruptsTheBuffer) {
  // A naive driver: escapes overflow the estimate and the buffer starts over.
  Settings(METHOD_BINHEX, 3);
  EXPECT_EQ(Encode(Input("runs.bin", std::string(100000, '\x90'))), 0);
  EXPECT_TRUE(g_ui.messages.empty());
  std::string t = ReadWholeFile(dir.File("runs.hqx"));
  EXPECT_GT(t.size(), (100000u + 44) / 45 * 63 + 2000);
  EXPECT_NE(t.find(":\r\n\r\n--100000_boundary_"), std::string::npos);
}

TEST_F(EncodeDriverTest, LargeSinglePartGoesOutInPiecesWithTheSameBytes) {
  Settings(METHOD_UU, 3);
  const std::string data = Bytes(3 * 1048576 + 17, 11);
  EXPECT_EQ(Encode(Input("large.bin", data)), 0);
  std::vector<std::string> parts = Outputs();
  ASSERT_EQ(parts.size(), 1u);
  // begin line, full lines, a last line of 20 bytes (1 + 27 characters), "`", "end"
  EXPECT_EQ(parts[0].size(), 21u + (data.size() / 45) * 63 + (1 + 27 + 2) + 3 + 5);
  EXPECT_EQ(DecodeUu(parts), data);
}

TEST_F(EncodeDriverTest, CancelAfterPiecesWereWrittenLeavesNoFile) {
  Settings(METHOD_UU, 3);
  std::string in = Input("large.bin", Bytes(3 * 1048576, 12));
  g_ui.onPump = [](int n) {
    if (n == 60000) g_job.cancelRequested = true;
  };
  EXPECT_EQ(Encode(in), 1);
  EXPECT_EQ(ListFolder(dir.path()), "large.bin\n");
}

TEST_F(EncodeDriverTest, BufferGrowsInsteadOfStartingOver) {
  // A naive driver: "Corrupted Encoding!" and the text gathered so far is lost.
  EncodeOutputReset();
  std::string expect;
  for (int i = 0; i < 50000; ++i) {
    std::string piece = std::to_string(i) + ",";
    AppendText(piece.c_str());
    expect += piece;
  }
  EXPECT_EQ(std::string(EncodeOutputText()), expect);
  EXPECT_EQ(EncodeOutputLength(), expect.size());
  EncodeOutputReset();
  EXPECT_TRUE(g_ui.messages.empty());
}

TEST_F(EncodeDriverTest, ProgressStartsAtTheFirstValueAndEndsAt100) {
  Settings(METHOD_UU, 3);
  EXPECT_EQ(Encode(Input("p.bin", Bytes(4500))), 0);
  ASSERT_FALSE(g_ui.progress.empty());
  EXPECT_EQ(g_ui.progress.front(), 1);
  EXPECT_EQ(g_ui.progress.back(), 100);
  for (size_t i = 1; i + 1 < g_ui.progress.size(); ++i) EXPECT_NE(g_ui.progress[i], g_ui.progress[i - 1]);
}

TEST(OutputNamesTest, Part25Rules) {
  ResetJobState();
  char out[OUTPUT_NAME_ROOM];
  EXPECT_STREQ(ComposeEncodeOutputName("C:\\DOCS\\REPORT.TXT", 1, 1, 1, out), "C:\\DOCS\\REPORT.uue");
  EXPECT_STREQ(ComposeEncodeOutputName("C:\\DOCS\\REPORT.TXT", 1, 2, 3, out), "C:\\DOCS\\REPORT2.uue");
  EXPECT_STREQ(ComposeEncodeOutputName("C:\\MY.DIR\\README", 1, 1, 1, out), "C:\\MY.DIR\\README.uue");
  EXPECT_STREQ(ComposeEncodeOutputName("C:\\MY.DIR\\README", 2, 1, 2, out), "C:\\MY.DIR\\README1.xxe");
  EXPECT_STREQ(ComposeEncodeOutputName("a.b.c", 3, 1, 1, out), "a.b.mme");
  EXPECT_STREQ(ComposeEncodeOutputName("a.b.c", 1, 12, 20, out), "a12.uue");
  EXPECT_STREQ(ComposeEncodeOutputName("/tmp/x.y/file", 4, 1, 1, out), "/tmp/x.y/file.hqx");
  std::string longPath(300, 'p');
  EXPECT_EQ(std::strlen(ComposeEncodeOutputName(longPath.c_str(), 1, 99, 99, out)), 255u);
  EXPECT_STREQ(out + 249, "99.uue");
  snprintf(g_job.outputNameGiven, sizeof g_job.outputNameGiven, "C:\\OUT\\GIVEN.TXT");
  EXPECT_STREQ(ComposeEncodeOutputName("C:\\A.B", 1, 1, 1, out), "C:\\OUT\\GIVEN.TXT");
  EXPECT_STREQ(ComposeEncodeOutputName("C:\\A.B", 1, 3, 4, out), "C:\\OUT\\GIVEN3.uue");
  g_job.outputNameGiven[0] = '\0';
  g_job.mailOutput = true;
  g_job.mailRecipientCount = 1;
  EXPECT_STREQ(ComposeEncodeOutputName("a", 1, 1, 1, out), "1 E-mail Recipient");
  g_job.mailRecipientCount = 2;
  EXPECT_STREQ(ComposeEncodeOutputName("a", 1, 1, 1, out), "2 E-mail Recipients");
  g_job.clipboardOutput = true;
  EXPECT_STREQ(ComposeEncodeOutputName("a", 1, 1, 1, out), "the Clipboard");
  EXPECT_STREQ(DefaultExtension(0), "");
  EXPECT_STREQ(DefaultExtension(5), "");
  ResetJobState();
}

}  // namespace

// The e-mail destination: every part is one message, sent when the part is complete, with
// the style's subject and no file anywhere.
TEST_F(EncodeDriverTest, MailSendsOneMessagePerPartWithItsSubject) {
  Settings(METHOD_UU, 4, true, 4500);
  g_job.mailOutput = true;
  const std::string data = Bytes(9000, 3);
  EXPECT_EQ(Encode(Input("mail.bin", data)), 0);
  ASSERT_EQ(g_job.partCount, 3);
  ASSERT_EQ(g_ui.mailSent.size(), 3u);
  std::vector<std::string> bodies;
  for (int k = 1; k <= 3; ++k) {
    const auto& sent = g_ui.mailSent[k - 1];
    EXPECT_EQ(sent.first, "* Zentrel32 *; UU; mail.bin; " + std::to_string(k) + " of 3");
    EXPECT_EQ(sent.second.rfind("Archive-name: mail/part0" + std::to_string(k), 0), 0u) << k;
    bodies.push_back(sent.second);
  }
  EXPECT_EQ(DecodeUu(bodies), data);
  EXPECT_TRUE(g_ui.outputsMade.empty());
  EXPECT_EQ(ListFolder(dir.path()), "mail.bin\n");
}

TEST_F(EncodeDriverTest, MailInAnAltBinariesStyleCarriesItsSubjectLine) {
  Settings(METHOD_UU, 7, false, 4500);
  g_job.mailOutput = true;
  EXPECT_EQ(Encode(Input("pic.gif", Bytes(6000, 5))), 0);
  ASSERT_EQ(g_ui.mailSent.size(), 2u);
  EXPECT_EQ(g_ui.mailSent[0].first, "Subject: pic.gif [part 1/2]\n\n");
  EXPECT_EQ(g_ui.mailSent[1].first, "Subject: pic.gif [part 2/2]\n\n");
}

TEST_F(EncodeDriverTest, RefusedSendEndsTheJobWithoutMoreMessages) {
  Settings(METHOD_UU, 5, true, 4500);
  g_job.mailOutput = true;
  g_ui.mailSendResult = 2;
  EXPECT_EQ(Encode(Input("r.bin", Bytes(9000))), -2);
  // The mail layer reports the refusal; the job tries no further part and says nothing more.
  EXPECT_EQ(g_ui.mailSendsTried, 1);
  EXPECT_TRUE(g_ui.messages.empty());
  EXPECT_EQ(ListFolder(dir.path()), "r.bin\n");
}
