// Registry persistence of the settings and the identity strings from the version resource.
#ifdef _WIN32
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/settings.h"
#include "core/ui.h"

namespace {

// Copies `value` into a field of `size` bytes, cut and always terminated.
void CopyCut(char* field, DWORD size, const char* value) {
  if (size == 0) return;
  std::snprintf(field, size, "%s", value);
}

// Reads one entry's value. Numbers are taken only from 4-byte DWORD values and strings only
// from string values; anything else counts as unreadable and leaves the field alone.
bool ReadEntry(HKEY key, const SettingEntry& entry) {
  char raw[SETTINGS_PATH_ROOM + 1];
  DWORD type = 0;
  DWORD size = entry.size;
  if (size > sizeof raw - 1) size = sizeof raw - 1;
  if (RegQueryValueExA(key, entry.keyName, nullptr, &type, reinterpret_cast<BYTE*>(raw), &size) !=
      ERROR_SUCCESS)
    return false;
  if (entry.kind == SETTING_STRING) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    raw[size] = '\0';
    CopyCut(static_cast<char*>(entry.field), entry.size, raw);
    return true;
  }
  if (type != REG_DWORD || size != sizeof(DWORD)) return false;
  std::memcpy(entry.field, raw, sizeof(DWORD));
  return true;
}

bool WriteEntry(HKEY key, const SettingEntry& entry) {
  if (entry.kind == SETTING_STRING) {
    const char* text = static_cast<const char*>(entry.field);
    DWORD length = static_cast<DWORD>(strnlen(text, entry.size - 1)) + 1;
    return RegSetValueExA(key, entry.keyName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          length) == ERROR_SUCCESS;
  }
  DWORD value = 0;
  std::memcpy(&value, entry.field, sizeof value);
  return RegSetValueExA(key, entry.keyName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof value) == ERROR_SUCCESS;
}

void CutAtLastPoint(char* version) {
  char* point = std::strrchr(version, '.');
  if (point) *point = '\0';
}

}  // namespace

bool ReadVersionString(const char* name, char* buffer, DWORD size) {
  char program[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  if (length == 0 || length >= sizeof program) return false;
  DWORD ignored = 0;
  DWORD infoSize = GetFileVersionInfoSizeA(program, &ignored);
  if (infoSize == 0) return false;
  std::vector<char> info(infoSize);
  if (!GetFileVersionInfoA(program, 0, infoSize, info.data())) return false;

  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translation = nullptr;
  UINT translationSize = 0;
  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &translationSize) ||
      translationSize < sizeof(Translation))
    return false;

  char query[128];
  std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation->language,
                translation->codePage, name);
  char* value = nullptr;
  UINT valueSize = 0;
  if (!VerQueryValueA(info.data(), query, reinterpret_cast<void**>(&value), &valueSize) || !value) {
    if (size) buffer[0] = '\0';
    return false;
  }
  CopyCut(buffer, size, value);
  return true;
}

int ReadSettingsTable(const SettingEntry* table) {
  SetWaitCursor(nullptr);
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, g_settingsKeyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    RestoreCursor();
    return 1;
  }
  int failures = 0;
  for (const SettingEntry* entry = table; entry->keyName; ++entry)
    if (!ReadEntry(key, *entry)) ++failures;
  RegCloseKey(key);
  RestoreCursor();
  return failures;
}

int WriteSettingsTable(const SettingEntry* table) {
  SetWaitCursor(nullptr);
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, g_settingsKeyPath, 0, KEY_WRITE, &key) != ERROR_SUCCESS) {
    RestoreCursor();
    return 1;
  }
  int failures = 0;
  for (const SettingEntry* entry = table; entry->keyName; ++entry)
    if (!WriteEntry(key, *entry)) ++failures;
  RegCloseKey(key);
  RestoreCursor();
  return failures;
}

int LoadSettings() {
  char value[64];
  if (ReadVersionString("ProductName", value, sizeof value))
    CopyCut(g_identity.longName, sizeof g_identity.longName, value);
  if (ReadVersionString("InternalName", value, sizeof value))
    CopyCut(g_identity.internalName, sizeof g_identity.internalName, value);
  if (ReadVersionString("ProductVersion", value, sizeof value)) {
    CopyCut(g_identity.version, sizeof g_identity.version, value);
    CutAtLastPoint(g_identity.version);
  }
  if (ReadVersionString("CompanyName", value, sizeof value))
    CopyCut(g_identity.company, sizeof g_identity.company, value);
  BuildSettingsKeyPath();
  return ReadSettingsTable(GeneralSettings) + ReadSettingsTable(EncodeSettings) +
         ReadSettingsTable(DecodeSettings) + ReadSettingsTable(WebSettings);
}
#endif
