// The header-style drop-down lists, on a real combo box.
#include "core/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/style_lists.h"
#include "encode/header_styles.h"

namespace {

class StyleLists : public ::testing::Test {
 protected:
  void SetUp() override {
    list = CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST, 0, 0, 200, 300, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
  }
  void TearDown() override { DestroyWindow(list); }

  std::vector<std::string> Items() const {
    std::vector<std::string> items;
    int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[64] = "";
      SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }
  HWND list = nullptr;
};

TEST_F(StyleLists, DecodeListsShowRowsThreeToTwentyInOrder) {
  EXPECT_EQ(FillStyleList(list, STYLE_LIST_DECODE, STYLE_X_FILE), STYLE_X_FILE - STYLE_SINGLE);
  std::vector<std::string> items = Items();
  ASSERT_EQ(items.size(), 18u);
  EXPECT_EQ(items.front(), "Single File");
  EXPECT_EQ(items.back(), "R.E.M.");
  for (const std::string& item : items) {
    EXPECT_NE(item, "To Be Determined");
    EXPECT_NE(item, "Try All Types");
    EXPECT_NE(item, "Decode Multiple Inputs");
  }
  EXPECT_EQ(StyleFromList(list), STYLE_X_FILE);
}

TEST_F(StyleLists, EncodeListLeavesOutTheDecodeOnlyStyles) {
  FillStyleList(list, STYLE_LIST_ENCODE, STYLE_SINGLE);
  std::vector<std::string> items = Items();
  EXPECT_EQ(items.size(), 15u);
  for (int row : {STYLE_POST_201, STYLE_AOL, STYLE_SQUIRREL})
    for (const std::string& item : items) EXPECT_NE(item, HeaderStyleName(row));
  // A stored style that cannot be encoded leaves the list without a selection, read as row 3.
  EXPECT_EQ(FillStyleList(list, STYLE_LIST_ENCODE, STYLE_AOL), -1);
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(StyleFromList(list), STYLE_SINGLE);
}

TEST_F(StyleLists, SelectingByRow) {
  FillStyleList(list, STYLE_LIST_ENCODE, STYLE_SINGLE);
  EXPECT_EQ(SelectStyleInList(list, STYLE_REM), 14);
  EXPECT_EQ(StyleFromList(list), STYLE_REM);
  EXPECT_EQ(SelectStyleInList(list, STYLE_AOL), -1);  // not offered for encoding
  EXPECT_EQ(StyleFromList(list), STYLE_REM);          // the selection stays
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SelectStyleInList(list, STYLE_SINGLE), -1);
}

}  // namespace
