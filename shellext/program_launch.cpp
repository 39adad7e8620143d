#include "shellext/program_launch.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "shellext/module_state.h"

const char kProgramSettingsKey[] = "Software\\Orvanta, Inc.\\Zentrel32\\2.0";
const char kProgramPathValue[] = "fullpath";
const char kDefaultProgramName[] = "zentp32.exe";
const char kInstalledProgramName[] = "Zentp32.exe";

namespace {
const char kFailureCaption[] = "Zentrel32";
}

namespace {

// The program installed with this extension: Zentp32.exe in the extension's own folder. The
// installer puts both there, for every user; the stored path is only the user's own.
bool ProgramBesideExtension(std::string& path) {
  char module[MAX_PATH];
  const DWORD length = GetModuleFileNameA(g_zenthookModule, module, sizeof module);
  if (length == 0 || length >= sizeof module) return false;
  std::string beside(module, length);
  beside.erase(beside.find_last_of('\\') + 1);
  beside += kInstalledProgramName;
  const DWORD attributes = GetFileAttributesA(beside.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  path = beside;
  return true;
}

// The path the program stored for this user (Zentp32 /R), or false.
bool StoredProgramPath(std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  char stored[MAX_PATH + 1] = {};
  DWORD type = 0;
  DWORD size = MAX_PATH;  // one byte short of the buffer: a value stored without its end stays terminated
  const bool found = RegQueryValueExA(key, kProgramPathValue, nullptr, &type, reinterpret_cast<BYTE*>(stored),
                                      &size) == ERROR_SUCCESS &&
                     type == REG_SZ && stored[0];
  RegCloseKey(key);
  if (found) path = stored;
  return found;
}

}  // namespace

std::string ProgramPath() {
  std::string path;
  if (ProgramBesideExtension(path) || StoredProgramPath(path)) return path;
  return kDefaultProgramName;
}

std::string EncodeCommandLine(const std::string& program, char methodLetter, const char* destinationSwitch,
                              const char* file) {
  std::vector<char> line(program.size() + std::strlen(destinationSwitch) + std::strlen(file) + 16);
  std::snprintf(line.data(), line.size(), "\"%s\" /E%c %s \"%s\"", program.c_str(), methodLetter,
                destinationSwitch, file);
  return line.data();
}

namespace {

void ReportStartFailure(const std::string& program, DWORD error, HWND owner) {
  char because[MAX_PATH + 64];
  std::snprintf(because, sizeof because, "Can't Execute %s because\r\n", program.c_str());
  std::string text = because;
  char* reason = nullptr;
  if (FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&reason), 0,
                     nullptr) &&
      reason) {
    text += "\r\n";
    text += reason;
    LocalFree(reason);
  }
  MessageBoxA(owner, text.c_str(), kFailureCaption, MB_OK | MB_ICONHAND);
}

}  // namespace

bool RunAndWait(const std::string& commandLine, const std::string& program, int showCommand, HWND owner) {
  std::vector<char> writable(commandLine.begin(), commandLine.end());
  writable.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    ReportStartFailure(program, GetLastError(), owner);
    return false;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  return true;
}
