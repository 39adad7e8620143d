#include "shellext/program_launch.h"

#include <cstring>
#include <vector>

#include "shellext/module_state.h"

const char kProgramSettingsKey[] = "Software\\Orvanta, Inc.\\Zentrel32\\2.0";
const char kProgramPathValue[] = "fullpath";
const char kDefaultProgramName[] = "zentp32.exe";
const char kInstalledProgramName[] = "Zentp32.exe";

namespace {
const char kFailureCaption[] = "Zentrel32";

// The extension's own texts are ASCII.
std::wstring Wide(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

// The program installed with this extension: Zentp32.exe in the extension's own folder. The
// installer puts both there, for every user; the stored path is only the user's own.
bool ProgramBesideExtension(std::wstring& path) {
  wchar_t module[MAX_PATH];
  const DWORD length = GetModuleFileNameW(g_zenthookModule, module, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  std::wstring beside(module, length);
  beside.erase(beside.find_last_of(L'\\') + 1);
  beside += Wide(kInstalledProgramName);
  const DWORD attributes = GetFileAttributesW(beside.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  path = beside;
  return true;
}

// The path the program stored for this user (Zentp32 /R), or false.
bool StoredProgramPath(std::wstring& path) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kProgramSettingsKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  wchar_t stored[MAX_PATH + 1] = {};
  DWORD type = 0;
  DWORD size = MAX_PATH * sizeof(wchar_t);  // one character short: a value stored without its end stays terminated
  const bool found = RegQueryValueExW(key, Wide(kProgramPathValue).c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(stored), &size) == ERROR_SUCCESS &&
                     type == REG_SZ && stored[0];
  RegCloseKey(key);
  if (found) path = stored;
  return found;
}

}  // namespace

std::wstring ProgramPath() {
  std::wstring path;
  if (ProgramBesideExtension(path) || StoredProgramPath(path)) return path;
  return Wide(kDefaultProgramName);
}

std::wstring EncodeCommandLine(const std::wstring& program, char methodLetter, const char* destinationSwitch,
                               const wchar_t* file) {
  std::wstring line = L"\"" + program + L"\" /E";
  line += static_cast<wchar_t>(methodLetter);
  line += L" " + Wide(destinationSwitch) + L" \"" + file + L"\"";
  return line;
}

namespace {

void ReportStartFailure(const std::wstring& program, DWORD error, HWND owner) {
  std::wstring text = L"Can't Execute " + program + L" because\r\n";
  wchar_t* reason = nullptr;
  if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&reason), 0,
                     nullptr) &&
      reason) {
    text += L"\r\n";
    text += reason;
    LocalFree(reason);
  }
  MessageBoxW(owner, text.c_str(), Wide(kFailureCaption).c_str(), MB_OK | MB_ICONHAND);
}

}  // namespace

bool RunAndWait(const std::wstring& commandLine, const std::wstring& program, int showCommand, HWND owner) {
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    ReportStartFailure(program, GetLastError(), owner);
    return false;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  return true;
}
