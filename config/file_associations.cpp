#include "config/file_associations.h"

#include <cstdio>
#include <cstring>

#include "core/settings.h"

namespace {

struct Association {
  const char* extension;
  const char* fileType;
  const char* description;
  bool definesType;  // the first row of its file type
};

const Association kAssociations[] = {
    {".uue", "UUEncodedFile", "UU encoded file", true},
    {".uu", "UUEncodedFile", "UU encoded file", false},
    {".xxe", "XXEncodedFile", "XX encoded file", true},
    {".xx", "XXEncodedFile", "XX encoded file", false},
    {".mme", "MIMEEncodedFile", "MIME encoded file", true},
    {".mm", "MIMEEncodedFile", "MIME encoded file", false},
    {".b64", "MIMEEncodedFile", "MIME encoded file", false},
    {".hqx", "BinhexEncodedFile", "Binhex encoded file", true},
    {".hex", "BinhexEncodedFile", "Binhex encoded file", false},
};

const char kIconKey[] = "%s\\DefaultIcon";
const char kIconValue[] = "%s,0";  // the program's first icon
const char kDecodeKey[] = "%s\\shell\\Decode\\command";
// Both quoted: a program or a file path with blanks stays one word of the command line.
const char kDecodeCommand[] = "\"%s\" \"%%1\"";

// Room for a key name or value built from a file type or the program path.
enum { ENTRY_ROOM = MAX_PATH + 32 };
// Entries a file type brings besides its extensions: description, icon and verb.
enum { ENTRIES_PER_TYPE = 3 };

// Creates (or opens) `name` under `parent` and sets its default value to `value`. Returns 0,
// or 1 when the key or its value could not be made.
int MakeEntry(HKEY parent, const char* name, const char* value) {
  HKEY key;
  if (RegCreateKeyExA(parent, name, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) return 1;
  const DWORD size = static_cast<DWORD>(std::strlen(value) + 1);
  const LONG set = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), size);
  RegCloseKey(key);
  return set == ERROR_SUCCESS ? 0 : 1;
}

// An entry whose key name and value are formed from the file type and the program path.
int MakeFormedEntry(HKEY classes, const char* keyForm, const char* fileType, const char* valueForm,
                    const char* program) {
  char name[ENTRY_ROOM];
  char value[ENTRY_ROOM];
  std::snprintf(name, sizeof name, keyForm, fileType);
  std::snprintf(value, sizeof value, valueForm, program);
  return MakeEntry(classes, name, value);
}

int EntryCount() {
  int count = 0;
  for (const Association& row : kAssociations) count += row.definesType ? 1 + ENTRIES_PER_TYPE : 1;
  return count;
}

}  // namespace

int WriteFileAssociations(HKEY classes, const char* program) {
  int failures = 0;
  for (const Association& row : kAssociations) {
    failures += MakeEntry(classes, row.extension, row.fileType);
    if (!row.definesType) continue;
    failures += MakeEntry(classes, row.fileType, row.description);
    failures += MakeFormedEntry(classes, kIconKey, row.fileType, kIconValue, program);
    failures += MakeFormedEntry(classes, kDecodeKey, row.fileType, kDecodeCommand, program);
  }
  return failures;
}

int MakeFileAssociationsIn(HKEY classes) {
  char program[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  // A path cut to fit would name no program: then nothing is written, and every entry
  // counts as not made.
  if (length == 0 || length >= sizeof g_settings.fullpath) return EntryCount();
  std::memcpy(g_settings.fullpath, program, length + 1);
  const int failures = WriteFileAssociations(classes, g_settings.fullpath);
  WriteSettingsTable(PathSettings);
  return failures;
}

int MakeFileAssociations(HWND) { return MakeFileAssociationsIn(HKEY_CLASSES_ROOT); }
