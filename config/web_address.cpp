#include "config/web_address.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/settings.h"

namespace {

const char kPageExtension[] = ".htm";
const char kOpenCommandFormat[] = "%s\\shell\\open\\command";
const char kPlaceholder[] = "%1";
enum { FILE_TYPE_ROOM = 128, COMMAND_LINE_ROOM = 520, SHELL_SUCCESS = 32 };

// The default string value of a key under HKEY_CLASSES_ROOT, always terminated; expandable
// strings are expanded.
long ReadClassDefault(const char* keyName, char* buffer, DWORD size) {
  HKEY key;
  long error = RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName, 0, KEY_READ, &key);
  if (error != ERROR_SUCCESS) return error;
  char raw[BROWSER_COMMAND_ROOM + 1] = "";
  DWORD type = 0;
  DWORD rawSize = sizeof raw - 1;
  error = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(raw), &rawSize);
  RegCloseKey(key);
  if (error != ERROR_SUCCESS) return error;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
  raw[rawSize] = '\0';
  if (!raw[0]) return ERROR_FILE_NOT_FOUND;
  if (type == REG_EXPAND_SZ) {
    DWORD needed = ExpandEnvironmentStringsA(raw, buffer, size);
    return needed == 0 || needed > size ? ERROR_MORE_DATA : ERROR_SUCCESS;
  }
  if (std::strlen(raw) >= size) return ERROR_MORE_DATA;
  std::memcpy(buffer, raw, std::strlen(raw) + 1);
  return ERROR_SUCCESS;
}

const char* SkipSlashes(const char* text) {
  while (*text == '/') ++text;
  return text;
}

}  // namespace

long FindBrowserCommand(char* buffer, DWORD size) {
  char fileType[FILE_TYPE_ROOM];
  long error = ReadClassDefault(kPageExtension, fileType, sizeof fileType);
  if (error != ERROR_SUCCESS) return error;
  char commandKey[FILE_TYPE_ROOM + sizeof kOpenCommandFormat];
  std::snprintf(commandKey, sizeof commandKey, kOpenCommandFormat, fileType);
  return ReadClassDefault(commandKey, buffer, size);
}

bool BrowserCommandLine(const char* command, const char* address, char* line, size_t room) {
  std::string result;
  const char* placeholder = std::strstr(command, kPlaceholder);
  if (!placeholder) {
    result = std::string(command) + " \"" + address + "\"";
  } else {
    for (const char* rest = command; *rest;) {
      placeholder = std::strstr(rest, kPlaceholder);
      if (!placeholder) {
        result += rest;
        break;
      }
      result.append(rest, placeholder);
      result += address;
      rest = placeholder + std::strlen(kPlaceholder);
    }
  }
  if (result.size() >= room) return false;
  std::memcpy(line, result.c_str(), result.size() + 1);
  return true;
}

int StartProgram(const char* commandLine) {
  char line[COMMAND_LINE_ROOM];
  if (std::strlen(commandLine) >= sizeof line) return 0;
  std::strcpy(line, commandLine);  // CreateProcessA may write into the command line
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWDEFAULT;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                      &process))
    return 0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 1;
}

int OpenWebAddress(HWND owner, const char* address) {
  HINSTANCE shell = ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(shell) > SHELL_SUCCESS) return 1;
  char command[BROWSER_COMMAND_ROOM];
  if (FindBrowserCommand(command, sizeof command) != ERROR_SUCCESS) {
    SetLastError(ERROR_NO_ASSOCIATION);
    return 0;
  }
  char line[COMMAND_LINE_ROOM];
  if (!BrowserCommandLine(command, address, line, sizeof line)) {
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return 0;
  }
  return StartProgram(line);
}

void ReadVersionAndDate(char* version, char* date) {
  if (!ReadVersionString("ProductVersion", version, VERSION_TEXT_ROOM) || !version[0])
    std::snprintf(version, VERSION_TEXT_ROOM, "%s", "NO VERSION!");
  if (!ReadVersionString("ReleaseDate", date, VERSION_TEXT_ROOM) || !date[0])
    std::snprintf(date, VERSION_TEXT_ROOM, "%s", "NO DATE!");
}

// A slash at the end of `website` or the start of `webcheck` is not doubled.
void BuildVersionCheckAddress(const char* version, const char* date, char* address, size_t room) {
  std::string site = g_settings.website;
  while (!site.empty() && site.back() == '/') site.pop_back();
  std::snprintf(address, room, "%s/%s?%s;%s", site.c_str(), SkipSlashes(g_settings.webcheck), version, date);
}
