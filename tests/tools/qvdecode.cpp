// Command-line driver of the decoder for the peer tests, the fuzz corpus checks and the
// benchmark: sets the settings as the Decode dialog would and runs DecodeFile without
// prompts on each input, as the program does for a selection. With --join the inputs are
// first concatenated into one temporary input (the decodejoin option).
//   qvdecode [--method auto|name|uu|xx|mime|binhex] [--style N] [--dir FOLDER] [--join]
//            [--name NAME] [--quiet] INPUT...
// Prints the paths of the files made; exit status 0 when every input decoded. After each
// decode it runs the checksum test and says what it found on stderr.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/job_state.h"
#include "core/settings.h"
#include "core/streams.h"
#include "decode/checksum_verify.h"
#include "decode/decode_context.h"
#include "decode/decode_file.h"
#include "decode/input_order.h"
#include "decode/join_parts.h"
#include "decode/partial_messages.h"
#include "tests/support/scripted_ui.h"

namespace {

struct Options {
  int method = DECODE_BY_DATA;
  bool join = false;
  bool quiet = false;
};

int TypeForMethod(int method, const char* input) {
  if (method >= METHOD_UU && method <= METHOD_BINHEX) return method - METHOD_UU + TYPE_UU;
  if (method != DECODE_BY_NAME) return TYPE_AUTO;
  const char* dot = std::strrchr(input, '.');
  static const struct { const char* ext; int type; } kByName[] = {
      {".uue", TYPE_UU}, {".uu", TYPE_UU}, {".xxe", TYPE_XX}, {".xx", TYPE_XX}, {".mme", TYPE_MIME},
      {".mm", TYPE_MIME}, {".b64", TYPE_MIME}, {".hqx", TYPE_BINHEX}, {".hex", TYPE_BINHEX}};
  for (const auto& e : kByName)
    if (dot && strcasecmp(dot, e.ext) == 0) return e.type;
  return TYPE_AUTO;
}

int ParseMethod(const char* m) {
  if (!std::strcmp(m, "name")) return DECODE_BY_NAME;
  if (!std::strcmp(m, "uu")) return METHOD_UU;
  if (!std::strcmp(m, "xx")) return METHOD_XX;
  if (!std::strcmp(m, "mime")) return METHOD_MIME;
  if (!std::strcmp(m, "binhex")) return METHOD_BINHEX;
  return DECODE_BY_DATA;
}

// The program's checksum test after a decode; reported when the input carried checksums.
void ReportChecksums() {
  ClearChecksumFound();
  const int mismatches = TestChecksums(nullptr);
  if (ChecksumFound() || mismatches) std::fprintf(stderr, "qvdecode: checksums: %d mismatched\n", mismatches);
}

int DecodeOne(const char* path, const Options& o) {
  std::snprintf(g_job.inputPath, sizeof g_job.inputPath, "%s", path);
  g_job.encodingType = TypeForMethod(o.method, path);
  const int s = StreamOpenForReading(path, STREAM_TEXT);
  if (s < 0) {
    std::fprintf(stderr, "qvdecode: can't read %s\n", path);
    return -2;
  }
  const int r = DecodeFile(nullptr, s, 0);
  if (r != 0) std::fprintf(stderr, "qvdecode: %s: result %d: %s\n", path, r, g_decode.errorText);
  else ReportChecksums();
  return r;
}

// Concatenates the inputs into one temporary file, as the program does for decodejoin.
bool JoinInputs(char** inputs, int count, char* joined) {
  ClearPartTable();
  for (int i = 0; i < count && i < MAX_PARTS; ++i) {
    g_partTable[i].partNumber = i + 1;
    std::snprintf(g_partTable[i].fileName, sizeof g_partTable[i].fileName, "%s", inputs[i]);
  }
  if (MakeTempFileName(joined) == 0) return false;
  std::snprintf(g_decode.outputName, sizeof g_decode.outputName, "%s", joined);
  g_decode.style = 2;
  OrderInputsByTheirParts(count < MAX_PARTS ? count : MAX_PARTS);
  PartialWordSearch search;
  const int r = JoinParts(nullptr, count, 0, OP_CONCATENATE, &search);
  CloseKeptInputs();
  for (PartRecord& record : g_partTable) record.fileName[0] = '\0';  // the user's inputs stay
  g_job.inputHoldsNoPartials = !search.Found();
  return r == 0;
}

}  // namespace

