// Choosing a command: the program (played by qvrecorder) starts once per file, last file
// first, each run after the previous one ended, with a quoted program path; commands that
// are not the extension's start nothing; a program that cannot start is reported once.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/shellext/extension_fixture.h"
#include "tests/shellext/file_list_data.h"
#include "tests/shellext/shell_selection.h"
#include "tests/support/window_probe.h"

namespace {

class InvokeCommand : public ExtensionTest {};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

const char kProgramName[] = "stand in program.exe";
// Where an unquoted "...\\stand in program.exe /E..." would be looked for first, as
// "C:\\Program.exe" would be for a program under "C:\\Program Files".
const char kDecoyName[] = "stand.exe";

std::string StartedAs(const std::string& name, const std::string& commandLine) {
  return "start [" + name + "] " + commandLine;
}

TEST_F(InvokeCommand, ThreeFilesRunLastToFirstOneAfterTheOtherWithTheQuotedProgramPath) {
  std::vector<std::string> files = MakeFiles(3);
  IContextMenu* handler = MenuFor(files);
  ASSERT_NE(handler, nullptr);
  PrivateUserKey user;
  std::string program = PlaceRecorder(kProgramName);
  PlaceRecorder(kDecoyName);
  user.SetProgramPath(program);

  EXPECT_EQ(Invoke(handler, 6), S_OK);  // To Clipboard, MIME
  std::vector<std::string> expected;
  for (int i = 2; i >= 0; --i) {
    expected.push_back(StartedAs(kProgramName, Quoted(program) + " /EM /C " + Quoted(files[i])));
    expected.push_back("end");
  }
  EXPECT_EQ(Log(), expected);
  handler->Release();
}

TEST_F(InvokeCommand, EachCommandPassesItsMethodLetterAndDestinationSwitch) {
  std::vector<std::string> files = MakeFiles(1);
  IContextMenu* handler = MenuFor(files);
  ASSERT_NE(handler, nullptr);
  PrivateUserKey user;
  std::string program = PlaceRecorder(kProgramName);
  PlaceRecorder(kDecoyName);
  user.SetProgramPath(program);
  const char* const switches[] = {"/EU  ", "/EX  ", "/EM  ", "/EB  ", "/EU /C ", "/EX /C ",
                                  "/EM /C ", "/EB /C ", "/EU /M@ ", "/EX /M@ ", "/EM /M@ ", "/EB /M@ "};
  std::vector<std::string> expected;
  for (UINT offset = 0; offset < 12; ++offset) {
    EXPECT_EQ(Invoke(handler, offset), S_OK);
    expected.push_back(StartedAs(kProgramName, Quoted(program) + " " + switches[offset] + Quoted(files[0])));
    expected.push_back("end");
  }
  EXPECT_EQ(Log(), expected);
  handler->Release();
}

TEST_F(InvokeCommand, WithoutTheSettingsKeyTheProgramIsSearchedByItsName) {
  std::vector<std::string> files = MakeFiles(1);
  IContextMenu* handler = MenuFor(files);
  ASSERT_NE(handler, nullptr);
  PrivateUserKey user;  // empty: no settings key at all
  PlaceRecorder("zentp32.exe");
  ASSERT_TRUE(SetCurrentDirectoryA(work_.c_str()));  // where the search finds it

  EXPECT_EQ(Invoke(handler, 1), S_OK);
  EXPECT_EQ(Log(), (std::vector<std::string>{StartedAs("zentp32.exe", "\"zentp32.exe\" /EX  " + Quoted(files[0])), "end"}));
  handler->Release();
}

// Explorer's code page (Windows-1252 here) has no Japanese: the name goes to the program
// wide, and the program, reading with its manifest's code page, sees it whole in UTF-8.
TEST_F(InvokeCommand, ANameOutsideExplorersCodePageReachesTheProgramInUtf8) {
  const std::wstring wideWork(work_.begin(), work_.end());  // an ASCII folder
  const std::wstring file = wideWork + L"\\\u65E5\u672C\u8A9E \u30D5\u30A1\u30A4\u30EB.bin";
  HANDLE made = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(made, INVALID_HANDLE_VALUE);
  CloseHandle(made);
  IDataObject* selection = SelectFiles(std::vector<std::wstring>{file});
  ASSERT_NE(selection, nullptr);
  IContextMenu* handler = CreateMenuHandler(selection);
  selection->Release();
  ASSERT_NE(handler, nullptr);
  PrivateUserKey user;
  std::string program = PlaceRecorder(kProgramName);
  user.SetProgramPath(program);

  EXPECT_EQ(Invoke(handler, 0), S_OK);
  const std::string utf8Name = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB.bin";
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       StartedAs(kProgramName, Quoted(program) + " /EU  " + Quoted(work_ + "\\" + utf8Name)), "end"}));
  handler->Release();
}

