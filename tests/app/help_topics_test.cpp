// The keywords that the decoder's dialogs ask the help for open a topic of the real help
// files beside the test program, in HTML Help and in the .hlp viewer. (The end-to-end test
// reads the viewers' traces for the keywords of the menu and the configuration dialogs.)
#include "core/platform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/program.h"
#include "core/help_viewer.h"
#include "tests/support/window_probe.h"

namespace {

const char kViewerClass[] = "MS_WINHELP";
const int kButtonBoxId = 1792;  // the viewer's button bar: empty when it has no page to show

std::string HelpFileBesideTests(const char* name = "Zentp32.hlp") {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string file(path, length);
  return file.substr(0, file.find_last_of('\\') + 1) + name;
}

// True when the .chm's directory lists `page` (its names are stored as plain text).
bool ChmHoldsPage(const std::string& chm, const std::string& page) {
  std::ifstream file(chm, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return bytes.find(page) != std::string::npos;
}

// The height of the open viewer's button bar; -1 when no viewer is open.
int ViewerButtonBarHeight() {
  HWND viewer = WaitForWindow(kViewerClass, nullptr, 0, 5000);
  if (!viewer) return -1;
  RECT bar = {};
  GetWindowRect(GetDlgItem(viewer, kButtonBoxId), &bar);
  return bar.bottom - bar.top;
}

void CloseViewer(const std::string& helpFile) {
  WinHelpA(g_program.mainWindow, helpFile.c_str(), HELP_QUIT, 0);
  WaitForWindowGone(kViewerClass, nullptr, 5000);
}

TEST(HelpTopics, EveryKeywordOfTheDecoderDialogsHasATopic) {
  const std::string helpFile = HelpFileBesideTests();
  ASSERT_NE(GetFileAttributesA(helpFile.c_str()), INVALID_FILE_ATTRIBUTES) << helpFile;
  for (const char* keyword : {"invalid checksum", "invalid data", "unknown multipart", "ask encode", "no such keyword"}) {
    EXPECT_TRUE(OpenWinHelpTopic(g_program.mainWindow, helpFile.c_str(), keyword)) << keyword;
    EXPECT_GT(ViewerButtonBarHeight(), 0) << keyword;
    CloseViewer(helpFile);
  }
  // The check above tells a missing topic: the viewer asked for one shows no buttons.
  std::string line = "winhlp32.exe -i nosuch \"" + helpFile + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started));
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  EXPECT_EQ(ViewerButtonBarHeight(), 0);
  CloseViewer(helpFile);
}

// HTML Help is asked for the page named after the keyword's topic ID (the end-to-end test
// shows it from the viewer's trace): the .chm must hold that page for every keyword.
TEST(HelpTopics, EveryKeywordOfTheDecoderDialogsHasAPageInTheHtmlHelp) {
  const std::string chm = HelpFileBesideTests("Zentp32.chm");
  ASSERT_TRUE(HtmlHelpAvailable());
  for (const char* keyword : {"invalid checksum", "invalid data", "unknown multipart", "ask encode", "no such keyword"}) {
    const char* id = HelpTopicId(keyword);
    if (id) {
      EXPECT_TRUE(ChmHoldsPage(chm, std::string("/") + id + ".html")) << keyword;
    }
    EXPECT_TRUE(OpenHtmlHelpTopic(g_program.mainWindow, chm.c_str(), keyword)) << keyword;
    EXPECT_NE(WaitForWindow("HH Parent", nullptr, GetCurrentProcessId(), 5000), nullptr) << keyword;
  }
  EXPECT_FALSE(ChmHoldsPage(chm, "/nosuch.html"));
  CloseHtmlHelp();
  EXPECT_TRUE(WaitForWindowGone("HH Parent", nullptr, 5000));
}

TEST(HelpTopics, KeywordsFindTheirIdsInAnyCase) {
  EXPECT_STREQ(HelpTopicId("Check Version"), "vers");
  EXPECT_STREQ(HelpTopicId("CHECK VERSION"), "vers");
  EXPECT_EQ(HelpTopicId("Check Versions"), nullptr);
  EXPECT_EQ(HelpTopicId(""), nullptr);
}

}  // namespace
