#include "core/names.h"

#include "core/name_charsets.h"

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
  // Bytes of characters beyond ASCII: CleanFileName takes them whole.
  EXPECT_EQ(NameCharClass(static_cast<char>(0xE9)), NAME_CHAR_VALID);
  EXPECT_EQ(NameCharClass(static_cast<char>(0x80)), NAME_CHAR_VALID);
}

TEST(CleanFileName, ReplacesInvalidCharactersDropsQuotesAndKeepsTheLastPart) {
  EXPECT_EQ(Cleaned("dir/a?b\"c.txt"), std::make_pair(std::string("a_bc.txt"), 1));
  EXPECT_EQ(Cleaned("d\\caf\xC3\xA9?.txt"), std::make_pair(std::string("caf\xC3\xA9_.txt"), 1));
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

// Where the code page is UTF-8, the limit never falls inside a character; elsewhere the
// same bytes are two characters each and 255 of them stay.
TEST(CleanFileName, TheLimitFallsBetweenCharacters) {
  std::string e;
  for (int i = 0; i < 150; ++i) e += "\xC3\xA9";
  const std::string cleaned = Cleaned(e).first;
  const std::string device = Cleaned("CON." + e).first;
  EXPECT_EQ(cleaned.size(), ProgramUsesUtf8() ? 254u : 255u);
  EXPECT_EQ(device.substr(0, 5), "_CON.");
  EXPECT_TRUE(!ProgramUsesUtf8() || (IsUtf8Text(cleaned.c_str()) && IsUtf8Text(device.c_str())));
}

TEST(CleanFileName, ALongDeviceNameStaysWithinTheLimit) {
  std::string name = "CON." + std::string(251, 'x');
  auto result = Cleaned(name);
  EXPECT_EQ(result.first.size(), 255u);
  EXPECT_EQ(result.first.substr(0, 5), "_CON.");
  EXPECT_EQ(result.second, 1);
}

// Names from encoded text in the program's code page: UTF-8 where the manifest is honoured
// (natively too), Windows-1252 in the Wine test program without it.
TEST(NameFromPosting, ReadsUtf8OrElseWindows1252) {
  const bool utf8 = ProgramUsesUtf8();
  char name[64];
  NameFromPosting("r\xE9sum\xE9 \x80\x81.txt", name, sizeof name);  // 1990s: é, €, undefined
  EXPECT_STREQ(name, utf8 ? "r\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC_.txt" : "r\xE9sum\xE9 \x80_.txt");
  NameFromPosting("r\xC3\xA9sum\xC3\xA9.txt", name, sizeof name);
  EXPECT_STREQ(name, utf8 ? "r\xC3\xA9sum\xC3\xA9.txt" : "r\xE9sum\xE9.txt");
  NameFromPosting("\xE6\x97\xA5\xE6\x9C\xAC.jpg", name, sizeof name);
  EXPECT_STREQ(name, utf8 ? "\xE6\x97\xA5\xE6\x9C\xAC.jpg" : "__.jpg");
  // An overlong "/" is not UTF-8: its bytes are two Windows-1252 letters, no separator.
  NameFromPosting("a\xC0\xAF" "b", name, sizeof name);
  EXPECT_EQ(std::string(name).find('/'), std::string::npos);
  EXPECT_STREQ(name, utf8 ? "a\xC3\x80\xC2\xAF" "b" : "a\xC0\xAF" "b");
  // A small room keeps whole characters only.
  NameFromPosting("\xE6\x97\xA5\xE6\x9C\xAC.jpg", name, 6);
  EXPECT_STREQ(name, utf8 ? "\xE6\x97\xA5" : "__.jp");
}

TEST(MacRomanNames, ConvertBothWaysWithStandInsForMissingCharacters) {
  char utf8[64], mac[64], program[64];
  MacRomanToUtf8("r\x8Esum\x8E \xDB\xBD", utf8, sizeof utf8);
  EXPECT_STREQ(utf8, "r\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC\xCE\xA9");
  // "Š" is in Windows-1252 but not in Mac Roman.
  NameFromPosting("r\xC3\xA9sum\xC3\xA9 \xC5\xA0.txt", program, sizeof program);
  NameToMacRoman(program, mac, sizeof mac);
  EXPECT_STREQ(mac, "r\x8Esum\x8E _.txt");
  NameToUtf8(program, utf8, sizeof utf8);
  EXPECT_STREQ(utf8, "r\xC3\xA9sum\xC3\xA9 \xC5\xA0.txt");
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
