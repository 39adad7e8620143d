#include <gtest/gtest.h>

#include <string>

#include "app/startup.h"
#include "core/ui.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/window_probe.h"

namespace {

using MessageBoxes = ShellTest;

std::string SystemText(DWORD error) {
  char text[512] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
  std::string result(text, length);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
    result.pop_back();
  return result;
}

TEST_F(MessageBoxes, CarryTheProductCaptionTheTextAndTheIcon) {
  DialogProbe probe("Quorvane 32", IDOK);
  ShowMessage(g_program.mainWindow, MB_ICONEXCLAMATION, "Can't read %s (%d)", "C:\\in.uue", 7);
  const ProbedWindow& box = probe.Result();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text, "Can't read C:\\in.uue (7)");
  EXPECT_EQ(box.icon, ProbeIcon::Exclamation);

  DialogProbe hand("Quorvane 32", IDOK);
  ShowMessage(g_program.mainWindow, MB_ICONHAND, "failed");
  EXPECT_EQ(hand.Result().icon, ProbeIcon::Hand);
}

TEST_F(MessageBoxes, ReturnTheButtonThatWasPressed) {
  DialogProbe probe("Quorvane 32", IDNO);
  int answer = ShowMessage(g_program.mainWindow, MB_ICONQUESTION | MB_YESNOCANCEL, "Overwrite Existing %s", "x");
  EXPECT_EQ(answer, IDNO);
  EXPECT_EQ(probe.Result().icon, ProbeIcon::Question);
  EXPECT_EQ(probe.Result().buttons.size(), 3u);
}

TEST_F(MessageBoxes, ErrorMessagesPutTheSystemTextAfterBecause) {
  DialogProbe probe("Quorvane 32", IDOK);
  ShowErrorMessage(g_program.mainWindow, ERROR_ACCESS_DENIED, MB_ICONHAND, "Can't Write to %s because\r\n", "C:\\o.uue");
  const ProbedWindow& box = probe.Result();
  ASSERT_TRUE(box.found);
  std::string system = SystemText(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(system.empty());
  EXPECT_EQ(box.text, "Can't Write to C:\\o.uue because\r\n\r\n" + system);
  EXPECT_EQ(box.icon, ProbeIcon::Hand);
}

TEST_F(MessageBoxes, AnErrorWithoutSystemTextIsShownByNumber) {
  DialogProbe probe("Quorvane 32", IDOK);
  ShowErrorMessage(g_program.mainWindow, 0x2000ABCD, MB_ICONEXCLAMATION, "Could Not Delete %s because", "t.tmp");
  EXPECT_EQ(probe.Result().text, "Could Not Delete t.tmp because\r\nSystem error 536914893.");
}

TEST_F(MessageBoxes, LongTextsAreCutAtTheirRoom) {
  std::string longText(2000, 'x');
  DialogProbe plain("Quorvane 32", IDOK);
  ShowMessage(g_program.mainWindow, MB_OK, "%s", longText.c_str());
  EXPECT_EQ(plain.Result().text, std::string(MESSAGE_ROOM, 'x'));

  DialogProbe withError("Quorvane 32", IDOK);
  ShowErrorMessage(g_program.mainWindow, ERROR_FILE_NOT_FOUND, MB_OK, "%s because", longText.c_str());
  EXPECT_EQ(withError.Result().text, std::string(ERROR_MESSAGE_ROOM, 'x'));

  // The system text is cut, not dropped, when the message leaves some room.
  std::string most(ERROR_MESSAGE_ROOM - 10, 'y');
  DialogProbe partly("Quorvane 32", IDOK);
  ShowErrorMessage(g_program.mainWindow, ERROR_FILE_NOT_FOUND, MB_OK, "%s", most.c_str());
  std::string text = partly.Result().text;
  EXPECT_EQ(text.size(), static_cast<size_t>(ERROR_MESSAGE_ROOM));
  EXPECT_EQ(text.substr(most.size()), "\r\n" + SystemText(ERROR_FILE_NOT_FOUND).substr(0, 8));
}

TEST_F(MessageBoxes, TheMissingHelpFileMessageNamesFileProductAndSupport) {
  DialogProbe probe("Quorvane 32", IDOK);
  ReportMissingHelpFile(g_program.mainWindow, "C:\\x.ini.d\\Zentp32.hlp");
  const ProbedWindow& box = probe.Result();
  EXPECT_EQ(box.text,
            "File C:\\x.ini.d\\Zentp32.hlp is missing.\r\nPlease re-install Quorvane 32 or\r\n"
            "contact Orvanta technical support.");
  EXPECT_EQ(box.icon, ProbeIcon::Hand);
}

TEST(HelpPath, IsTheProgramFolderAndTheFixedHelpName) {
  char path[PATH_ROOM];
  ASSERT_TRUE(BuildHelpPath("C:\\tools\\x.ini.d\\Zentp32.exe", path, sizeof path));
  EXPECT_STREQ(path, "C:\\tools\\x.ini.d\\Zentp32.hlp");
  ASSERT_TRUE(BuildHelpPath("C:\\renamed\\other.ini.exe", path, sizeof path));
  EXPECT_STREQ(path, "C:\\renamed\\Zentp32.hlp");
  ASSERT_TRUE(BuildHelpPath("bare.exe", path, sizeof path));
  EXPECT_STREQ(path, "Zentp32.hlp");
}

TEST(HelpPath, ThatDoesNotFitIsRefusedNotCut) {
  std::string folder = "C:\\" + std::string(250, 'd') + "\\Zentp32.exe";
  char path[PATH_ROOM];
  EXPECT_FALSE(BuildHelpPath(folder.c_str(), path, sizeof path));
  EXPECT_STREQ(path, "");
}

}  // namespace
