#include "core/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/file_dialogs.h"
#include "app/batch.h"
#include "app/created_output.h"
#include "core/streams.h"
#include "core/ui.h"
#include "resources/resource.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/test_files.h"
#include "tests/support/window_probe.h"

namespace {

// The file-name field of the open and save dialogs (a combo box or an edit control).
const int kFileNameCombo = 0x47c;
const int kFileNameEdit = 0x480;

void TypeFileName(HWND dialog, const std::string& text) {
  HWND field = GetDlgItem(dialog, kFileNameCombo);
  if (!field) field = GetDlgItem(dialog, kFileNameEdit);
  SetWindowTextA(field, text.c_str());
}

std::function<void(HWND)> Typing(const std::string& text) {
  return [text](HWND dialog) { TypeFileName(dialog, text); };
}

class FileDialogs : public ShellTest {
 protected:
  void Name(const std::string& path) { std::snprintf(name, sizeof name, "%s", path.c_str()); }
  int Make(int mode, int ask) { return MakeOutFile(g_program.mainWindow, name, mode, ask); }
  char name[PATH_ROOM] = "";
  ScratchDir dir;
};

TEST_F(FileDialogs, WithoutAskingTheOutputIsCreatedWhereProposed) {
  Name(dir.File("out.bin"));
  int stream = Make(MODE_DECODE, 0);
  ASSERT_GE(stream, 0);
  StreamWriteString(stream, "data");
  StreamClose(stream);
  EXPECT_EQ(std::string(name), dir.File("out.bin"));
  EXPECT_EQ(ReadWholeFile(name), "data");
}

TEST_F(FileDialogs, TheChosenDecodeFolderReplacesTheProposedFolder) {
  g_settings.decodedirselect = DIR_CHOSEN;
  std::snprintf(g_settings.decodedir, SETTINGS_PATH_ROOM, "%s", dir.path().c_str());
  Name("C:\\somewhere\\else\\a.zip");
  int stream = Make(MODE_DECODE, 0);
  ASSERT_GE(stream, 0);
  StreamClose(stream);
  EXPECT_EQ(std::string(name), dir.path() + "\\a.zip");
  EXPECT_TRUE(PathExists(dir.File("a.zip")));
}

TEST_F(FileDialogs, APathThatDoesNotFitIsRefusedWithAMessage) {
  g_settings.encodedirselect = DIR_CHOSEN;
  std::string folder = "C:\\" + std::string(252, 'd');
  std::snprintf(g_settings.encodedir, SETTINGS_PATH_ROOM, "%s", folder.c_str());
  Name("photo.uue");
  DialogProbe probe("Quorvane 32", IDOK);
  EXPECT_EQ(Make(MODE_ENCODE, 0), -2);
  EXPECT_EQ(probe.Result().text,
            "Can't Write to " + folder + "\\photo.uue:\r\nthe path is longer than 259 characters.");
  EXPECT_EQ(probe.Result().icon, ProbeIcon::Hand);
}

TEST_F(FileDialogs, AnExistingFileIsReplacedOnlyWhenTheUserAgrees) {
  g_settings.usedefaultnames = 1;
  std::string path = dir.File("exists.bin");
  WriteWholeFile(path, "old");
  Name(path);
  DialogProbe no("Quorvane 32", IDNO);
  EXPECT_EQ(Make(MODE_DECODE, 1), -3);
  EXPECT_EQ(no.Result().text, "Overwrite Existing " + path);
  EXPECT_EQ(no.Result().icon, ProbeIcon::Question);
  EXPECT_EQ(ReadWholeFile(path), "old");

  DialogProbe cancel("Quorvane 32", IDCANCEL);
  EXPECT_EQ(Make(MODE_DECODE, 1), -3);
  EXPECT_TRUE(cancel.Result().found);

  DialogProbe yes("Quorvane 32", IDYES);
  int stream = Make(MODE_DECODE, 1);
  ASSERT_GE(stream, 0);
  StreamClose(stream);
  EXPECT_TRUE(yes.Result().found);
  EXPECT_EQ(ReadWholeFile(path), "");
}

TEST_F(FileDialogs, NoQuestionWhenOverwritingIsAllowedOrTheRunAsksNoQuestions) {
  std::string path = dir.File("exists.bin");
  g_settings.usedefaultnames = 1;
  g_settings.overwriteexisting = 1;
  for (int ask : {ASK_NAME, ASK_NOTHING}) {
    WriteWholeFile(path, "old");
    Name(path);
    DialogProbe none("Quorvane 32", IDOK, nullptr, kNoDialogMs);
    int stream = Make(MODE_DECODE, ask);
    ASSERT_GE(stream, 0);
    StreamClose(stream);
    EXPECT_FALSE(none.Result().found) << ask;
    EXPECT_EQ(ReadWholeFile(path), "");
    g_settings.overwriteexisting = 0;
    g_job.interactive = false;  // /N
  }
}

// A name that was not asked for (an output name given on the command line, a part of a split
// output) is still asked about before an existing file is replaced; the parts of a split output
// are asked about together, and the answer holds for each of them.
TEST_F(FileDialogs, NamesNotAskedForAreAskedAboutBeforeReplacingAFile) {
  g_settings.usedefaultnames = 0;  // a call that asks for the name would show the save dialog
  g_settings.overwriteexisting = 0;
  const std::string part1 = dir.File("part1.uue"), part2 = dir.File("part2.uue"), part3 = dir.File("part3.uue");
  for (const std::string& part : {part1, part3}) WriteWholeFile(part, "old");
  Name(part1);
  DialogProbe save("Encode Output To", IDCANCEL, nullptr, kNoDialogMs);
  {
    DialogProbe no("Quorvane 32", IDNO);
    EXPECT_EQ(Make(MODE_ENCODE, ASK_NOTHING), -3);
    EXPECT_EQ(no.Result().text, "Overwrite Existing " + part1);
  }
  const char* parts[] = {part1.c_str(), part2.c_str(), part3.c_str()};
  {
    DialogProbe no("Quorvane 32", IDNO);
    EXPECT_EQ(ConfirmReplacingOutputs(g_program.mainWindow, parts, 3, MODE_ENCODE), -3);
    EXPECT_EQ(no.Result().text, "Overwrite Existing " + part1 + "\r\n" + part3);
  }
  EXPECT_EQ(ReadWholeFile(part1), "old");
  DialogProbe yes("Quorvane 32", IDYES);
  EXPECT_EQ(ConfirmReplacingOutputs(g_program.mainWindow, parts, 3, MODE_ENCODE), ASK_AGREED);
  EXPECT_TRUE(yes.Result().found);
  DialogProbe none("Quorvane 32", IDOK, nullptr, kNoDialogMs);
  Name(part1);
  int stream = Make(MODE_ENCODE, ASK_AGREED);
  ASSERT_GE(stream, 0);
  StreamClose(stream);
  EXPECT_FALSE(none.Result().found);
  EXPECT_FALSE(save.Result().found);
  EXPECT_EQ(ConfirmReplacingOutputs(g_program.mainWindow, parts + 1, 1, MODE_ENCODE), ASK_NOTHING);
}

// Several inputs given one output name: the second does not silently replace what the first
// wrote, whatever overwriteexisting says: a name the user gave is asked about (refused, with a
// message, without questions); a name from a header becomes a free one.
TEST_F(FileDialogs, AnOutputOfTheSameRunIsNeverReplacedUnasked) {
  g_settings.usedefaultnames = 1;
  g_settings.overwriteexisting = 1;
  const std::string path = dir.File("given.bin");
  Name(path);
  int stream = Make(MODE_DECODE, ASK_NOTHING);
  ASSERT_GE(stream, 0);
  StreamClose(stream);
  WriteWholeFile(path, "first input's output");
  ForgetCreatedOutput();  // the next job of the run
  // The name the user gave (/O) is asked about, and refused without questions...
  std::snprintf(g_job.outputNameGiven, sizeof g_job.outputNameGiven, "%s", path.c_str());
  {
    DialogProbe no("Quorvane 32", IDNO);
    Name(path);
    EXPECT_EQ(Make(MODE_DECODE, ASK_NOTHING), -3);
    EXPECT_EQ(no.Result().text, "Overwrite Existing " + path);
  }
  g_job.interactive = false;
  {
    DialogProbe refusal("Quorvane 32", IDOK);
    Name(path);
    EXPECT_EQ(Make(MODE_DECODE, ASK_NOTHING), -2);
    EXPECT_EQ(refusal.Result().text, "Can't Write to " + path + ":\r\nanother file of this run was written there.");
  }
  g_job.outputNameGiven[0] = '\0';
  // ...a name from a header gets a free one beside it, with or without questions, also when
  // this job made the first file and has finished it (two files of one name in a mailbox).
  DialogProbe none("Quorvane 32", IDOK, nullptr, kNoDialogMs);
  for (const char* expected : {"given (2).bin", "given (3).bin"}) {
    g_job.interactive = std::string(expected) == "given (3).bin";
    Name(path);
    stream = Make(MODE_DECODE, ASK_NOTHING);
    ASSERT_GE(stream, 0);
    StreamClose(stream);
    EXPECT_EQ(std::string(name), dir.File(expected));
    NoteFinishedOutput(name);
  }
  EXPECT_FALSE(none.Result().found);
  EXPECT_EQ(ReadWholeFile(path), "first input's output");
  g_job.outputCount = 0;
  ForgetRunOutputs();
}

TEST_F(FileDialogs, AFileThatCannotBeCreatedIsReportedWithTheSystemText) {
  Name(dir.File("no such folder\\out.bin"));
  DialogProbe probe("Quorvane 32", IDOK);
  EXPECT_EQ(Make(MODE_DECODE, 0), -2);
  const std::string& text = probe.Result().text;
  std::string lead = "Can't Write to " + std::string(name) + " because\r\n\r\n";
  EXPECT_EQ(text.rfind(lead, 0), 0u) << text;
  EXPECT_GT(text.size(), lead.size()) << "the system's text follows";
  EXPECT_EQ(probe.Result().icon, ProbeIcon::Hand);
}

TEST_F(FileDialogs, ADeviceNameIsNeverOpenedAsAnOutput) {
  for (const char* device : {"CON", "nul.txt", "com1.uue"}) {
    Name(dir.File(device));
    DialogProbe probe("Quorvane 32", IDOK);
    EXPECT_EQ(Make(MODE_DECODE, 0), -2) << device;
    EXPECT_EQ(probe.Result().text, "Can't Write to " + std::string(name) + ":\r\nthe name belongs to a device.");
  }
}

TEST_F(FileDialogs, TheSaveDialogTakesTheNameTheUserTypes) {
  Name(dir.File("proposed.uue"));
  std::string typed = dir.File("typed.uue");
  DialogProbe save("Encode Output To", IDOK, Typing(typed));
  int stream = Make(MODE_ENCODE, 1);
  ASSERT_TRUE(save.Result().found);
  ASSERT_GE(stream, 0);
  StreamClose(stream);
  EXPECT_EQ(std::string(name), typed);
  EXPECT_TRUE(PathExists(typed));
  EXPECT_FALSE(PathExists(dir.File("proposed.uue")));
}

TEST_F(FileDialogs, CancellingTheSaveDialogDeclines) {
  Name(dir.File("proposed.bin"));
  DialogProbe save("Decode Output To", IDCANCEL);
  EXPECT_EQ(Make(MODE_DECODE, 1), -3);
  EXPECT_TRUE(save.Result().found);
  EXPECT_FALSE(PathExists(dir.File("proposed.bin")));
}

TEST_F(FileDialogs, TheOpenDialogOpensTheOneFileChosen) {
  std::string input = dir.File("in.uue");
  WriteWholeFile(input, "begin 644 x\n");
  char chosen[PATH_ROOM] = "";
  DialogProbe open("Decode", IDOK, Typing(input));
  int stream = askuu(g_program.mainWindow, MODE_DECODE, chosen);
  ASSERT_TRUE(open.Result().found);
  ASSERT_GE(stream, 0);
  char line[64];
  EXPECT_GT(StreamReadLine(stream, line, sizeof line), 0);
  StreamClose(stream);
  EXPECT_EQ(std::string(chosen), input);
  EXPECT_EQ(g_job.inputCount, 0);
}

TEST_F(FileDialogs, SeveralFilesChosenBecomeABatch) {
  for (const char* file : {"a.bin", "b.bin", "c.bin"}) WriteWholeFile(dir.File(file), "x");
  g_settings.encodedirselect = DIR_CHOSEN;  // the dialog opens in that folder
  std::snprintf(g_settings.encodedir, SETTINGS_PATH_ROOM, "%s", dir.path().c_str());
  char chosen[PATH_ROOM] = "";
  DialogProbe open("Encode", IDOK, Typing("\"a.bin\" \"b.bin\" \"c.bin\""));
  EXPECT_EQ(askuu(g_program.mainWindow, MODE_ENCODE, chosen), -1);
  ASSERT_TRUE(open.Result().found);
  ASSERT_EQ(g_job.inputCount, 3);
  EXPECT_EQ(std::string(g_job.inputs[0]), dir.File("a.bin"));
  EXPECT_EQ(std::string(g_job.inputs[2]), dir.File("c.bin"));
  EXPECT_TRUE(g_job.multiInput);
  MSG posted;
  ASSERT_TRUE(PeekMessageA(&posted, g_program.mainWindow, UM_NEXT_INPUT, UM_NEXT_INPUT, PM_REMOVE));
  EXPECT_EQ(LOWORD(posted.lParam), MODE_ENCODE);
  AbandonBatch(g_program.mainWindow);
}

// A multiple selection as the open dialog returns it: folder, names, empty name.
std::string Selection(const std::string& folder, int count, const std::string& name) {
  std::string buffer = folder + '\0';
  for (int i = 0; i < count; ++i) buffer += name + std::to_string(i) + '\0';
  return buffer + '\0';
}

TEST_F(FileDialogs, ASelectionBeyondTheListIsReportedNotDroppedSilently) {
  std::string buffer = Selection("C:\\in", MAX_INPUTS + 2, "f");
  DialogProbe probe("Quorvane 32", IDOK);
  const std::vector<std::string> chosen = ChosenFiles(g_program.mainWindow, buffer.data(), 6);
  EXPECT_EQ(probe.Result().text, "Only 128 files can be processed at a time.\r\n2 of the selected files were left out.");
  ASSERT_EQ(chosen.size(), static_cast<size_t>(MAX_INPUTS));
  EXPECT_EQ(chosen.back(), "C:\\in\\f127");
}

TEST_F(FileDialogs, SelectedPathsThatDoNotFitAreLeftOutWithAMessage) {
  std::string folder = "C:\\" + std::string(250, 'd');
  std::string buffer = folder + '\0' + "short" + '\0' + std::string(20, 'n') + '\0' + '\0';
  DialogProbe probe("Quorvane 32", IDOK);
  const std::vector<std::string> chosen = ChosenFiles(g_program.mainWindow, buffer.data(), folder.size() + 1);
  EXPECT_EQ(probe.Result().text, "1 of the selected files were left out:\r\ntheir paths are longer than 259 characters.");
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], folder + "\\short");
}

TEST_F(FileDialogs, ACancelledOpenDialogSaysNothing) {
  char chosen[PATH_ROOM] = "";
  DialogProbe open("Decode", IDCANCEL);
  DialogProbe none("Quorvane 32", IDOK, nullptr, kNoDialogMs + 1000);
  EXPECT_EQ(askuu(g_program.mainWindow, MODE_DECODE, chosen), -1);
  EXPECT_TRUE(open.Result().found);
  EXPECT_FALSE(none.Result().found);
}

}  // namespace
