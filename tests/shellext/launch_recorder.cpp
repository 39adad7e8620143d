// qvrecorder: stands in for the main program in the extension's tests. Appends
// "start [<own file name>] <command line>" to the file named by QV_RECORDER_LOG and, after a
// pause long enough for a second run to overlap if its caller did not wait, "end".
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const DWORD kPauseMs = 300;

void Append(const char* log, const std::string& line) {
  HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\n";
  DWORD written;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int main() {
  const char* log = std::getenv("QV_RECORDER_LOG");
  if (!log) return 2;
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  const char* name = std::strrchr(self, '\\');
  Append(log, std::string("start [") + (name ? name + 1 : self) + "] " + GetCommandLineA());
  Sleep(kPauseMs);
  Append(log, "end");
  return 0;
}
