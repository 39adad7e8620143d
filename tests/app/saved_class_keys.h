// The file-association keys of HKEY_CLASSES_ROOT that a test writes, put back as they were
// when the test ends: a key that was there (".hex" often is, for another program) is copied
// aside first and restored whole; one that was not is removed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

class SavedClassKeys {
 public:
  explicit SavedClassKeys(const std::vector<std::string>& keys) : keys_(keys) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSaved);
    for (const std::string& key : keys_) Save(key);
  }
  ~SavedClassKeys() {
    for (const std::string& key : keys_) Restore(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSaved);
  }
  SavedClassKeys(const SavedClassKeys&) = delete;
  SavedClassKeys& operator=(const SavedClassKeys&) = delete;

  static std::vector<std::string> AssociationKeys() {
    return {".uue", ".uu", ".xxe", ".xx", ".mme", ".mm", ".b64", ".hqx", ".hex",
            "UUEncodedFile", "XXEncodedFile", "MIMEEncodedFile", "BinhexEncodedFile"};
  }

 private:
  static constexpr const char* kSaved = "Software\\QvTests\\SavedClasses";

  static std::string SavedKey(const std::string& key) { return std::string(kSaved) + "\\" + key; }

  static void Copy(HKEY fromRoot, const std::string& from, HKEY toRoot, const std::string& to) {
    HKEY source, target;
    if (RegOpenKeyExA(fromRoot, from.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) return;
    if (RegCreateKeyExA(toRoot, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
        ERROR_SUCCESS) {
      EXPECT_EQ(RegCopyTreeA(source, nullptr, target), ERROR_SUCCESS) << from;
      RegCloseKey(target);
    }
    RegCloseKey(source);
  }
  static void Save(const std::string& key) { Copy(HKEY_CLASSES_ROOT, key, HKEY_CURRENT_USER, SavedKey(key)); }
  static void Restore(const std::string& key) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
    Copy(HKEY_CURRENT_USER, SavedKey(key), HKEY_CLASSES_ROOT, key);
  }

  std::vector<std::string> keys_;
};
