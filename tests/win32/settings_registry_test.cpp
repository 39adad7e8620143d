// Settings against the real registry, identity strings from the test program's own
// version resource (tests/win32/test_version.rc).
#include <gtest/gtest.h>

#include <string>

#include "core/settings.h"
#include "tests/support/process_lock.h"
#include "tests/support/scripted_ui.h"

namespace {

const char KEY[] = "Software\\Test Co\\QvTests\\3.1";

void DeleteTestKey() { RegDeleteKeyA(HKEY_CURRENT_USER, KEY); }

DWORD ValueCount() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return ~0u;
  DWORD values = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return values;
}

void PutDword(const char* name, DWORD value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void PutString(const char* name, const std::string& value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

bool GetDword(const char* name, DWORD* value) {
  DWORD size = sizeof *value;
  return RegGetValueA(HKEY_CURRENT_USER, KEY, name, RRF_RT_REG_DWORD, nullptr, value, &size) ==
         ERROR_SUCCESS;
}

class RegistrySettings : public ::testing::Test {
 protected:
  ProcessLock lock_{"QuorvaneTestsRegistrySettings"};  // every test uses the one key
  void SetUp() override {
    DeleteTestKey();
    ResetSettings();
    g_ui.Reset();
  }
  void TearDown() override {
    DeleteTestKey();
    ResetSettings();
  }
};

TEST_F(RegistrySettings, IdentityAndKeyPathComeFromTheVersionResource) {
  LoadSettings();
  EXPECT_STREQ(g_identity.internalName, "QvTests");
  EXPECT_STREQ(g_identity.company, "Test Co");
  EXPECT_STREQ(g_identity.version, "3.1");  // "3.1.4" cut at its last point
  EXPECT_EQ(std::string(g_identity.longName).size(), sizeof g_identity.longName - 1);
  EXPECT_EQ(std::string(g_identity.longName).rfind("Quorvane Test Bench", 0), 0u);
  EXPECT_STREQ(g_settingsKeyPath, KEY);

  char date[16] = "unchanged";
  EXPECT_TRUE(ReadVersionString("ReleaseDate", date, sizeof date));
  EXPECT_STREQ(date, "01-Feb-03");
  EXPECT_FALSE(ReadVersionString("NoSuchString", date, sizeof date));
  EXPECT_STREQ(date, "");
}

TEST_F(RegistrySettings, FirstStartKeepsDefaultsCreatesAnEmptyKeyAndReportsNothing) {
  int failures = LoadSettings();
  EXPECT_EQ(failures, 5 + 7 + 7 + 2);  // every value absent
  EXPECT_EQ(ValueCount(), 0u);
  EXPECT_TRUE(g_ui.messages.empty());
  EXPECT_EQ(g_settings.encodemethod, METHOD_UU);
  EXPECT_EQ(g_settings.encodetype, 3);
  EXPECT_EQ(g_settings.encodeoutputsize, 60000);
  EXPECT_STREQ(EndOfLineString(), "\r\n");
  EXPECT_EQ(g_settings.decodeautodetect, 1);
  EXPECT_EQ(g_settings.decodejoin, 1);
  EXPECT_EQ(g_settings.decodetestchecksum, 1);
  EXPECT_EQ(g_settings.encodedirselect, DIR_SAME_AS_INPUT);
  EXPECT_EQ(g_settings.decodedirselect, DIR_SAME_AS_INPUT);
}

TEST_F(RegistrySettings, StoredValuesReplaceDefaultsFromTheFirstJob) {
  PutDword("encodecrlf", EOL_LF);
  PutDword("encodeoutputsize", 9000);
  PutString("decodedir", "C:\\incoming");
  PutString("webcheck", "cgi-bin/other");
  EXPECT_EQ(LoadSettings(), 5 + 7 + 7 + 2 - 4);
  EXPECT_STREQ(EndOfLineString(), "\n");
  EXPECT_EQ(EndOfLineLength(), 1);
  EXPECT_EQ(g_settings.encodeoutputsize, 9000);
  EXPECT_STREQ(g_settings.decodedir, "C:\\incoming");
  EXPECT_STREQ(g_settings.webcheck, "cgi-bin/other");
}

TEST_F(RegistrySettings, MismatchedOrOversizedValuesAreIgnoredAndStringsStayTerminated) {
  PutString("encodemethod", "183");               // a string where a number belongs
  PutDword("decodedir", 7);                        // a number where a string belongs
  PutString("webcheck", std::string(40, 'w'));     // longer than its 32-byte field
  PutString("encodedir", std::string(255, 'd'));  // exactly fills its 256-byte field
  LoadSettings();
  EXPECT_EQ(g_settings.encodemethod, METHOD_UU);
  EXPECT_STREQ(g_settings.decodedir, "");
  EXPECT_STREQ(g_settings.webcheck, "cgi-bin/checkver");
  EXPECT_EQ(std::string(g_settings.encodedir), std::string(255, 'd'));
}

TEST_F(RegistrySettings, SavingAGroupWritesOnlyThatGroup) {
  LoadSettings();
  PutDword("overwriteexisting", 1);  // a general value stored earlier
  g_settings.overwriteexisting = 0;  // changed in this run only
  g_settings.encodemethod = METHOD_MIME;
  g_settings.encodecrlf = EOL_LF;
  snprintf(g_settings.encodedir, sizeof g_settings.encodedir, "%s", "C:\\out");
  EXPECT_EQ(WriteSettingsTable(EncodeSettings), 0);
  EXPECT_EQ(ValueCount(), 1u + 7u);

  DWORD value = 0;
  ASSERT_TRUE(GetDword("overwriteexisting", &value));
  EXPECT_EQ(value, 1u);
  ASSERT_TRUE(GetDword("encodemethod", &value));
  EXPECT_EQ(value, static_cast<DWORD>(METHOD_MIME));
  EXPECT_FALSE(GetDword("decodejoin", &value));

  ResetSettings();
  LoadSettings();
  EXPECT_EQ(g_settings.encodemethod, METHOD_MIME);
  EXPECT_EQ(g_settings.encodecrlf, EOL_LF);
  EXPECT_STREQ(g_settings.encodedir, "C:\\out");
  EXPECT_EQ(g_settings.overwriteexisting, 1);
}

TEST_F(RegistrySettings, WritingNeedsAnExistingKey) {
  LoadSettings();
  DeleteTestKey();
  EXPECT_EQ(WriteSettingsTable(GeneralSettings), 1);  // the key is not created by a write
  EXPECT_EQ(ValueCount(), ~0u);
}

}  // namespace
