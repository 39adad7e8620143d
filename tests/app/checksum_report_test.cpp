// The end of a decode with the checksum test on: the checksum error dialog in place of the
// summary, with the input's name and one line per mismatch; or the summary with the
// "Checksum data found valid." remark.
#include "core/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/result_summary.h"
#include "decode/checksum_dialog.h"
#include "decode/decode_context.h"
#include "decode/part_table.h"
#include "resources/resource.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/window_probe.h"

namespace {

const char kDialogTitle[] = "Zentrel32 Checksum Error Details";

class ChecksumReports : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ClearPartTable();
    std::memset(&g_decode, 0, sizeof g_decode);
    g_settings.decodetestchecksum = 1;
    // BinHex: the CRCs are taken as computed, no output file is read.
    g_decode.format = TYPE_BINHEX;
    std::snprintf(g_job.inputPath, PATH_ROOM, "%s", "C:\\in\\post.hqx");
    std::snprintf(g_job.outputPath, PATH_ROOM, "%s", "C:\\out\\post.bin");
    std::snprintf(g_decode.outputName, sizeof g_decode.outputName, "%s", "C:\\out\\post.bin");
    g_decode.wholeExpectedSize = g_decode.actualSize = 40;
    g_decode.wholeExpectedChecksum = g_decode.wholeCalculatedChecksum = 4660;
    g_partTotal = 1;
  }
  void TearDown() override {
    ClearPartTable();
    std::memset(&g_decode, 0, sizeof g_decode);
    ShellTest::TearDown();
  }
};

std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char line[256] = "";
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
    lines.push_back(line);
  }
  return lines;
}

TEST_F(ChecksumReports, MismatchesShowTheDialogInsteadOfTheSummary) {
  g_decode.wholeCalculatedChecksum = 17;
  g_partTable[0].expectedChecksum = 9;
  g_partTable[0].calculatedChecksum = 10;
  std::string input;
  std::vector<std::string> lines;
  bool sorted = true;
  DialogProbe summary("Quorvane 32", IDOK, nullptr, kNoDialogMs * 4);
  DialogProbe dialog(kDialogTitle, IDCANCEL, [&](HWND d) {
    input = WindowText(FindChild(d, IDC_CHECKSUM_INPUT));
    HWND list = FindChild(d, IDC_CHECKSUM_LIST);
    lines = ListLines(list);
    sorted = (GetWindowLongPtrA(list, GWL_STYLE) & LBS_SORT) != 0;
  });
  ShowResultSummary(g_program.mainWindow, RESULT_DONE, OP_DECODE, TYPE_BINHEX, 1);
  const ProbedWindow& shown = dialog.Result();
  ASSERT_TRUE(shown.found);
  EXPECT_EQ(input, "C:\\in\\post.hqx");
  EXPECT_EQ(lines, (std::vector<std::string>{"Output File post.bin Checksum:\tExpected  4660\tCalculated    17",
                                             "Part 1 Checksum:\tExpected     9\tCalculated    10"}));
  EXPECT_FALSE(sorted);
  EXPECT_EQ(shown.buttons, (std::vector<std::string>{"Close", "&Help"}));
  EXPECT_FALSE(summary.Result().found);
}

TEST_F(ChecksumReports, CloseAndEscapeEndTheDialogWithOne) {
  for (int button : {IDOK, IDCANCEL}) {
    DialogProbe dialog(kDialogTitle, button);
    EXPECT_EQ(ShowChecksumDialog(g_program.instance, g_program.mainWindow, nullptr), 1) << button;
    EXPECT_TRUE(dialog.Result().found);
  }
}

TEST_F(ChecksumReports, ValidChecksumsAddTheRemarkUnlessAnotherOneStands) {
  DialogProbe summary("Quorvane 32", IDOK);
  ShowResultSummary(g_program.mainWindow, RESULT_DONE, OP_DECODE, TYPE_BINHEX, 1);
  EXPECT_EQ(summary.Result().text,
            "post.hqx Successfully BinHex Decoded as\r\nC:\\out\\post.bin\r\nChecksum data found valid.");

  ResetJobState();
  std::snprintf(g_job.inputPath, PATH_ROOM, "%s", "C:\\in\\post.hqx");
  std::snprintf(g_job.outputPath, PATH_ROOM, "%s", "C:\\out\\post.bin");
  g_job.qualifiedResult = true;
  std::snprintf(g_job.resultRemark, REMARK_ROOM, "%s", "\r\n\r\nPossibly not all data included in decoding.");
  DialogProbe qualified("Quorvane 32", IDOK);
  ShowResultSummary(g_program.mainWindow, RESULT_DONE, OP_DECODE, TYPE_BINHEX, 1);
  EXPECT_EQ(qualified.Result().text,
            "post.hqx Apparently BinHex Decoded as\r\nC:\\out\\post.bin\r\n\r\nPossibly not all data included in decoding.");

  ResetJobState();
  g_decode.wholeExpectedChecksum = 0;  // no checksum data at all: no remark
  std::snprintf(g_job.inputPath, PATH_ROOM, "%s", "C:\\in\\post.hqx");
  std::snprintf(g_job.outputPath, PATH_ROOM, "%s", "C:\\out\\post.bin");
  DialogProbe plain("Quorvane 32", IDOK);
  ShowResultSummary(g_program.mainWindow, RESULT_DONE, OP_DECODE, TYPE_BINHEX, 1);
  EXPECT_EQ(plain.Result().text, "post.hqx Successfully BinHex Decoded as\r\nC:\\out\\post.bin");
}

}  // namespace
