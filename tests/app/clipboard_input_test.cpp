// Clipboard text into a temporary file, on the real clipboard, with the real message boxes
// and status line. The temporary directory is a scratch folder of the test's own, so that
// every file left behind is seen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/clipboard_input.h"
#include "core/streams.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/clipboard_access.h"
#include "tests/support/test_files.h"
#include "tests/support/window_probe.h"

namespace {

const char kCaption[] = "Quorvane 32";

class ClipboardInput : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_NE(owner.window(), nullptr);
    char saved[MAX_PATH] = "";
    hadTmp = GetEnvironmentVariableA("TMP", saved, sizeof saved) > 0;
    savedTmp = saved;
    SetEnvironmentVariableA("TMP", (temp.path() + "\\").c_str());
    SetWindowTextA(g_program.statusText, "");
  }
  void TearDown() override {
    SetEnvironmentVariableA("TMP", hadTmp ? savedTmp.c_str() : nullptr);
    ShellTest::TearDown();
  }
  // Runs ClipboardToTempFile; `box` answers the message box it shows (none expected when
  // `expectBox` is false) and receives what the box said.
  int Run(ProbedWindow* box, bool expectBox) {
    DialogProbe probe(kCaption, IDOK, nullptr, expectBox ? 5000 : kNoDialogMs);
    const int result = ClipboardToTempFile(g_program.mainWindow, path);
    *box = probe.Result();
    return result;
  }
  std::string StatusText() { return WindowText(g_program.statusText); }

  ClipboardLock lock;
  ClipboardOwner owner;
  ScratchDir temp;
  bool hadTmp = false;
  std::string savedTmp;
  char path[PATH_ROOM] = "";
};

bool ClipboardIsFree() {
  ClipboardHolder other;
  return other.opened();
}

TEST_F(ClipboardInput, TextIsCopiedByteForByteWithTwoLineEndsAfter) {
  const std::string texts[] = {
      "begin 644 a.txt\r\n#86)C\r\n`\r\nend",           // no line end at the close
      "begin 644 a.txt\r\n#86)C\r\n`\r\nend\r\n",       // ends with one
      "lf only\nline \xE9\xFC two\n\tend\rcr",          // line ends and bytes kept as they are
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(PutClipboardText(owner.window(), text));
    EXPECT_TRUE(ClipboardHoldsText());
    ProbedWindow box;
    ASSERT_EQ(Run(&box, false), 0);
    EXPECT_FALSE(box.found) << box.text;
    const std::string made = path;
    EXPECT_EQ(made.rfind(temp.path() + "\\znt", 0), 0u) << made;
    EXPECT_EQ(ReadWholeFile(made), text + "\r\n\r\n");
    EXPECT_EQ(StatusText(), "Writing Clipboard Data to " + made + " ...");
    EXPECT_TRUE(ClipboardIsFree());
    EXPECT_EQ(ClipboardText(), text);  // the clipboard keeps its text
    DeleteFileA(made.c_str());
  }
}

TEST_F(ClipboardInput, AnEmptyClipboardHoldsNoTextAndIsReported) {
  ASSERT_TRUE(EmptyTheClipboard(owner.window()));
  EXPECT_FALSE(ClipboardHoldsText());
  ProbedWindow box;
  EXPECT_EQ(Run(&box, true), 1);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text.rfind("Can't Get Clipboard Text because\r\n\r\n", 0), 0u) << box.text;
  EXPECT_EQ(box.icon, ProbeIcon::Hand);
  EXPECT_EQ(ListFolder(temp.path()), "");
  EXPECT_TRUE(ClipboardIsFree());
  EXPECT_EQ(StatusText(), "");
}

TEST_F(ClipboardInput, AClipboardHeldByAnotherProgramIsReported) {
  ASSERT_TRUE(PutClipboardText(owner.window(), "text"));
  ProbedWindow box;
  {
    ClipboardHolder other;
    ASSERT_TRUE(other.opened());
    EXPECT_EQ(Run(&box, true), 1);
  }
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text.rfind("Can't Open Clipboard because\r\n\r\n", 0), 0u) << box.text;
  EXPECT_GT(box.text.size(), std::string("Can't Open Clipboard because\r\n\r\n").size());
  EXPECT_EQ(box.icon, ProbeIcon::Hand);
  EXPECT_EQ(ListFolder(temp.path()), "");
}

TEST_F(ClipboardInput, AMissingTemporaryDirectoryIsReported) {
  ASSERT_TRUE(PutClipboardText(owner.window(), "text"));
  SetEnvironmentVariableA("TMP", (temp.File("gone") + "\\").c_str());
  ProbedWindow box;
  EXPECT_EQ(Run(&box, true), 1);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text.rfind("Can't Create Temporary File for Clipboard Data because\r\n\r\n", 0), 0u) << box.text;
  EXPECT_EQ(box.icon, ProbeIcon::Hand);
  EXPECT_TRUE(ClipboardIsFree());
  EXPECT_EQ(ListFolder(temp.path()), "");
}

TEST_F(ClipboardInput, ATemporaryFileThatCannotBeOpenedIsReportedAndRemoved) {
  // Every stream slot taken: the temporary file is made but cannot be opened for writing.
  const std::string other = temp.File("held.txt");
  WriteWholeFile(other, "x");
  std::vector<int> held;
  for (int s; (s = StreamOpenForReading(other.c_str(), STREAM_BINARY)) >= 0;) held.push_back(s);
  ASSERT_TRUE(PutClipboardText(owner.window(), "text"));
  ProbedWindow box;
  const int result = Run(&box, true);
  for (int s : held) StreamClose(s);
  EXPECT_EQ(result, 1);
  ASSERT_TRUE(box.found);
  const std::string made = path;
  EXPECT_EQ(made.rfind(temp.path() + "\\znt", 0), 0u) << made;
  EXPECT_EQ(box.text.rfind("Can't Write Clipboard Data to Temporary File\r\n" + made + " because\r\n\r\n", 0), 0u)
      << box.text;
  EXPECT_EQ(box.icon, ProbeIcon::Hand);
  EXPECT_FALSE(PathExists(made));
  EXPECT_EQ(ListFolder(temp.path()), "held.txt\n");
  EXPECT_TRUE(ClipboardIsFree());
}

}  // namespace