TEST_F(InvokeCommand, CommandsThatAreNotTheExtensionsStartNothing) {
  IContextMenu* handler = MenuFor(MakeFiles(2));
  ASSERT_NE(handler, nullptr);
  PrivateUserKey user;
  user.SetProgramPath(PlaceRecorder(kProgramName));

  EXPECT_EQ(Invoke(handler, 12), E_INVALIDARG);
  EXPECT_EQ(Invoke(handler, 0xFFFF), E_INVALIDARG);
  CMINVOKECOMMANDINFO byName = {};
  byName.cbSize = sizeof byName;
  byName.lpVerb = "open";
  EXPECT_FALSE(SUCCEEDED(handler->InvokeCommand(&byName)));

  IShellExtInit* init = nullptr;
  ASSERT_EQ(handler->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
  EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), S_OK);  // the selection let go
  EXPECT_EQ(Invoke(handler, 0), E_FAIL);
  init->Release();
  EXPECT_TRUE(Log().empty());
  handler->Release();
}

TEST_F(InvokeCommand, ASelectionWithoutAFileListFailsAndAnEmptyListStartsNothing) {
  IContextMenu* handler = MenuFor(MakeFiles(1));
  ASSERT_NE(handler, nullptr);
  PrivateUserKey user;
  user.SetProgramPath(PlaceRecorder(kProgramName));
  IShellExtInit* init = nullptr;
  ASSERT_EQ(handler->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);

  FileListData noList({}, false);
  ASSERT_EQ(init->Initialize(nullptr, &noList, nullptr), S_OK);
  EXPECT_EQ(Invoke(handler, 0), E_FAIL);

  FileListData emptyList({}, true);
  ASSERT_EQ(init->Initialize(nullptr, &emptyList, nullptr), S_OK);
  EXPECT_EQ(Invoke(handler, 0), S_OK);
  EXPECT_EQ(emptyList.MediaReleased(), emptyList.MediaHandedOut());
  EXPECT_TRUE(Log().empty());

  // The list the shell hands over is given back after every command.
  std::vector<std::string> files = MakeFiles(2);
  FileListData twoFiles(files, true);
  ASSERT_EQ(init->Initialize(nullptr, &twoFiles, nullptr), S_OK);
  EXPECT_EQ(Invoke(handler, 3), S_OK);
  EXPECT_EQ(Invoke(handler, 7), S_OK);
  EXPECT_EQ(twoFiles.MediaHandedOut(), 2);
  EXPECT_EQ(twoFiles.MediaReleased(), 2);
  EXPECT_EQ(Log().size(), 8u);

  // A path longer than the name buffer is not cut short into another file's name.
  std::string tooLong = work_ + "\\" + std::string(MAX_PATH, 'x') + ".bin";
  FileListData withLongPath({files[0], tooLong, files[1]}, true);
  ASSERT_EQ(init->Initialize(nullptr, &withLongPath, nullptr), S_OK);
  EXPECT_EQ(Invoke(handler, 0), S_OK);
  std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 12u);
  EXPECT_NE(log[8].find(Quoted(files[1])), std::string::npos) << log[8];
  EXPECT_NE(log[10].find(Quoted(files[0])), std::string::npos) << log[10];

  init->Initialize(nullptr, nullptr, nullptr);  // lets go of the test's data objects
  init->Release();
  handler->Release();
}

// Answers every "Zentrel32" box of this process until told to stop, keeping what they said.
class FailureBoxes {
 public:
  FailureBoxes()
      : thread_([this] {
          while (true) {
            HWND box = WaitForWindow("#32770", "Zentrel32", GetCurrentProcessId(), 200);
            if (box) {
              seen_.push_back(ReadDialog(box));
              PressButton(box, IDOK);
              WaitForWindowGone("#32770", "Zentrel32", 2000);
            } else if (stop_) {
              return;
            }
          }
        }) {}
  const std::vector<ProbedWindow>& Stop() {
    stop_ = true;
    thread_.join();
    return seen_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::vector<ProbedWindow> seen_;
  std::thread thread_;
};

std::string SystemText(DWORD error) {
  char text[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                 nullptr);
  return text;
}

TEST_F(InvokeCommand, AProgramThatCannotStartIsReportedOnceWithTheReasonAndEndsTheCommand) {
  IContextMenu* handler = MenuFor(MakeFiles(3));
  ASSERT_NE(handler, nullptr);
  PrivateUserKey user;
  std::string missing = work_ + "\\no such folder\\Zentp32.exe";
  user.SetProgramPath(missing);

  FailureBoxes boxes;
  HRESULT result = Invoke(handler, 4);
  const std::vector<ProbedWindow>& seen = boxes.Stop();
  EXPECT_EQ(result, E_FAIL);
  ASSERT_EQ(seen.size(), 1u) << "one box, then no further file is tried";
  EXPECT_EQ(seen[0].icon, ProbeIcon::Hand);
  std::string lead = "Can't Execute " + missing + " because\r\n\r\n";
  ASSERT_EQ(seen[0].text.substr(0, lead.size()), lead) << seen[0].text;
  std::string reason = seen[0].text.substr(lead.size());
  EXPECT_TRUE(reason == SystemText(ERROR_PATH_NOT_FOUND) || reason == SystemText(ERROR_FILE_NOT_FOUND))
      << "reason: " << reason;
  EXPECT_FALSE(reason.empty());
  handler->Release();
}

}  // namespace
