// Shared set-up of the decoder tests: settings, job state, scripted UI and decode run reset,
// a scratch folder, and helpers that run the line functions and DecodeFile on text.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/job_state.h"
#include "core/settings.h"
#include "core/streams.h"
#include "decode/decode_context.h"
#include "decode/decode_file.h"
#include "decode/decode_tables.h"
#include "decode/part_table.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_files.h"

class DecodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StreamInit(10, 16384);
    ResetSettings();
    ResetJobState();
    g_ui.Reset();
    ClearPartTable();
    std::memset(&g_decode, 0, sizeof g_decode);
    g_decode.input = g_decode.output = -1;
  }
  void TearDown() override {
    if (stream_ >= 0) StreamClose(stream_);
    g_ui.Reset();
  }
  // Puts the line into the run's line buffer for the format.
  void Line(const std::string& text, int format) {
    std::snprintf(g_decode.line, sizeof g_decode.line, "%s", text.c_str());
    g_decode.format = format;
    SelectDecodeTable(format);
  }
  // Opens a text stream over `rest` (the lines after the one under test).
  int Following(const std::string& rest) {
    if (stream_ >= 0) StreamClose(stream_);
    std::string path = dir.File("following.txt");
    WriteWholeFile(path, rest);
    stream_ = StreamOpenForReading(path.c_str(), STREAM_TEXT);
    return stream_;
  }
  std::string Input(const std::string& name, const std::string& bytes) {
    std::string path = dir.File(name);
    WriteWholeFile(path, bytes);
    return path;
  }
  // Runs DecodeFile on the file as the shell does; the run's format from `type`.
  int Decode(const std::string& path, int interactive = 0, int type = TYPE_AUTO) {
    std::snprintf(g_job.inputPath, sizeof g_job.inputPath, "%s", path.c_str());
    g_job.encodingType = type;
    g_job.interactive = interactive != 0;
    const int s = StreamOpenForReading(path.c_str(), STREAM_TEXT);
    EXPECT_GE(s, 0);
    return DecodeFile(nullptr, s, interactive);
  }
  int stream() const { return stream_; }
  ScratchDir dir;

 private:
  int stream_ = -1;
};
