// argrecorder: a stand-in web browser for the end-to-end tests. It writes the command line
// it was started with, then each argument on a line of its own, into the file named like
// the program with ".txt" in place of ".exe", and ends.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  char record[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, record, sizeof record);
  if (length < 4 || length >= sizeof record) return 2;
  std::strcpy(record + length - 4, ".txt");
  FILE* out = std::fopen(record, "wb");
  if (!out) return 1;
  std::fprintf(out, "%s\n", GetCommandLineA());
  for (int i = 1; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
  std::fclose(out);
  return 0;
}
