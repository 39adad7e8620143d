// Shared set-up of the encoder tests: settings and job state reset, scripted UI, a scratch
// folder and a helper that runs EncodeFile on a file the way the shell does.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "core/job_state.h"
#include "core/settings.h"
#include "core/streams.h"
#include "decode/part_table.h"
#include "encode/encode_driver.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_files.h"

class EncodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StreamInit(10, 16384);
    EncodeCloseOutput();
    ResetSettings();
    ResetJobState();
    g_ui.Reset();
    ClearPartTable();
  }
  void TearDown() override {
    EncodeCloseOutput();
    g_ui.Reset();
  }
  // Writes `bytes` to `name` in the scratch folder and returns its path.
  std::string Input(const std::string& name, const std::string& bytes) {
    std::string path = dir.File(name);
    WriteWholeFile(path, bytes);
    return path;
  }
  // Encodes one input as input `index` of `count` of a selection; returns EncodeFile's result.
  int Encode(const std::string& path, int ask = 0, int index = 0, int count = 1) {
    g_job.inputIndex = index;
    g_job.inputCount = count;
    snprintf(g_job.inputPath, sizeof g_job.inputPath, "%s", path.c_str());
    int s = StreamOpenForReading(path.c_str(), STREAM_BINARY);
    EXPECT_GE(s, 0);
    return EncodeFile(nullptr, s, ask);
  }
  void Settings(int method, int style, bool crlf = true, int size = 60000, bool sums = false) {
    g_settings.encodemethod = method;
    g_settings.encodetype = style;
    g_settings.encodecrlf = crlf ? EOL_CRLF : EOL_LF;
    g_settings.encodeoutputsize = size;
    g_settings.encodechecksum = sums ? 1 : 0;
  }
  ScratchDir dir;
};

inline std::string Bytes(size_t n, unsigned seed = 1) {
  std::string s(n, '\0');
  unsigned x = seed * 2654435761u + 12345u;
  for (size_t i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345u;
    s[i] = static_cast<char>(x >> 16);
  }
  return s;
}
