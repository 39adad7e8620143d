// Check Version, About and Contact on real dialogs; the version-check address; finding and
// composing the browser command from the registry.
#include "core/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/window_place.h"
#include "config/info_dialogs.h"
#include "config/web_address.h"
#include "resources/resource.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/process_lock.h"
#include "tests/support/window_probe.h"

namespace {

const std::string kVersion = QV_PRODUCT_VERSION;
const std::string kDate = QV_RELEASE_DATE;
const char kCheckTitle[] = "Program Version and Upgrade Information";

std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

class InfoDialogs : public ShellTest {
 protected:
  void TearDown() override {
    ResetSettings();
    ShellTest::TearDown();
  }
};

TEST_F(InfoDialogs, CheckVersionShowsTheVersionResource) {
  std::string line;
  std::vector<std::string> buttons;
  DialogProbe probe(kCheckTitle, IDOK, [&](HWND d) { line = Text(d, IDC_INFO_VERSION); });
  ShowCheckVersion(g_program.mainWindow);
  ASSERT_TRUE(probe.Result().found);
  EXPECT_EQ(line, "Current Version " + kVersion + " - " + kDate);
}

TEST_F(InfoDialogs, AboutShowsNameVersionMakerAndOpensContact) {
  std::string title, name, version, maker, contact;
  RECT place = {};
  ProbedWindow contactDialog;
  DialogProbe probe("About Zentrel32", IDOK, [&](HWND d) {
    name = Text(d, IDC_INFO_LONG_NAME);
    version = Text(d, IDC_INFO_VERSION);
    maker = Text(d, IDC_INFO_MAKER);
    GetWindowRect(d, &place);
    PressButton(d, IDC_INFO_CONTACT);
    HWND box = WaitForWindow("#32770", "Orvanta Information", GetCurrentProcessId(), 5000);
    if (!box) return;
    contact = Text(box, IDC_INFO_CONTACT_TEXT);
    contactDialog = ReadDialog(box);
    PressButton(box, IDOK);
    WaitForWindowGone("#32770", "Orvanta Information", 5000);
  });
  ShowAbout(g_program.mainWindow);
  ASSERT_TRUE(probe.Result().found);
  EXPECT_EQ(name, "Quorvane 32");
  EXPECT_EQ(version, "Version " + kVersion + " - " + kDate);
  EXPECT_NE(maker.find("Orvanta, Inc."), std::string::npos);
  ASSERT_TRUE(contactDialog.found);
  EXPECT_NE(contact.find("example.com"), std::string::npos);
  EXPECT_EQ(contactDialog.buttons, (std::vector<std::string>{"Contacting Orvanta, Inc.", "OK", "&Web site"}));
  // Centred across, its top a third of the way down the free height.
  int width = place.right - place.left, height = place.bottom - place.top;
  EXPECT_EQ(place.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(place.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 3);
}

TEST_F(InfoDialogs, VersionCheckAddressJoinsSiteScriptVersionAndDate) {
  char address[WEB_ADDRESS_ROOM];
  std::snprintf(g_settings.website, sizeof g_settings.website, "%s", "https://www.example.com/orvanta");
  std::snprintf(g_settings.webcheck, sizeof g_settings.webcheck, "%s", "cgi-bin/checkver");
  BuildVersionCheckAddress("2.0.0", "31-Jan-97", address, sizeof address);
  EXPECT_STREQ(address, "https://www.example.com/orvanta/cgi-bin/checkver?2.0.0;31-Jan-97");
  // A slash on either side of the join is not doubled.
  std::snprintf(g_settings.website, sizeof g_settings.website, "%s", "https://www.example.com/");
  std::snprintf(g_settings.webcheck, sizeof g_settings.webcheck, "%s", "/check");
  BuildVersionCheckAddress("NO VERSION!", "NO DATE!", address, sizeof address);
  EXPECT_STREQ(address, "https://www.example.com/check?NO VERSION!;NO DATE!");
}

TEST(BrowserCommand, TheAddressTakesThePlaceOfThePlaceholderOrFollows) {
  char line[BROWSER_COMMAND_ROOM];
  ASSERT_TRUE(BrowserCommandLine("\"C:\\Web\\browse.exe\" -url \"%1\"", "https://a.example/x?1;2", line, sizeof line));
  EXPECT_STREQ(line, "\"C:\\Web\\browse.exe\" -url \"https://a.example/x?1;2\"");
  ASSERT_TRUE(BrowserCommandLine("C:\\browse.exe", "https://a.example/", line, sizeof line));
  EXPECT_STREQ(line, "C:\\browse.exe \"https://a.example/\"");
  EXPECT_FALSE(BrowserCommandLine("C:\\browse.exe %1", std::string(300, 'a').c_str(), line, sizeof line));
}

// The ".htm" page type under HKEY_CLASSES_ROOT, set for a test and put back afterwards.
class PageTypeCommand : public InfoDialogs {
 protected:
  ProcessLock lock_{"QuorvaneTestsPageType"};  // test programs side by side share the keys
  void SetUp() override {
    InfoDialogs::SetUp();
    hadPageType_ = ReadDefault(kPageKey, &savedPageType_);
    SetDefault(kPageKey, "QvTestPageType");
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kTypeKey);
    if (hadPageType_)
      SetDefault(kPageKey, savedPageType_);
    else
      RegDeleteTreeA(HKEY_CLASSES_ROOT, kPageKey);
    InfoDialogs::TearDown();
  }
  static bool ReadDefault(const char* key, std::string* value) {
    char text[512];
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
      return false;
    *value = text;
    return true;
  }
  static void SetDefault(const char* key, const std::string& value, DWORD type = REG_SZ) {
    HKEY opened;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(opened, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(opened);
  }
  static constexpr const char* kPageKey = ".htm";
  static constexpr const char* kTypeKey = "QvTestPageType";
  static constexpr const char* kCommandKey = "QvTestPageType\\shell\\open\\command";
  bool hadPageType_ = false;
  std::string savedPageType_;
};

TEST_F(PageTypeCommand, FoundThroughThePageType) {
  SetDefault(kCommandKey, "\"C:\\Web\\browse.exe\" \"%1\"");
  char command[BROWSER_COMMAND_ROOM] = "";
  ASSERT_EQ(FindBrowserCommand(command, sizeof command), ERROR_SUCCESS);
  EXPECT_STREQ(command, "\"C:\\Web\\browse.exe\" \"%1\"");

  SetDefault(kCommandKey, "%QV_NO_SUCH_VARIABLE_X%\\browse.exe", REG_EXPAND_SZ);
  ASSERT_EQ(FindBrowserCommand(command, sizeof command), ERROR_SUCCESS);
  EXPECT_STREQ(command, "%QV_NO_SUCH_VARIABLE_X%\\browse.exe");  // unknown variables stay
  SetEnvironmentVariableA("QV_WEB_FOLDER", "C:\\Web");
  SetDefault(kCommandKey, "%QV_WEB_FOLDER%\\browse.exe", REG_EXPAND_SZ);
  ASSERT_EQ(FindBrowserCommand(command, sizeof command), ERROR_SUCCESS);
  EXPECT_STREQ(command, "C:\\Web\\browse.exe");
}

TEST_F(PageTypeCommand, MissingOrTooLongCommandsAreErrors) {
  char command[BROWSER_COMMAND_ROOM] = "";
  EXPECT_NE(FindBrowserCommand(command, sizeof command), ERROR_SUCCESS);  // no open command
  SetDefault(kCommandKey, std::string(BROWSER_COMMAND_ROOM + 20, 'x'));
  EXPECT_NE(FindBrowserCommand(command, sizeof command), ERROR_SUCCESS);
  char small[16];
  SetDefault(kCommandKey, "C:\\a\\long\\path\\browse.exe");
  EXPECT_EQ(FindBrowserCommand(small, sizeof small), ERROR_MORE_DATA);
}

// With no browser to be found, the version check says so and the dialog stays open.
TEST_F(PageTypeCommand, AFailedVersionCheckIsReported) {
  std::snprintf(g_settings.website, sizeof g_settings.website, "%s", "x-qv-no-handler://www.example.com");
  ProbedWindow report;
  bool stayed = false;
  DialogProbe probe(kCheckTitle, IDOK, [&](HWND d) {
    PressButton(d, IDC_INFO_WEB);
    HWND box = WaitForWindow("#32770", "Quorvane 32", GetCurrentProcessId(), 10000);
    if (!box) return;
    report = ReadDialog(box);
    PressButton(box, IDOK);
    WaitForWindowGone("#32770", "Quorvane 32", 5000);
    stayed = IsWindowVisible(d) != FALSE;
  });
  ShowCheckVersion(g_program.mainWindow);
  ASSERT_TRUE(probe.Result().found);
  EXPECT_EQ(report.text.rfind("Version Cannot be Verified. Cannot Access Web Site because\r\n", 0), 0u) << report.text;
  EXPECT_EQ(report.icon, ProbeIcon::Hand);
  EXPECT_TRUE(stayed);
}

}  // namespace
