// The decoder on a failing drive, through the stand-in's fault hook (native builds only): a
// full disk when an output is closed, and a read error in the middle of BinHex text.
#include <string>
#include <vector>

#include "encode/header_styles.h"
#include "tests/engine/decode_fixture.h"
#include "tests/engine/encoded_parts.h"

namespace {

class FailingDriveTest : public DecodeTest {
 protected:
  void TearDown() override {
    StandInFailFiles(nullptr, 0, 0);
    DecodeTest::TearDown();
  }
  // Everything written to files named with `fragment` is lost, as on a full disk.
  static void DiskFullFor(const char* fragment) { StandInFailFiles(fragment, 0, ERROR_DISK_FULL); }
  // The one message of the run.
  const RecordedMessage& Reported() {
    EXPECT_EQ(g_ui.messages.size(), 1u);
    return g_ui.messages.at(0);
  }
};

TEST_F(FailingDriveTest, AStreamWhoseLastBytesCannotBeWrittenDoesNotCloseCleanly) {
  const std::string path = dir.File("full.txt");
  DiskFullFor("full.txt");
  const int s = StreamOpenForWriting(path.c_str());
  ASSERT_GE(s, 0);
  EXPECT_EQ(StreamWriteString(s, "waiting in the buffer"), 21);
  SetLastError(0);
  EXPECT_FALSE(StreamClose(s));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
}

// Each output the decoder closes as finished (a single file, a part's temporary file, the
// joined file) reports the failure with the system's reason and leaves nothing behind.
TEST_F(FailingDriveTest, AFullDiskAtCloseIsReportedAndTheOutputDeleted) {
  const std::string data = Pattern(9000);
  const std::vector<std::string> parts = EncodeWithChecksums(dir.File("data.bin"), data, STYLE_SIMTEL);
  ASSERT_EQ(parts.size(), 3u);
  std::string posting;
  for (const std::string& p : parts) posting += p;
  // Parts in order end up in one temporary file that takes the output's place; out of order
  // they are copied into the output.
  const std::string outOfOrder = parts[1] + parts[0] + parts[2];
  struct Case {
    std::string text;
    const char* failing;
  };
  for (const Case& c : {Case{Uuencode("data.bin", data), "data.bin"}, Case{posting, "znt"},
                        Case{outOfOrder, "data.bin"}}) {
    g_ui.Reset();
    ResetJobState();
    DiskFullFor(c.failing);
    EXPECT_EQ(Decode(Input("in.txt", c.text)), RESULT_REPORTED) << c.failing;
    const RecordedMessage& m = Reported();
    EXPECT_EQ(m.text.rfind("Write Failure on ", 0), 0u) << m.text;
    EXPECT_NE(m.text.find(c.failing), std::string::npos) << m.text;
    EXPECT_EQ(m.text.substr(m.text.size() - 8), " because") << m.text;
    EXPECT_EQ(m.error, static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(ListFolder(dir.path()), "in.txt\n") << c.failing;
  }
}

// A read error inside BinHex text is reported as one; no invalid character is made up.
TEST_F(FailingDriveTest, AReadErrorInBinHexIsReportedAsOne) {
  const std::string data = Pattern(20000);
  const std::vector<std::string> parts = EncodeWithChecksums(dir.File("data.bin"), data, STYLE_SINGLE, METHOD_BINHEX);
  ASSERT_EQ(parts.size(), 1u);
  ASSERT_GT(parts[0].size(), static_cast<size_t>(STREAM_BUFFER_SIZE));
  const std::string input = Input("in.hqx", parts[0]);
  StandInFailFiles("in.hqx", STREAM_BUFFER_SIZE, ERROR_ACCESS_DENIED);
  EXPECT_EQ(Decode(input), RESULT_REPORTED);
  const std::string& text = Reported().text;
  EXPECT_EQ(text.rfind("Line ", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.find(": ")), ": Read Failure of " + input + "!") << text;
  EXPECT_EQ(std::string(g_decode.errorText).find("Invalid encoded data byte"), std::string::npos);
  EXPECT_EQ(ListFolder(dir.path()), "in.hqx\n");
}

}  // namespace
