#include "core/names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/test_files.h"

namespace {

// Cleans a copy in a 260-character buffer and returns the result and the flag.
std::pair<std::string, int> Cleaned(const std::string& name) {
  char buffer[260] = {};
  std::strncpy(buffer, name.c_str(), sizeof buffer - 1);
  int changed = CleanFileName(buffer);
  return {buffer, changed};
}

TEST(FileNamePart, TakesTextAfterTheLastSeparatorOfAnyKind) {
  EXPECT_STREQ(FileNamePart("C:\\dir.ini.d\\sub\\a.txt"), "a.txt");
  EXPECT_STREQ(FileNamePart("dir/sub/a.txt"), "a.txt");
  EXPECT_STREQ(FileNamePart("C:a.txt"), "a.txt");
  EXPECT_STREQ(FileNamePart("plain.txt"), "plain.txt");
  EXPECT_STREQ(FileNamePart("dir\\"), "");
}

TEST(BaseNameWithoutExtension, CutsAtTheFirstDotOfTheNameOnly) {
  char base[16];
  BaseNameWithoutExtension("C:\\d.x\\photo.tar.gz", base, sizeof base);
  EXPECT_STREQ(base, "photo");
  BaseNameWithoutExtension("a/b.c/noext", base, sizeof base);
  EXPECT_STREQ(base, "noext");
  // A colon does not separate here, unlike FileNamePart.
  BaseNameWithoutExtension("C:pic.jpg", base, sizeof base);
  EXPECT_STREQ(base, "C:pic");
}

TEST(BaseNameWithoutExtension, NeverWritesBeyondTheRoomGiven) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  BaseNameWithoutExtension("dir\\averyveryverylongname.txt", buffer, 5);
  EXPECT_STREQ(buffer, "aver");
  EXPECT_EQ(buffer[5], '#');
}

TEST(NameCharClass, ClassifiesEveryKindOfCharacter) {
  EXPECT_EQ(NameCharClass('"'), NAME_CHAR_REMOVED);
  for (char c : std::string("*<>?|")) EXPECT_EQ(NameCharClass(c), NAME_CHAR_INVALID) << c;
  for (char c : std::string("/:\\")) EXPECT_EQ(NameCharClass(c), NAME_CHAR_SEPARATOR) << c;
  for (char c : std::string(" azAZ09.-_~!$'")) EXPECT_EQ(NameCharClass(c), NAME_CHAR_VALID) << c;
  EXPECT_EQ(NameCharClass('\t'), NAME_CHAR_INVALID);
  EXPECT_EQ(NameCharClass('\x1f'), NAME_CHAR_INVALID);
  EXPECT_EQ(NameCharClass(static_cast<char>(0xE9)), NAME_CHAR_INVALID);
  EXPECT_EQ(NameCharClass(static_cast<char>(0x80)), NAME_CHAR_INVALID);
}

TEST(CleanFileName, ReplacesInvalidCharactersDropsQuotesAndKeepsTheLastPart) {
  EXPECT_EQ(Cleaned("dir/a?b\"c.txt"), std::make_pair(std::string("a_bc.txt"), 1));
  EXPECT_EQ(Cleaned("caf\xE9.txt"), std::make_pair(std::string("caf_.txt"), 1));
  EXPECT_EQ(Cleaned("C:\\x\\y:z.bin"), std::make_pair(std::string("z.bin"), 0));
  EXPECT_EQ(Cleaned("\"quoted name.zip\""), std::make_pair(std::string("quoted name.zip"), 0));
  EXPECT_EQ(Cleaned("plain.txt"), std::make_pair(std::string("plain.txt"), 0));
  EXPECT_EQ(Cleaned("tab\there"), std::make_pair(std::string("tab_here"), 1));
}

TEST(CleanFileName, RenamesDeviceNamesInAnyCaseWithOrWithoutExtension) {
  for (const char* device : {"CON", "con.txt", "Prn.doc", "aux", "NUL.tar.gz", "nul .txt", "COM1",
                             "com9.zip", "LPT1.x", "lpt9", "CONIN$", "conout$.log", "dir/CON"}) {
    auto result = Cleaned(device);
    EXPECT_EQ(result.first[0], '_') << device;
    EXPECT_FALSE(IsDeviceName(result.first.c_str())) << device;
    EXPECT_EQ(result.second, 1) << device;
  }
  EXPECT_EQ(Cleaned("con.txt").first, "_con.txt");
}

TEST(CleanFileName, KeepsNamesThatOnlyLookLikeDevices) {
  for (const char* name : {"COM0", "COM10", "LPT", "CONSOLE.txt", "nullify", "xcon", "aux1.c"}) {
    EXPECT_EQ(Cleaned(name), std::make_pair(std::string(name), 0)) << name;
  }
}

TEST(CleanFileName, RenamesNamesThatWouldOpenADirectory) {
  EXPECT_EQ(Cleaned("."), std::make_pair(std::string("_."), 1));
  EXPECT_EQ(Cleaned(".."), std::make_pair(std::string("_.."), 1));
  EXPECT_EQ(Cleaned("a/.."), std::make_pair(std::string("_.."), 1));
  EXPECT_EQ(Cleaned(""), std::make_pair(std::string("_"), 1));
  EXPECT_EQ(Cleaned("dir/"), std::make_pair(std::string("_"), 1));
  EXPECT_EQ(Cleaned(". ."), std::make_pair(std::string("_. ."), 1));
}

TEST(CleanFileName, StopsAfter255StepsCountingRemovedQuotes) {
  auto result = Cleaned(std::string(300, 'a'));
  EXPECT_EQ(result.first, std::string(255, 'a'));
  // Ten quotes cost ten steps: 245 letters survive.
  result = Cleaned(std::string(10, '"') + std::string(290, 'b'));
  EXPECT_EQ(result.first, std::string(245, 'b'));
}

TEST(CleanFileName, ALongDeviceNameStaysWithinTheLimit) {
  std::string name = "CON." + std::string(251, 'x');
  auto result = Cleaned(name);
  EXPECT_EQ(result.first.size(), 255u);
  EXPECT_EQ(result.first.substr(0, 5), "_CON.");
  EXPECT_EQ(result.second, 1);
}

TEST(TextScanners, CutSkipAndFindTokenEnds) {
  char line[] = "name.uue\r\nmore";
  CutAtLineEnd(line);
  EXPECT_STREQ(line, "name.uue");
  char lf[] = "a\nb\rc";
  CutAtLineEnd(lf);
  EXPECT_STREQ(lf, "a");
  EXPECT_STREQ(SkipBlanks(" \t \tword rest"), "word rest");
  EXPECT_STREQ(SkipBlanks(""), "");
  EXPECT_STREQ(FindTokenEnd("alice,bob"), ",bob");
  EXPECT_STREQ(FindTokenEnd("alice\tbob"), "\tbob");
  EXPECT_STREQ(FindTokenEnd("alice bob"), " bob");
  EXPECT_STREQ(FindTokenEnd("alice"), "");
}

TEST(FileExists, SeesFilesAndFoldersButNotMissingPaths) {
  ScratchDir dir;
  WriteWholeFile(dir.File("here.txt"), "x");
  EXPECT_TRUE(FileExists(dir.File("here.txt").c_str()));
  EXPECT_TRUE(FileExists(dir.path().c_str()));
  EXPECT_FALSE(FileExists(dir.File("missing.txt").c_str()));
}

}  // namespace
