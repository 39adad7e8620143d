// libFuzzer target over DecodeFile: every input is written to a file and decoded without
// prompts (or with the dialogs' stand-in answers), with the method and forced style chosen
// from the input's length so that the seeds need no option bytes. Outputs are removed after
// each run.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/job_state.h"
#include "core/settings.h"
#include "core/streams.h"
#include "decode/decode_file.h"
#include "tests/support/scripted_ui.h"

namespace {

std::string g_folder;

void EmptyFolder() {
  DIR* d = opendir(g_folder.c_str());
  if (!d) return;
  while (dirent* e = readdir(d)) {
    if (e->d_name[0] == '.' && (e->d_name[1] == '\0' || (e->d_name[1] == '.' && e->d_name[2] == '\0'))) continue;
    std::remove((g_folder + "/" + e->d_name).c_str());
  }
  closedir(d);
}

void RemoveFolder() {
  EmptyFolder();
  rmdir(g_folder.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char pattern[] = "/tmp/qvfuzzXXXXXX";
  const char* made = mkdtemp(pattern);
  if (!made) std::abort();
  g_folder = made;
  std::atexit(RemoveFolder);
  StreamInit(10, 16384);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = g_folder + "/in.txt";
  FILE* f = std::fopen(input.c_str(), "wb");
  if (!f) return 0;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);

  ResetSettings();
  ResetJobState();
  g_ui.Reset();
  g_settings.overwriteexisting = 1;
  const unsigned options = static_cast<unsigned>(size % 16);
  static const int kTypes[4] = {TYPE_AUTO, TYPE_UU, TYPE_XX, TYPE_MIME};
  g_job.encodingType = kTypes[options % 4];
  g_settings.decodemethod = g_job.encodingType == TYPE_AUTO ? DECODE_BY_DATA : METHOD_UU + g_job.encodingType - 1;
  const int interactive = (options >> 2) & 1;
  if ((options >> 3) & 1) {
    g_settings.decodeautodetect = 0;
    g_settings.decodetype = 3 + static_cast<int>(size % 18);
  }
  g_job.interactive = interactive != 0;
  std::snprintf(g_job.inputPath, sizeof g_job.inputPath, "%s", input.c_str());
  const int s = StreamOpenForReading(input.c_str(), STREAM_TEXT);
  if (s >= 0) DecodeFile(nullptr, s, interactive);
  EmptyFolder();
  return 0;
}
