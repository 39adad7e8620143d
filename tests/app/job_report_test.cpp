#include "core/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/created_output.h"
#include "app/end_job.h"
#include "app/input_list.h"
#include "app/local_strings.h"
#include "core/streams.h"
#include "core/ui.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/test_files.h"
#include "tests/support/window_probe.h"

namespace {

class JobReports : public ShellTest {
 protected:
  // Runs the summary and returns the message it showed ("" when none came).
  ProbedWindow Summary(int result, int operation, int type, int parts) {
    DialogProbe probe("Quorvane 32", IDOK, nullptr, expectBox ? 5000 : kNoDialogMs);
    ShowResultSummary(g_program.mainWindow, result, operation, type, parts);
    return probe.Result();
  }
  void SetPaths(const std::string& input, const std::string& output) {
    std::snprintf(g_job.inputPath, PATH_ROOM, "%s", input.c_str());
    std::snprintf(g_job.outputPath, PATH_ROOM, "%s", output.c_str());
  }
  bool expectBox = true;
};

TEST_F(JobReports, JobStatusNamesTypeOperationStylePartsAndFiles) {
  g_job.headerStyle = 3;
  ShowJobStatus(OP_ENCODE, TYPE_UU, "C:\\in\\photo.jpg", "C:\\out\\photo.uue", 2, 3);
  EXPECT_EQ(WindowText(g_program.statusText), "UU Encode - Type Single File - Part 2 of 3\r\nphoto.jpg --> photo.uue");
  ShowJobStatus(OP_DECODE, TYPE_MIME, "a.mme", "b.bin", 4, 0);
  EXPECT_EQ(WindowText(g_program.statusText), "MIME Decode - Type Single File - Part 4\r\na.mme --> b.bin");
  ShowJobStatus(OP_ENCODE, TYPE_XX, "a", "b", 1, 1);
  EXPECT_EQ(WindowText(g_program.statusText), "XX Encode - Type Single File\r\na --> b");
  ShowJobStatus(OP_DECODE, TYPE_AUTO, "C:\\in\\only input.uue", "", 1, 1);
  EXPECT_EQ(WindowText(g_program.statusText), "C:\\in\\only input.uue");
  ShowJobStatus(OP_DECODE, TYPE_AUTO, nullptr, nullptr, 0, 0);
  EXPECT_EQ(WindowText(g_program.statusText), "");
}

TEST_F(JobReports, StatusTextsAreCutAtTheirRoom) {
  std::string longName(600, 'n');
  ShowJobStatus(OP_ENCODE, TYPE_UU, longName.c_str(), longName.c_str(), 1, 2);
  EXPECT_EQ(WindowText(g_program.statusText).size(), static_cast<size_t>(MESSAGE_ROOM));
  ShowStatus("%s", longName.c_str());
  EXPECT_EQ(WindowText(g_program.statusText), std::string(MESSAGE_ROOM, 'n'));
}

TEST_F(JobReports, SuccessSummariesForOneAndManyParts) {
  SetPaths("C:\\pics\\photo.jpg", "C:\\out\\photo.uue");
  ProbedWindow box = Summary(RESULT_DONE, OP_ENCODE, TYPE_UU, 1);
  EXPECT_EQ(box.text, "photo.jpg Successfully UU Encoded to\r\nC:\\out\\photo.uue");
  EXPECT_EQ(box.icon, ProbeIcon::None);

  box = Summary(RESULT_DONE, OP_ENCODE, TYPE_UU, 3);
  EXPECT_EQ(box.text, "photo.jpg Successfully UU Encoded 3 Parts\r\nto C:\\pics\\photo1.uue thru C:\\pics\\photo3.uue");

  SetPaths("C:\\in\\big.xxe", "C:\\out\\big.zip");
  g_job.qualifiedResult = true;
  std::snprintf(g_job.resultRemark, REMARK_ROOM, "%s", "\r\n\r\nMissing 'end' statement.");
  box = Summary(RESULT_DONE, OP_DECODE, TYPE_XX, 2);
  EXPECT_EQ(box.text, "big.xxe Apparently XX Decoded 2 Parts\r\nas C:\\out\\big.zip\r\n\r\nMissing 'end' statement.");
}

TEST_F(JobReports, FailuresAbortsAndOddCodes) {
  SetPaths("C:\\pics\\photo.jpg", "");
  ProbedWindow box = Summary(RESULT_FAILED, OP_ENCODE, TYPE_BINHEX, 1);
  EXPECT_EQ(box.text, "Could not BinHex Encode photo.jpg");
  EXPECT_EQ(box.icon, ProbeIcon::Exclamation);
  box = Summary(RESULT_CANCELLED, OP_ENCODE, TYPE_UU, 1);
  EXPECT_EQ(box.text, "UU Encode of photo.jpg Aborted");
  EXPECT_EQ(box.icon, ProbeIcon::Asterisk);
  box = Summary(7, OP_ENCODE, TYPE_UU, 1);
  EXPECT_EQ(box.text, "Invalid Result Code 7");
  expectBox = false;
  EXPECT_FALSE(Summary(RESULT_REPORTED, OP_ENCODE, TYPE_UU, 1).found);
  EXPECT_FALSE(Summary(RESULT_DECLINED, OP_DECODE, TYPE_UU, 1).found);
}

TEST_F(JobReports, NoSummaryAtAllWhenStatusMessagesAreOff) {
  g_settings.nostatusmessages = 1;
  expectBox = false;
  SetPaths("a.uue", "a.bin");
  EXPECT_FALSE(Summary(RESULT_DONE, OP_DECODE, TYPE_UU, 1).found);
  EXPECT_FALSE(Summary(RESULT_FAILED, OP_DECODE, TYPE_UU, 1).found);
}

TEST_F(JobReports, AFailedJobDeletesOnlyTheOutputItCreated) {
  ScratchDir dir;
  std::string before = dir.File("there-before.bin");
  WriteWholeFile(before, "precious");
  SetPaths("in.uue", before);
  Summary(RESULT_FAILED, OP_DECODE, TYPE_UU, 1);
  EXPECT_EQ(ReadWholeFile(before), "precious");

  char made[PATH_ROOM];
  std::snprintf(made, sizeof made, "%s", dir.File("made.bin").c_str());
  int stream = MakeOutFile(g_program.mainWindow, made, 2, 0);
  ASSERT_GE(stream, 0);
  StreamClose(stream);
  SetPaths("in.uue", made);
  Summary(RESULT_CANCELLED, OP_DECODE, TYPE_UU, 1);
  EXPECT_FALSE(PathExists(made));
}

TEST_F(JobReports, ACancelledEncodeToTheClipboardDeletesNothing) {
  ScratchDir dir;
  char made[PATH_ROOM];
  std::snprintf(made, sizeof made, "%s", dir.File("kept.uue").c_str());
  int stream = MakeOutFile(g_program.mainWindow, made, 1, 0);
  ASSERT_GE(stream, 0);
  StreamClose(stream);
  SetPaths("in.bin", made);
  g_job.clipboardOutput = true;
  Summary(RESULT_CANCELLED, OP_ENCODE, TYPE_UU, 1);
  EXPECT_TRUE(PathExists(made));
}

TEST_F(JobReports, ACommandLineBatchShowsNoSummariesAndClosesAfterTheLast) {
  ASSERT_TRUE(AddInput("C:\\a.uue"));
  ASSERT_TRUE(AddInput("C:\\b.uue"));
  expectBox = false;
  DialogProbe none("Quorvane 32", IDOK, nullptr, kNoDialogMs);
  EXPECT_EQ(EndJob(g_program.mainWindow, RESULT_DONE, OP_DECODE), 1);
  EXPECT_EQ(g_job.inputIndex, 1);
  EXPECT_EQ(g_job.inputs[0], nullptr);
  EXPECT_EQ(EndJob(g_program.mainWindow, RESULT_DONE, OP_DECODE), 0);
  EXPECT_FALSE(none.Result().found);
  EXPECT_TRUE(g_job.quitRequested);
  EXPECT_EQ(g_job.inputCount, 0);
  EXPECT_EQ(DrainMessages(WM_CLOSE), 1);
}

TEST_F(JobReports, ABatchChosenByTheUserGetsASummaryPerJob) {
  ASSERT_TRUE(AddInput("C:\\a.uue"));
  ASSERT_TRUE(AddInput("C:\\b.uue"));
  g_job.multiInput = true;
  g_job.clipboardOutput = true;
  SetPaths("C:\\a.uue", "C:\\a.bin");
  DialogProbe first("Quorvane 32", IDOK);
  EXPECT_EQ(EndJob(g_program.mainWindow, RESULT_FAILED, OP_DECODE), 1);
  EXPECT_EQ(first.Result().text, "Could not Auto Decode a.uue");
  EXPECT_FALSE(g_job.clipboardOutput);
  EXPECT_STREQ(g_job.inputPath, "");
  SetPaths("C:\\b.uue", "C:\\b.bin");
  DialogProbe second("Quorvane 32", IDOK);
  EXPECT_EQ(EndJob(g_program.mainWindow, RESULT_FAILED, OP_DECODE), 0);
  EXPECT_EQ(second.Result().text, "Could not Auto Decode b.uue");
  EXPECT_FALSE(g_job.multiInput);
  EXPECT_FALSE(g_job.quitRequested);
  EXPECT_EQ(DrainMessages(WM_CLOSE), 0);
}

TEST_F(JobReports, ATemporaryInputIsDeletedAndAFailureToDoSoIsReported) {
  ScratchDir dir;
  std::string temporary = dir.File("znt1.tmp");
  WriteWholeFile(temporary, "text");
  SetPaths(temporary, "");
  g_job.inputIsTemporary = true;
  g_settings.nostatusmessages = 1;
  EndJob(g_program.mainWindow, RESULT_DONE, OP_DECODE);
  EXPECT_FALSE(PathExists(temporary));
  EXPECT_FALSE(g_job.inputIsTemporary);

  SetPaths(temporary, "");
  g_job.inputIsTemporary = true;
  DialogProbe probe("Quorvane 32", IDOK);
  EndJob(g_program.mainWindow, RESULT_DONE, OP_DECODE);
  EXPECT_EQ(probe.Result().text.rfind("Could Not Delete " + temporary + " because\r\n", 0), 0u)
      << probe.Result().text;
  EXPECT_EQ(probe.Result().icon, ProbeIcon::Exclamation);
}

TEST_F(JobReports, TheInputListHolds128EntriesAndFreesThem) {
  for (int i = 0; i < MAX_INPUTS; ++i) ASSERT_TRUE(AddInput("C:\\x.uue")) << i;
  EXPECT_FALSE(AddInput("C:\\one-too-many.uue"));
  EXPECT_EQ(g_job.inputCount, MAX_INPUTS);
  ClearInputs();
  EXPECT_EQ(g_job.inputCount, 0);
  for (char* entry : g_job.inputs) EXPECT_EQ(entry, nullptr);
}

}  // namespace