int main(int argc, char** argv) {
  StreamInitLarge(10, STREAM_PROGRAM_BUFFER_SIZE);  // as the program
  ResetSettings();
  ResetJobState();
  g_job.interactive = false;
  g_job.operation = OP_DECODE;
  g_settings.decodeautodetect = 1;
  g_settings.decodedirselect = DIR_SAME_AS_INPUT;
  g_settings.overwriteexisting = 1;
  Options o;
  int first = 1;
  for (; first < argc && std::strncmp(argv[first], "--", 2) == 0; ++first) {
    const char* a = argv[first];
    auto value = [&]() -> const char* {
      if (first + 1 >= argc) {
        std::fprintf(stderr, "qvdecode: %s needs a value\n", a);
        std::exit(2);
      }
      return argv[++first];
    };
    if (!std::strcmp(a, "--method")) {
      o.method = ParseMethod(value());
    } else if (!std::strcmp(a, "--style")) {
      g_settings.decodeautodetect = 0;
      g_settings.decodetype = std::atoi(value());
    } else if (!std::strcmp(a, "--dir")) {
      g_settings.decodedirselect = DIR_CHOSEN;
      std::snprintf(g_settings.decodedir, sizeof g_settings.decodedir, "%s", value());
    } else if (!std::strcmp(a, "--join")) {
      o.join = true;
    } else if (!std::strcmp(a, "--name")) {
      std::snprintf(g_job.outputNameGiven, sizeof g_job.outputNameGiven, "%s", value());
    } else if (!std::strcmp(a, "--quiet")) {
      o.quiet = true;
    } else {
      std::fprintf(stderr, "qvdecode: unknown option %s\n", a);
      return 2;
    }
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: qvdecode [--method auto|name|uu|xx|mime|binhex] [--style N] [--dir FOLDER] "
                         "[--join] [--name NAME] [--quiet] INPUT...\n");
    return 2;
  }
  g_settings.decodemethod = o.method;
  g_job.inputCount = argc - first;
  int status = 0;
  if (o.join && argc - first > 1) {
    char joined[PATH_ROOM];
    if (!JoinInputs(argv + first, argc - first, joined)) {
      std::fprintf(stderr, "qvdecode: joining the inputs failed\n");
      status = 1;
    } else {
      // The joined input is named after the first input so the output lands beside it.
      const int s = StreamOpenForReading(joined, STREAM_TEXT);
      std::snprintf(g_job.inputPath, sizeof g_job.inputPath, "%s", argv[first]);
      g_job.encodingType = TypeForMethod(o.method, argv[first]);
      const int r = s < 0 ? -2 : DecodeFile(nullptr, s, 0);
      if (r != 0) std::fprintf(stderr, "qvdecode: joined inputs: result %d: %s\n", r, g_decode.errorText);
      else ReportChecksums();
      status = r != 0;
      DeleteFileA(joined);
    }
  } else {
    for (int i = first; i < argc; ++i) {
      g_job.inputIndex = i - first;
      if (DecodeOne(argv[i], o) != 0) status = 1;
    }
  }
  for (const RecordedMessage& m : g_ui.messages) std::fprintf(stderr, "qvdecode: message: %s\n", m.text.c_str());
  if (g_job.qualifiedResult) std::fprintf(stderr, "qvdecode: remark:%s\n", g_job.resultRemark);
  if (!o.quiet)
    for (const std::string& out : g_ui.outputsMade) std::printf("%s\n", out.c_str());
  StreamShutdown();
  return status;
}
