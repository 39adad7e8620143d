#include "core/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/busy.h"
#include "app/created_output.h"
#include "app/result_summary.h"
#include "core/streams.h"
#include "decode/part_table.h"
#include "core/ui.h"
#include "resources/resource.h"
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
  // A batch whose first input waits to be taken.
  void StartWaitingBatch(const std::vector<std::string>& paths, BatchSource source) {
    ASSERT_TRUE(StartBatch(g_program.mainWindow, paths, source, NEXT_DECIDE));
    ASSERT_EQ(DrainMessages(UM_NEXT_INPUT), 1);
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

// A job's texts that come close together: the latest is shown by the timer soon after, and
// the empty line a job ends with is not replaced afterwards by a text that was waiting. The
// second job finds the timer as the first left it.
TEST_F(JobReports, AJobsLatestStatusIsShownAndAWaitingOneNeverOutlivesTheJob) {
  // Serves the messages until the status is `wanted`, for a few times the timer's interval.
  auto statusAfterPumping = [](const std::string& wanted) {
    for (int i = 0; i < 25 && WindowText(g_program.statusText) != wanted; ++i) {
      PumpMessages(4);
      Sleep(20);
    }
    return WindowText(g_program.statusText);
  };
  const std::string last = "UU Decode - Type To Be Determined - Part 3 of 3\r\nin.uue --> out.bin";
  for (int job = 1; job <= 2; ++job) {
    SetBusy(g_program.mainWindow, true);
    for (int part = 1; part <= 3; ++part) ShowJobStatus(OP_DECODE, TYPE_UU, "in.uue", "out.bin", part, 3);
    EXPECT_EQ(statusAfterPumping(last), last) << "job " << job;
    ShowStatus("Looking for data");
    ShowStatus("Joining");
    SetBusy(g_program.mainWindow, false);
    EXPECT_EQ(statusAfterPumping("Joining"), "") << "job " << job;
  }
}

TEST_F(JobReports, SuccessSummariesForOneAndManyParts) {
  SetPaths("C:\\pics\\photo.jpg", "C:\\out\\photo.uue");
  ProbedWindow box = Summary(RESULT_DONE, OP_ENCODE, TYPE_UU, 1);
  EXPECT_EQ(box.text, "photo.jpg Successfully UU Encoded to\r\nC:\\out\\photo.uue");
  EXPECT_EQ(box.icon, ProbeIcon::None);

  // The parts are named as the encoder wrote them, in the output folder, not beside the input.
  std::snprintf(g_partTable[0].fileName, PART_NAME_ROOM, "C:\\out\\photo1.uue");
  std::snprintf(g_partTable[2].fileName, PART_NAME_ROOM, "C:\\out\\photo3.uue");
  box = Summary(RESULT_DONE, OP_ENCODE, TYPE_UU, 3);
  EXPECT_EQ(box.text, "photo.jpg Successfully UU Encoded 3 Parts\r\nto C:\\out\\photo1.uue thru C:\\out\\photo3.uue");

  SetPaths("C:\\in\\big.xxe", "C:\\out\\big.zip");
  g_job.qualifiedResult = true;
  std::snprintf(g_job.resultRemark, REMARK_ROOM, "%s", "\r\n\r\nMissing 'end' statement.");
  box = Summary(RESULT_DONE, OP_DECODE, TYPE_XX, 2);
  EXPECT_EQ(box.text, "big.xxe Apparently XX Decoded 2 Parts\r\nas C:\\out\\big.zip\r\n\r\nMissing 'end' statement.");

  // An input that gave several files names the first few and counts the rest.
  g_job.qualifiedResult = false;
  g_job.resultRemark[0] = '\0';
  SetPaths("C:\\in\\mbox", "C:\\out\\b.gif");
  NoteFinishedOutput("C:\\out\\a.zip");
  NoteFinishedOutput("C:\\out\\b.gif");
  EXPECT_EQ(Summary(RESULT_DONE, OP_DECODE, TYPE_UU, 1).text, "mbox Successfully UU Decoded as\r\nC:\\out\\a.zip and b.gif");
  for (const char* name : {"C:\\out\\c.txt", "C:\\out\\d.doc", "C:\\out\\e.hqx"}) NoteFinishedOutput(name);
  EXPECT_EQ(Summary(RESULT_DONE, OP_DECODE, TYPE_UU, 1).text,
            "mbox Successfully UU Decoded as\r\nC:\\out\\a.zip, b.gif, c.txt and 2 more");
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
  StartWaitingBatch({"C:\\a.uue", "C:\\b.uue"}, FROM_COMMAND_LINE);
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
  StartWaitingBatch({"C:\\a.uue", "C:\\b.uue"}, FROM_USER);
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
  StartSingleJob(temporary.c_str(), OP_DECODE, true);
  g_settings.nostatusmessages = 1;
  EndJob(g_program.mainWindow, RESULT_DONE, OP_DECODE);
  EXPECT_FALSE(PathExists(temporary));
  EXPECT_FALSE(g_job.inputIsTemporary);

  StartSingleJob(temporary.c_str(), OP_DECODE, true);
  DialogProbe probe("Quorvane 32", IDOK);
  EndJob(g_program.mainWindow, RESULT_DONE, OP_DECODE);
  EXPECT_EQ(probe.Result().text.rfind("Could Not Delete " + temporary + " because\r\n", 0), 0u)
      << probe.Result().text;
  EXPECT_EQ(probe.Result().icon, ProbeIcon::Exclamation);
}

// A batch holds 128 inputs; a longer one, or one started while another waits, is refused
// whole, and the temporary files of a refused mailbox batch are deleted.
TEST_F(JobReports, BatchesAreRefusedWholeWhenTooLongOrWhileAnotherWaits) {
  ScratchDir dir;
  expectBox = true;
  {
    DialogProbe tooMany("Quorvane 32", IDOK);
    EXPECT_FALSE(StartBatch(g_program.mainWindow, std::vector<std::string>(MAX_INPUTS + 1, "C:\\x.uue"), FROM_USER,
                            NEXT_DECIDE));
    EXPECT_EQ(tooMany.Result().text, "Only 128 files can be processed at a time.\r\nNo file was processed.");
  }
  EXPECT_EQ(g_job.inputCount, 0);
  StartWaitingBatch(std::vector<std::string>(MAX_INPUTS, "C:\\x.uue"), FROM_USER);
  EXPECT_EQ(g_job.inputCount, MAX_INPUTS);

  const std::string message = dir.File("znt9.tmp");
  WriteWholeFile(message, "a message text");
  DialogProbe refusal("Quorvane 32", IDOK);
  EXPECT_FALSE(StartBatch(g_program.mainWindow, {message}, FROM_MAILBOX, NEXT_DECIDE));
  EXPECT_EQ(refusal.Result().text, "Another job is still running.");
  EXPECT_FALSE(PathExists(message));
  EXPECT_EQ(g_job.inputCount, MAX_INPUTS);
  EXPECT_EQ(g_job.inputIndex, 0);
  EXPECT_FALSE(g_job.mailInputs);
  AbandonBatch(g_program.mainWindow);
  EXPECT_EQ(g_job.inputCount, 0);
  for (char* entry : g_job.inputs) EXPECT_EQ(entry, nullptr);
}

}  // namespace
