// Our encoder's output of some bytes, for the decoder tests that start from real parts.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "core/job_state.h"
#include "core/settings.h"
#include "core/streams.h"
#include "encode/alphabets.h"
#include "encode/encode_driver.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_files.h"

// Writes `bytes` to `path`, encodes it in `style` and `method` with checksum lines and the
// smallest part size, and returns the parts' texts in order; the files are removed and the
// job state and scripted UI reset.
inline std::vector<std::string> EncodeWithChecksums(const std::string& path, const std::string& bytes, int style,
                                                    int method = METHOD_UU) {
  WriteWholeFile(path, bytes);
  g_ui.Reset();
  g_settings.encodemethod = method;
  g_settings.encodetype = style;
  g_settings.encodeoutputsize = MIN_OUTPUT_SIZE;
  g_settings.encodechecksum = 1;
  std::snprintf(g_job.inputPath, sizeof g_job.inputPath, "%s", path.c_str());
  g_job.inputCount = 1;
  const int result = EncodeFile(nullptr, StreamOpenForReading(path.c_str(), STREAM_BINARY), 0);
  std::vector<std::string> parts;
  for (const std::string& p : g_ui.outputsMade) {
    if (result == 0) parts.push_back(ReadWholeFile(p));
    DeleteFileA(p.c_str());
  }
  DeleteFileA(path.c_str());
  ResetJobState();
  g_ui.Reset();
  return parts;
}
