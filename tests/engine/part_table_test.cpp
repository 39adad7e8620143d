// The part table's clearing and the deletion of the files it names.
#include <gtest/gtest.h>

#include <cstdio>

#include "decode/part_table.h"
#include "tests/support/test_files.h"

TEST(PartTableTest, ClearLeavesFilesAndDeleteRemovesThem) {
  ScratchDir dir;
  std::string a = dir.File("a.uue"), b = dir.File("b.uue");
  WriteWholeFile(a, "x");
  WriteWholeFile(b, "y");
  ClearPartTable();
  g_partTable[0].partNumber = 1;
  snprintf(g_partTable[0].fileName, sizeof g_partTable[0].fileName, "%s", a.c_str());
  g_partTable[98].partNumber = 99;
  snprintf(g_partTable[98].fileName, sizeof g_partTable[98].fileName, "%s", b.c_str());
  g_partTotal = 99;
  g_currentPart = &g_partTable[5];
  ClearPartTable();
  EXPECT_TRUE(PathExists(a));
  EXPECT_EQ(g_partTable[0].partNumber, 0);
  EXPECT_EQ(g_partTable[0].fileName[0], '\0');
  EXPECT_EQ(g_partTotal, 0);
  EXPECT_EQ(g_currentPart, &g_partTable[0]);
  snprintf(g_partTable[0].fileName, sizeof g_partTable[0].fileName, "%s", a.c_str());
  snprintf(g_partTable[98].fileName, sizeof g_partTable[98].fileName, "%s", b.c_str());
  DeletePartFiles();
  EXPECT_FALSE(PathExists(a));
  EXPECT_FALSE(PathExists(b));
  EXPECT_EQ(g_partTable[98].fileName[0], '\0');
}
