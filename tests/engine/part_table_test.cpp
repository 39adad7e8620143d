// The part table's clearing, the deletion of the files it names, and the files parts share.
#include <gtest/gtest.h>

#include <cstdio>

#include "decode/join_parts.h"
#include "decode/part_table.h"
#include "encode/header_styles.h"
#include "tests/engine/decode_fixture.h"
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

namespace {

class SharedPartFiles : public DecodeTest {
 protected:
  // Opens the record's part file (after `previous` when given) and writes the part's bytes;
  // its stream is then held for a following part, as the decoder holds it.
  void Write(int part, const PartRecord* previous, const std::string& bytes) {
    PartRecord& record = g_partTable[part - 1];
    record.partNumber = part;
    const int s = OpenPartFile(record, previous, dir.File("out.bin").c_str());
    ASSERT_GE(s, 0);
    ASSERT_EQ(StreamWriteBlock(s, bytes.data(), static_cast<unsigned>(bytes.size())), static_cast<int>(bytes.size()));
    ASSERT_TRUE(EndPartFile(record, s));
    if (!HoldPartFile(record, s)) {
      ASSERT_TRUE(StreamClose(s));
    }
  }
};

// The stream held for a following part is closed before the part files are deleted: a file
// still open could not be deleted on Windows.
TEST_F(SharedPartFiles, AHeldPartFileIsDeletedAfterAFailure) {
  Write(1, nullptr, "one-");
  Write(2, &g_partTable[0], "two");
  EXPECT_EQ(ReadWholeFile(g_partTable[0].fileName), "one-two");
  DeletePartFiles();
  EXPECT_EQ(ListFolder(dir.path()), "");
}

// Parts in order go on in one file; a part written again gets a file of its own and leaves
// the bytes of the part before it in place, and the join takes each part from its place.
TEST_F(SharedPartFiles, APartWrittenAgainKeepsTheFileItSharedAndTheJoinTakesEachPartFromItsPlace) {
  Write(1, nullptr, "one-");
  Write(2, &g_partTable[0], "two-");
  Write(3, &g_partTable[1], "three");
  EXPECT_STREQ(g_partTable[2].fileName, g_partTable[0].fileName);
  const std::string shared = g_partTable[0].fileName;
  Write(2, nullptr, "TWO-");
  EXPECT_STRNE(g_partTable[1].fileName, shared.c_str());
  EXPECT_EQ(ReadWholeFile(shared), "one-two-three");
  std::snprintf(g_decode.outputName, sizeof g_decode.outputName, "%s", dir.File("out.bin").c_str());
  g_decode.style = STYLE_SIMTEL;
  ASSERT_EQ(JoinParts(nullptr, 3, 0, OP_DECODE), RESULT_DONE);
  EXPECT_EQ(ReadWholeFile(dir.File("out.bin")), "one-TWO-three");
  EXPECT_EQ(ListFolder(dir.path()), "out.bin\n");  // both part files gone
}

// When the shared file takes the output's place, the file of a part beyond the total (a
// stray part of another posting) is deleted as the copying join deletes it.
TEST_F(SharedPartFiles, AMovedJoinLeavesNoOtherPartFileBehind) {
  Write(1, nullptr, "one-");
  Write(2, &g_partTable[0], "two");
  Write(3, nullptr, "stray");
  std::snprintf(g_decode.outputName, sizeof g_decode.outputName, "%s", dir.File("out.bin").c_str());
  g_decode.style = STYLE_SIMTEL;
  ASSERT_EQ(JoinParts(nullptr, 2, 0, OP_DECODE), RESULT_DONE);
  EXPECT_EQ(ReadWholeFile(dir.File("out.bin")), "one-two");
  EXPECT_EQ(ListFolder(dir.path()), "out.bin\n");
}

}  // namespace
