// Command-line driver of the encoder for the peer round trips and the benchmark: sets the
// settings as the Encode dialog would and runs EncodeFile non-interactively for each input,
// as the program does for a selection, writing the outputs beside the inputs.
//   qvencode [--method uu|xx|mime|binhex] [--style N] [--lf] [--size N] [--checksum] INPUT...
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/job_state.h"
#include "core/settings.h"
#include "core/streams.h"
#include "encode/encode_driver.h"
#include "tests/support/scripted_ui.h"

int main(int argc, char** argv) {
  StreamInitLarge(10, STREAM_PROGRAM_BUFFER_SIZE);  // as the program
  ResetSettings();
  ResetJobState();
  g_job.interactive = false;
  g_settings.encodetype = 3;
  bool quiet = false;
  int first = 1;
  for (; first < argc && std::strncmp(argv[first], "--", 2) == 0; ++first) {
    const char* a = argv[first];
    auto value = [&]() -> const char* {
      if (first + 1 >= argc) {
        std::fprintf(stderr, "qvencode: %s needs a value\n", a);
        std::exit(2);
      }
      return argv[++first];
    };
    if (!std::strcmp(a, "--method")) {
      const char* m = value();
      g_settings.encodemethod = !std::strcmp(m, "xx") ? METHOD_XX : !std::strcmp(m, "mime") ? METHOD_MIME
                                : !std::strcmp(m, "binhex") ? METHOD_BINHEX : METHOD_UU;
    } else if (!std::strcmp(a, "--style")) {
      g_settings.encodetype = std::atoi(value());
    } else if (!std::strcmp(a, "--lf")) {
      g_settings.encodecrlf = EOL_LF;
    } else if (!std::strcmp(a, "--size")) {
      g_settings.encodeoutputsize = std::atoi(value());
    } else if (!std::strcmp(a, "--checksum")) {
      g_settings.encodechecksum = 1;
    } else if (!std::strcmp(a, "--quiet")) {
      quiet = true;
    } else {
      std::fprintf(stderr, "qvencode: unknown option %s\n", a);
      return 2;
    }
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: qvencode [--method uu|xx|mime|binhex] [--style N] [--lf] [--size N] "
                         "[--checksum] INPUT...\n");
    return 2;
  }
  g_job.inputCount = argc - first;
  int status = 0;
  for (int i = first; i < argc; ++i) {
    g_job.inputIndex = i - first;
    std::snprintf(g_job.inputPath, sizeof g_job.inputPath, "%s", argv[i]);
    const int s = StreamOpenForReading(argv[i], STREAM_BINARY);
    if (s < 0) {
      std::fprintf(stderr, "qvencode: can't read %s\n", argv[i]);
      EncodeCloseOutput();
      status = 1;
      break;
    }
    const int r = EncodeFile(nullptr, s, 0);
    if (r != 0) {
      std::fprintf(stderr, "qvencode: %s: result %d\n", argv[i], r);
      status = 1;
      break;
    }
  }
  for (const RecordedMessage& m : g_ui.messages) std::fprintf(stderr, "qvencode: message: %s\n", m.text.c_str());
  if (!quiet)
    for (const std::string& o : g_ui.outputsMade) std::printf("%s\n", o.c_str());
  EncodeCloseOutput();
  StreamShutdown();
  return status;
}
