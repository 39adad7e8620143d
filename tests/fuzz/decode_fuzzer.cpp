// libFuzzer target over the decoder's ways in. The first byte chooses: ENTRY_BINHEX feeds
// the rest to the BinHex decoder alone (its header, then the data fork chunk by chunk), and
// ENTRY_HEADERS runs the header detector on every line of the rest, as a decode run does
// before it knows the style; any other input goes whole to DecodeFile, decoded without
// prompts (or with the dialogs' stand-in answers), with the method and forced style chosen
// from the input's length so that the seeds need no option bytes. Outputs are removed
// after each run.
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
#include "decode/binhex_decode.h"
#include "decode/decode_context.h"
#include "decode/decode_file.h"
#include "decode/decode_tables.h"
#include "decode/header_detect.h"
#include "decode/line_scan.h"
#include "decode/part_table.h"
#include "tests/support/scripted_ui.h"

namespace {

std::string g_folder;

enum { ENTRY_BINHEX = 1, ENTRY_HEADERS = 2, CHUNK_CALLS_LIMIT = 100000 };

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
  // Every input is a file written, read and deleted: a folder in memory when there is one.
  char pattern[] = "/dev/shm/qvfuzzXXXXXX";
  char fallback[] = "/tmp/qvfuzzXXXXXX";
  const char* made = mkdtemp(access("/dev/shm", W_OK) == 0 ? pattern : fallback);
  if (!made) std::abort();
  g_folder = made;
  // Part files go to the temporary folder: the same one, emptied after every input.
  setenv("TMPDIR", made, 1);
  std::atexit(RemoveFolder);
  StreamInit(10, 16384);
  return 0;
}

namespace {

// Writes the bytes to the input file; false when it cannot be written.
bool WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return true;
}

// The run state the BinHex decoder and the header detector read, as a decode pass sets it.
void StartRun(int input, int format) {
  std::memset(&g_decode, 0, sizeof g_decode);
  g_decode.input = input;
  g_decode.output = -1;
  g_decode.format = format;
  SelectDecodeTable(format);
  ClearPartTable();
}

// The BinHex header, then chunks of the data fork until the decoder moves on; an invalid
// character is decoded anyway from then on, as a run without prompts does.
void FuzzBinHex(int input, bool interactive) {
  StartRun(input, TYPE_BINHEX);
  if (BinHexReadHeader(nullptr, interactive) != BINHEX_HEADER_READ) return;
  unsigned char out[DECODED_LINE_ROOM];
  bool anyway = false;
  for (int call = 0; call < CHUNK_CALLS_LIMIT; ++call) {
    int next = DECODELINES;
    const int n = BinHexDecodeChunk(nullptr, input, out, interactive, anyway, g_currentPart, &next);
    if (n > BINHEX_CHUNK) std::abort();
    if (n < 0 && anyway) return;
    anyway = anyway || n < 0;
    if (n >= 0 && next != DECODELINES) return;
  }
  std::abort();  // the decoder neither ended nor failed: stuck
}

void FuzzHeaders(int input, int format) {
  StartRun(input, format);
  char name[DECODE_NAME_ROOM];
  while (ReadDecodeLine(input, g_decode.line) > 0) {
    int part = 0, total = 0;
    DetectHeader(g_decode.line, input, &part, &total, name);
    if (std::memchr(name, '\0', sizeof name) == nullptr) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = g_folder + "/in.txt";
  const int entry = size > 0 ? data[0] : 0;
  const bool direct = entry == ENTRY_BINHEX || entry == ENTRY_HEADERS;
  if (!WriteInput(input, direct ? data + 1 : data, direct ? size - 1 : size)) return 0;

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
  if (s >= 0) {
    if (entry == ENTRY_BINHEX) FuzzBinHex(s, interactive);
    else if (entry == ENTRY_HEADERS) FuzzHeaders(s, g_job.encodingType);
    else DecodeFile(nullptr, s, interactive);
    if (direct) StreamClose(s);  // DecodeFile closes its input itself
  }
  EmptyFolder();
  return 0;
}
