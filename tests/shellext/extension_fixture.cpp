#include "tests/shellext/extension_fixture.h"

#include <fstream>
#include <string>

#include "tests/shellext/shell_selection.h"

namespace {
// The stand-in for HKEY_CURRENT_USER, one per test process: the tests run side by side.
const std::string& PrivateUserKeyName() {
  static const std::string name =
      "Software\\Quorvane Tests\\Extension user " + std::to_string(GetCurrentProcessId());
  return name;
}
const char kSettingsKey[] = "Software\\Orvanta, Inc.\\Zentrel32\\2.0";

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length && length < sizeof full ? full : path;
}

// Wide, so that it also removes files named outside the code page.
void DeleteFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteFolder(path);
      else DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

void DeleteFolder(const std::string& folder) {
  std::wstring wide(MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  DeleteFolder(wide.substr(0, wide.size() - 1));
}
}  // namespace

std::string TestProgramDir() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir = path;
  return dir.substr(0, dir.find_last_of('\\'));
}

// A copy in the tests' own folder, where no Zentp32.exe sits beside it.
std::string ExtensionPath() { return FullPath(TestProgramDir() + "\\Zenthook.dll"); }

int RunAndWaitFor(const std::string& commandLine) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

std::string StringValue(HKEY root, const std::string& key, const char* name) {
  char value[1024] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return "";
  return value;
}

PrivateUserKey::PrivateUserKey() {
  RegDeleteTreeA(HKEY_CURRENT_USER, PrivateUserKeyName().c_str());
  RegCreateKeyExA(HKEY_CURRENT_USER, PrivateUserKeyName().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, key_);
}

PrivateUserKey::~PrivateUserKey() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(key_);
  RegDeleteTreeA(HKEY_CURRENT_USER, PrivateUserKeyName().c_str());
}

void PrivateUserKey::SetProgramPath(const std::string& path) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "fullpath", REG_SZ, path.c_str(),
                  static_cast<DWORD>(path.size() + 1));
}

void ExtensionTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  ASSERT_EQ(RunAndWaitFor("regsvr32 /s \"" + ExtensionPath() + "\""), 0) << ExtensionPath();
  work_ = TestProgramDir() + "\\extension work";
  DeleteFolder(work_);
  ASSERT_TRUE(CreateDirectoryA(work_.c_str(), nullptr));
  log_ = work_ + "\\runs.log";
  SetEnvironmentVariableA("QV_RECORDER_LOG", log_.c_str());
}

void ExtensionTest::TearDown() {
  SetCurrentDirectoryA(TestProgramDir().c_str());
  DeleteFolder(work_);
  CoUninitialize();
}

std::vector<std::string> ExtensionTest::MakeFiles(int count) {
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i) {
    std::string path = work_ + "\\" + static_cast<char>('a' + i) + ".bin";
    std::ofstream(path, std::ios::binary) << "file " << i << '\n';
    files.push_back(path);
  }
  return files;
}

std::string ExtensionTest::PlaceRecorder(const std::string& name) {
  std::string path = work_ + "\\" + name;
  CopyFileA((TestProgramDir() + "\\qvrecorder.exe").c_str(), path.c_str(), FALSE);
  return path;
}

std::vector<std::string> ExtensionTest::Log() const {
  std::vector<std::string> lines;
  std::ifstream in(log_);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

IContextMenu* ExtensionTest::MenuFor(const std::vector<std::string>& files) {
  IDataObject* selection = SelectFiles(files);
  if (!selection) return nullptr;
  IContextMenu* menu = CreateMenuHandler(selection);
  selection->Release();
  return menu;
}

HRESULT ExtensionTest::Invoke(IContextMenu* menu, UINT offset) {
  CMINVOKECOMMANDINFO info = {};
  info.cbSize = sizeof info;
  info.lpVerb = MAKEINTRESOURCEA(offset);
  info.nShow = SW_SHOWNORMAL;
  return menu->InvokeCommand(&info);
}
