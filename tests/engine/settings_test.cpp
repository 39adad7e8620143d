#include <gtest/gtest.h>

#include "core/settings.h"

namespace {

class SettingsDefaults : public ::testing::Test {
 protected:
  void SetUp() override { ResetSettings(); }
  void TearDown() override { ResetSettings(); }
};

TEST_F(SettingsDefaults, CompiledInDefaultsAreTheDocumentedOnes) {
  EXPECT_EQ(g_settings.encodemethod, METHOD_UU);
  EXPECT_EQ(g_settings.encodetype, 3);
  EXPECT_EQ(g_settings.encodeoutputsize, 60000);
  EXPECT_EQ(g_settings.encodecrlf, EOL_CRLF);
  EXPECT_EQ(g_settings.decodeautodetect, 1);
  EXPECT_EQ(g_settings.decodejoin, 1);
  EXPECT_EQ(g_settings.decodetestchecksum, 1);
  EXPECT_EQ(g_settings.decodemethod, DECODE_BY_DATA);
  EXPECT_EQ(g_settings.encodedirselect, DIR_SAME_AS_INPUT);
  EXPECT_EQ(g_settings.decodedirselect, DIR_SAME_AS_INPUT);
  EXPECT_STREQ(g_settings.webcheck, "cgi-bin/checkver");
  EXPECT_STREQ(g_settingsKeyPath, "Software\\Orvanta, Inc.\\Zentrel32\\2.0");
}

TEST_F(SettingsDefaults, EndOfLineFollowsEncodeCrlf) {
  EXPECT_STREQ(EndOfLineString(), "\r\n");
  EXPECT_EQ(EndOfLineLength(), 2);
  g_settings.encodecrlf = EOL_LF;
  EXPECT_STREQ(EndOfLineString(), "\n");
  EXPECT_EQ(EndOfLineLength(), 1);
  g_settings.encodecrlf = 177;
  EXPECT_STREQ(EndOfLineString(), "");
  EXPECT_EQ(EndOfLineLength(), 0);
}

TEST_F(SettingsDefaults, OutOfRangeNumbersAreBroughtIntoRangeWhereUsed) {
  g_settings.encodeoutputsize = 12;
  EXPECT_EQ(EncodeOutputSizeInRange(), MIN_OUTPUT_SIZE);
  g_settings.encodeoutputsize = 1 << 30;
  EXPECT_EQ(EncodeOutputSizeInRange(), MAX_OUTPUT_SIZE);
  g_settings.encodeoutputsize = 5000;
  EXPECT_EQ(EncodeOutputSizeInRange(), 5000);

  g_settings.encodetype = 21;
  EXPECT_EQ(EncodeStyleInRange(), 3);
  g_settings.encodetype = -4;
  EXPECT_EQ(EncodeStyleInRange(), 3);
  g_settings.encodetype = 20;
  EXPECT_EQ(EncodeStyleInRange(), 20);
  g_settings.decodetype = 2;
  EXPECT_EQ(DecodeStyleInRange(), 3);

  g_settings.encodemethod = 185;
  EXPECT_EQ(EncodeMethodType(), 4);
  g_settings.encodemethod = 999;
  EXPECT_EQ(EncodeMethodType(), 1);
}

TEST_F(SettingsDefaults, TablesNameEveryValueOnceWithTheRightKinds) {
  struct Expect {
    const SettingEntry* table;
    int count;
  } tables[] = {{GeneralSettings, 5}, {EncodeSettings, 7}, {DecodeSettings, 7}, {WebSettings, 2},
                {PathSettings, 1}};
  for (const Expect& e : tables) {
    int n = 0;
    for (const SettingEntry* entry = e.table; entry->keyName; ++entry, ++n) {
      if (entry->kind == SETTING_STRING)
        EXPECT_GT(entry->size, 4u) << entry->keyName;
      else
        EXPECT_EQ(entry->size, 4u) << entry->keyName;
    }
    EXPECT_EQ(n, e.count);
  }
  EXPECT_EQ(EncodeSettings[2].kind, SETTING_LONG);
  EXPECT_STREQ(EncodeSettings[2].keyName, "encodeoutputsize");
  EXPECT_EQ(EncodeSettings[6].size, 256u);
  EXPECT_EQ(WebSettings[0].size, 64u);
  EXPECT_EQ(WebSettings[1].size, 32u);
}

}  // namespace
