// The file associations in the real registry: every extension and file type as listed, the
// "Decode" command that keeps paths with blanks whole, the same state after a second run,
// failures counted, and `fullpath` under the settings key.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

#include "config/file_associations.h"
#include "core/settings.h"
#include "tests/app/saved_class_keys.h"
#include "tests/support/process_lock.h"

namespace {

const char kTestClasses[] = "Software\\QvTests\\Classes";

// The extensions and the file types with their descriptions, as the shell must see them.
const char* const kExtensions[][2] = {
    {".uue", "UUEncodedFile"},   {".uu", "UUEncodedFile"},   {".xxe", "XXEncodedFile"},
    {".xx", "XXEncodedFile"},    {".mme", "MIMEEncodedFile"}, {".mm", "MIMEEncodedFile"},
    {".b64", "MIMEEncodedFile"}, {".hqx", "BinhexEncodedFile"}, {".hex", "BinhexEncodedFile"},
};
const char* const kTypes[][2] = {
    {"UUEncodedFile", "UU encoded file"},
    {"XXEncodedFile", "XX encoded file"},
    {"MIMEEncodedFile", "MIME encoded file"},
    {"BinhexEncodedFile", "Binhex encoded file"},
};

// The string value `name` (null: the default value) of `key` under `root`; "<missing>" when
// there is none, "<type N>" when it is not a plain string.
std::string Value(HKEY root, const std::string& key, const char* name = nullptr) {
  char data[1024];
  DWORD size = sizeof data;
  DWORD type = 0;
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return "<missing>";
  const LONG read = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(opened);
  if (read != ERROR_SUCCESS) return "<missing>";
  if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
  if (size == 0 || data[size - 1] != '\0') return "<not terminated>";
  return std::string(data, size - 1);
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

std::string ModulePath() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, length);
}

// Every key the associations make, with the default value it must have for `program`.
std::vector<std::pair<std::string, std::string>> Entries(const std::string& program) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (const auto& row : kExtensions) entries.emplace_back(row[0], row[1]);
  for (const auto& type : kTypes) {
    const std::string name = type[0];
    entries.emplace_back(name, type[1]);
    entries.emplace_back(name + "\\DefaultIcon", program + ",0");
    entries.emplace_back(name + "\\shell\\Decode\\command", "\"" + program + "\" \"%1\"");
  }
  return entries;
}

// The entries as found under `root` (found) or as they must be (expected), one per line.
std::string Found(HKEY root) {
  std::string text;
  for (const auto& entry : Entries("")) text += entry.first + " = " + Value(root, entry.first) + "\n";
  return text;
}
std::string Expected(const std::string& program) {
  std::string text;
  for (const auto& entry : Entries(program)) text += entry.first + " = " + entry.second + "\n";
  return text;
}

// Splits a command line the way programs started by the shell see it.
std::vector<std::string> Arguments(const std::string& commandLine) {
  std::wstring wide(commandLine.begin(), commandLine.end());
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(wide.c_str(), &count);
  std::vector<std::string> result;
  for (int i = 0; words && i < count; ++i) {
    std::wstring word(words[i]);
    result.emplace_back(word.begin(), word.end());
  }
  LocalFree(words);
  return result;
}

// Runs against the program's settings key (made as start-up makes it) and a classes key of
// the test's own; the keys of HKEY_CLASSES_ROOT that the test writes are put back as they
// were (removed when they were not there), and so is `fullpath`.
class FileAssociations : public testing::Test {
  ProcessLock lock_{"QuorvaneTestsFileAssociations"};  // the keys are shared by every test
 protected:
  void SetUp() override {
    ResetSettings();
    BuildSettingsKeyPath();
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, g_settingsKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    savedFullpath = Value(HKEY_CURRENT_USER, g_settingsKeyPath, "fullpath");
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestClasses);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestClasses, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &classes,
                              nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(classes);
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestClasses);

    if (savedFullpath == "<missing>")
      RegDeleteKeyValueA(HKEY_CURRENT_USER, g_settingsKeyPath, "fullpath");
    else
      RegSetKeyValueA(HKEY_CURRENT_USER, g_settingsKeyPath, "fullpath", REG_SZ, savedFullpath.c_str(),
                      static_cast<DWORD>(savedFullpath.size() + 1));
    ResetSettings();
  }
  SavedClassKeys savedClasses{SavedClassKeys::AssociationKeys()};
  HKEY classes = nullptr;
  std::string savedFullpath;
};

TEST_F(FileAssociations, AreMadeUnderTheClassesRootWithFullpath) {
  RegDeleteKeyValueA(HKEY_CURRENT_USER, g_settingsKeyPath, "fullpath");
  EXPECT_EQ(MakeFileAssociations(nullptr), 0);
  const std::string program = ModulePath();
  EXPECT_EQ(Found(HKEY_CLASSES_ROOT), Expected(program));
  EXPECT_EQ(Value(HKEY_CURRENT_USER, g_settingsKeyPath, "fullpath"), program);
  EXPECT_EQ(std::string(g_settings.fullpath), program);
}

TEST_F(FileAssociations, ASecondRunGivesTheSameStateAndNoFailures) {
  ASSERT_EQ(MakeFileAssociationsIn(classes), 0);
  const std::string first = Found(classes);
  // A moved program is repaired by the next run; the same program gives the same state.
  ASSERT_EQ(WriteFileAssociations(classes, "C:\\old place\\Zentp32.exe"), 0);
  EXPECT_EQ(MakeFileAssociationsIn(classes), 0);
  EXPECT_EQ(Found(classes), first);
  EXPECT_EQ(first, Expected(ModulePath()));
}

TEST_F(FileAssociations, ThePathsOfTheDecodeCommandStayWholeWithBlanks) {
  const std::string program = "C:\\Program Files\\Quorvane 32\\Zentp32.exe";
  ASSERT_EQ(WriteFileAssociations(classes, program.c_str()), 0);
  EXPECT_EQ(Found(classes), Expected(program));
  // The shell puts the file's path in for %1; the program gets it as one argument.
  std::string command = Value(classes, "UUEncodedFile\\shell\\Decode\\command");
  const std::string file = "C:\\My Documents\\two parts.uue";
  command.replace(command.find("%1"), 2, file);
  const std::vector<std::string> words = Arguments(command);
  ASSERT_EQ(words.size(), 2u) << command;
  EXPECT_EQ(words[0], program);
  EXPECT_EQ(words[1], file);
}

TEST_F(FileAssociations, UnwritableClassKeysAreCountedAndFullpathIsStillWritten) {
  RegDeleteKeyValueA(HKEY_CURRENT_USER, g_settingsKeyPath, "fullpath");
  // A volatile key takes no lasting keys below it: every class key is refused.
  const std::string volatileKey = std::string(kTestClasses) + "\\Volatile";
  HKEY refusing;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, volatileKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &refusing, nullptr),
            ERROR_SUCCESS);
  // Nine extensions and four file types with their description, icon and verb.
  EXPECT_EQ(MakeFileAssociationsIn(refusing), 9 + 4 * 3);
  EXPECT_FALSE(KeyExists(refusing, ".uue"));
  RegCloseKey(refusing);
  EXPECT_EQ(Value(HKEY_CURRENT_USER, g_settingsKeyPath, "fullpath"), ModulePath());
}

}  // namespace
