// Our encoder's output of some bytes, for the decoder tests that start from real parts.
#pragma once
#include <algorithm>
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

// Bytes from a fixed pseudo-random sequence.
inline std::string Pattern(size_t n, unsigned seed = 7) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    s[i] = static_cast<char>(seed >> 16);
  }
  return s;
}

// A traditional uuencoded file, the way the peers write it.
inline std::string Uuencode(const std::string& name, const std::string& bytes, const std::string& eol = "\n") {
  std::string out = "begin 644 " + name + eol;
  for (size_t at = 0; at < bytes.size(); at += 45) {
    const size_t n = std::min<size_t>(45, bytes.size() - at);
    out += UuAlphabet[n];
    for (size_t i = 0; i < n; i += 3) {
      unsigned b[3] = {0, 0, 0};
      for (size_t k = 0; k < 3 && i + k < n; ++k) b[k] = static_cast<unsigned char>(bytes[at + i + k]);
      out += UuAlphabet[b[0] >> 2];
      out += UuAlphabet[((b[0] & 3) << 4) | (b[1] >> 4)];
      out += UuAlphabet[((b[1] & 15) << 2) | (b[2] >> 6)];
      out += UuAlphabet[b[2] & 63];
    }
    out += eol;
  }
  return out + "`" + eol + "end" + eol;
}

// MIME base64 in lines of 76 characters, `eol` after each full line.
inline std::string Base64Lines(const std::string& bytes, const std::string& eol = "\n") {
  std::string b64;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
    for (int k = 0; k < 4; ++k)
      b64 += (i + k - 1 < bytes.size() || k < 2) ? Base64Alphabet[(v >> (18 - 6 * k)) & 63] : '=';
    if (i % 57 == 54) b64 += eol;
  }
  return b64;
}

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
