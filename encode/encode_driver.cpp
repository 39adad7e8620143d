#include "encode/encode_driver.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/job_state.h"
#include "core/settings.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/part_table.h"
#include "encode/alphabets.h"
#include "encode/binhex_encode.h"
#include "encode/destinations.h"
#include "encode/header_styles.h"
#include "core/names.h"
#include "encode/name_forms.h"
#include "encode/part_frames.h"

namespace {

const UINT BUFFER_FLAGS = 0x2002;  // GMEM_MOVEABLE | GMEM_DDESHARE: the clipboard can take it
const uint64_t LARGEST_BUFFER = 0x7FFFFFF0u;

// The output buffer of the current part (or of the whole single-part text).
struct OutputBuffer {
  HGLOBAL memory = nullptr;
  char* data = nullptr;
  size_t capacity = 0;
  size_t used = 0;
  bool failed = false;  // a growth failed: the job ends with the "No Memory" message
  size_t failedSize = 0;
  // File destination: the output this job created for the current part. When the buffer
  // fills, its text goes to that file and the buffer starts over (decision: the same bytes
  // as one write per part, with a bounded buffer instead of one as large as the output).
  int spillStream = -1;
  bool writeFailed = false;
  DWORD writeError = 0;
} out;

const size_t SPILL_BUFFER = 1u << 20;

// The output file kept between calls in the single-part, several-inputs case.
int outputStream = -1;
HANDLE outputHandle = INVALID_HANDLE_VALUE;  // to know the slot is still ours after a shutdown
bool outputOpen = false;
char openOutputName[PATH_ROOM];  // its path, which the later inputs' jobs also write to
// The closing boundary the shared output still lacks, written whenever it is closed: also
// when a later input of the selection fails, is refused or is cancelled.
char pendingClose[MIME_CLOSING_ROOM];

bool AllocateBuffer(size_t capacity) {
  HGLOBAL memory = GlobalAlloc(BUFFER_FLAGS, capacity);
  if (!memory) return false;
  char* data = static_cast<char*>(GlobalLock(memory));
  if (!data) {
    GlobalFree(memory);
    return false;
  }
  out.memory = memory;
  out.data = data;
  out.capacity = capacity;
  out.used = 0;
  out.failed = false;
  data[0] = '\0';
  return true;
}

void ReleaseBuffer() {
  if (out.memory) {
    GlobalUnlock(out.memory);
    GlobalFree(out.memory);
  }
  out = OutputBuffer();
}

bool GrowBuffer(size_t needed) {
  size_t capacity = out.capacity ? out.capacity : 4096;
  while (capacity < needed) capacity = capacity > LARGEST_BUFFER / 2 ? needed : capacity * 2;
  if (capacity > LARGEST_BUFFER) return false;
  HGLOBAL memory = GlobalAlloc(BUFFER_FLAGS, capacity);
  char* data = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr;
  if (!data) {
    if (memory) GlobalFree(memory);
    return false;
  }
  if (out.used) std::memcpy(data, out.data, out.used);
  data[out.used] = '\0';
  if (out.memory) {
    GlobalUnlock(out.memory);
    GlobalFree(out.memory);
  }
  out.memory = memory;
  out.data = data;
  out.capacity = capacity;
  return true;
}

// Writes the buffer's text to the part's file and empties the buffer.
bool SpillBuffer() {
  if (out.used == 0) return true;
  if (StreamWriteBlock(out.spillStream, out.data, static_cast<unsigned>(out.used)) != static_cast<int>(out.used)) {
    out.writeFailed = true;
    out.writeError = GetLastError();
    return false;
  }
  out.used = 0;
  out.data[0] = '\0';
  return true;
}

void EmptyBuffer() {
  out.used = 0;
  if (out.data) out.data[0] = '\0';
}

// The clean-up of a failed or cancelled job: closes the input and the output, then deletes every output
// recorded in the part table of this job.
void CleanUp(int input) {
  if (input >= 0) StreamClose(input);
  EncodeCloseOutput();
  DeletePartFiles();
}

// Writes the buffer to the open output file; closes it unless keepOpen. Returns false
// after reporting a write failure (decision: a full disk must not end in "success").
bool WriteOutput(HWND owner, const char* name, bool keepOpen) {
  bool ok = StreamWriteBlock(outputStream, out.data, static_cast<unsigned>(out.used)) ==
            static_cast<int>(out.used);
  if (ok && !keepOpen) ok = StreamFlush(outputStream) >= 0;
  const DWORD error = GetLastError();
  if (!ok) {
    ShowErrorMessage(owner, error, MB_OK | MB_ICONHAND, "Write Failure on %s because", name);
    return false;
  }
  if (!keepOpen) {
    StreamClose(outputStream);
    outputStream = -1;
    outputOpen = false;
    pendingClose[0] = '\0';
  }
  out.spillStream = -1;
  return true;
}

struct Job {
  HWND owner;
  int input;
  int askForName;
  int askParts;  // how the parts of a split output are created: asked about together first
  bool toFile, toMail, toClipboard;
  int method, style;
  int parts;
  int k;
  char name[PATH_ROOM];
};

// Loop step 2: starts part k + 1. Returns 0 or the negative result of MakeOutFile.
int StartPart(Job& job) {
  EmptyBuffer();
  ++job.k;
  if (!outputOpen) {
    ComposeEncodeOutputName(g_encoder.inputPath, job.method, job.k, job.parts, job.name);
    if (job.toFile) {
      int ask = job.parts > 1 ? job.askParts : job.askForName ? ASK_NAME : ASK_NOTHING;
      const int s = MakeOutFile(job.owner, job.name, OP_ENCODE, ask);
      if (s < 0) return s;
      outputStream = s;
      outputHandle = StreamOsHandle(s);
      out.spillStream = s;
      PartRecord& record = g_partTable[job.k - 1];
      record.partNumber = job.k;
      std::snprintf(record.fileName, sizeof record.fileName, "%.255s", job.name);
    }
    outputOpen = true;
    std::snprintf(openOutputName, sizeof openOutputName, "%s", job.name);
  } else {
    std::snprintf(job.name, sizeof job.name, "%s", openOutputName);
    g_partTable[job.k - 1].partNumber = job.k;
  }
  std::snprintf(g_job.outputPath, sizeof g_job.outputPath, "%s", job.name);
  ShowJobStatus(OP_ENCODE, job.method, g_encoder.inputPath, job.name, job.k, job.parts);
  WritePartHeader(g_encoder.inputPath, job.k, job.parts);
  PumpMessages(4);  // a part boundary: the new status is painted whatever the time
  return 0;
}

// Before the first part of a split output: existing files among its part names are asked about
// in one question, so that a No leaves every old part as it was and writes nothing. Returns 0
// or the negative result of the question.
int AskAboutExistingParts(Job& job) {
  std::vector<std::string> names;
  std::vector<const char*> list;
  for (int k = 1; k <= job.parts; ++k) {
    char name[OUTPUT_NAME_ROOM];
    names.push_back(ComposeEncodeOutputName(g_encoder.inputPath, job.method, k, job.parts, name));
  }
  for (const std::string& name : names) list.push_back(name.c_str());
  const int answer = ConfirmReplacingOutputs(job.owner, list.data(), job.parts, OP_ENCODE);
  if (answer < 0) return answer;
  job.askParts = answer;
  return 0;
}

// Delivery at a part end. Returns 0 or -2.
int DeliverPart(Job& job) {
  if (job.toMail) {
    const int r = SendEncodedPart(job.owner, out.data);
    outputOpen = false;
    return r == 0 ? 0 : -2;
  }
  if (job.toFile) return WriteOutput(job.owner, job.name, false) ? 0 : -2;
  outputOpen = false;
  return 0;
}

int Fail(int input, int result) {
  CleanUp(input);
  ReleaseBuffer();
  return result;
}

int NoMemory(HWND owner, int input, uint64_t needed) {
  ShowErrorMessage(owner, ERROR_NOT_ENOUGH_MEMORY, MB_OK | MB_ICONHAND,
                   "No Memory for Encoding (needed %ul bytes) because", static_cast<unsigned>(needed));
  return Fail(input, RESULT_REPORTED);
}

// The buffer could not grow, or its text could not be written to the part's file.
int BufferFailure(HWND owner, int input, const char* name) {
  if (out.writeFailed) {
    ShowErrorMessage(owner, out.writeError, MB_OK | MB_ICONHAND, "Write Failure on %s because", name);
    return Fail(input, RESULT_REPORTED);
  }
  return NoMemory(owner, input, out.failedSize);
}

bool BufferBroken() { return out.failed || out.writeFailed; }

void AppendZeroLengthLine() {
  char line[ENCODED_LINE_ROOM];
  const int n = EncodeLine(nullptr, 0, line);
  if (n > 0) AppendOutput(line, static_cast<size_t>(n));
}

}  // namespace

const char kClipboardTakesOneFile[] =
    "Encoding to Clipboard is not Supported for Multiple Enclosures.\r\nPlease Choose One File at a Time.";

namespace {

// Room for `count` more bytes and a NUL at the end of the buffer, spilling or growing it;
// false when the buffer is broken.
bool MakeRoom(size_t count) {
  if (out.failed || out.writeFailed) return false;
  if (out.used + count + 1 > out.capacity && out.spillStream >= 0 && !SpillBuffer()) return false;
  if (out.used + count + 1 > out.capacity && !GrowBuffer(out.used + count + 1)) {
    out.failed = true;
    out.failedSize = out.used + count + 1;
    return false;
  }
  return true;
}

// The next block of input, where the stream's buffer holds it (which spares a copy of every
// block) or else copied into `block`; `got` as StreamReadBlock gives it.
const unsigned char* NextInputBlock(int input, unsigned char* block, int* got) {
  if (const unsigned char* held = StreamReadRoom(input, ENCODE_BLOCK)) {
    StreamReadSkip(input, ENCODE_BLOCK);
    *got = ENCODE_BLOCK;
    return held;
  }
  *got = StreamReadBlock(input, block, ENCODE_BLOCK);
  return block;
}

// Encodes a line straight into the buffer, without a copy through a line of its own.
void AppendEncodedLine(const unsigned char* block, int count) {
  if (!MakeRoom(ENCODED_LINE_ROOM - 1)) return;  // the room counts the NUL, MakeRoom adds it
  const int n = EncodeLine(block, count, out.data + out.used);
  if (n > 0) out.used += static_cast<size_t>(n);
}

}  // namespace

void AppendOutput(const void* bytes, size_t count) {
  if (!MakeRoom(count)) return;
  std::memcpy(out.data + out.used, bytes, count);
  out.used += count;
  out.data[out.used] = '\0';
}

const char* EncodeOutputText() { return out.data ? out.data : ""; }
size_t EncodeOutputLength() { return out.used; }
void EncodeOutputReset() { ReleaseBuffer(); }

bool EncodeOutputIsOpen() { return outputOpen; }

void EncodeCloseOutput() {
  out.spillStream = -1;
  if (outputStream >= 0 && StreamOsHandle(outputStream) == outputHandle) {
    if (pendingClose[0]) StreamWriteString(outputStream, pendingClose);
    StreamClose(outputStream);
  }
  pendingClose[0] = '\0';
  outputHandle = INVALID_HANDLE_VALUE;
  outputStream = -1;
  outputOpen = false;
}

PartLayout ComputePartLayout(uint32_t size, uint32_t maximum, uint32_t overhead) {
  PartLayout layout;
  // Decision: no wrap-around; a limit at or below the overhead gives one line per part.
  layout.lines = maximum > overhead ? (maximum - overhead + 62) / 63 : 1;
  if (layout.lines == 0) layout.lines = 1;
  const uint64_t perPart = 45ull * layout.lines;
  // Decision: an empty input is one part (with the zero-length line and "end").
  layout.formulaParts = size == 0 ? 1 : static_cast<int64_t>((size - 1ull + perPart) / perPart);
  // Parts hold L + 1 reads (the end-of-input read counts too), so the loop starts
  // ceil((D + 1) / (L + 1)) parts for D data lines; the layout adds one extra part when
  // that is one short of N. Where that arithmetic does not reach N, the parts actually
  // written are announced instead (fix: every header tells the real count).
  const uint64_t reads = (size + 44ull) / 45 + 1;
  const int64_t started = static_cast<int64_t>((reads + layout.lines) / (layout.lines + 1ull));
  layout.parts = (started == layout.formulaParts || started + 1 == layout.formulaParts) ? layout.formulaParts : started;
  return layout;
}

int EncodeFile(HWND owner, int input, int askForName) {
  Job job;
  std::memset(&job, 0, sizeof job);
  job.owner = owner;
  job.input = input;
  job.toClipboard = g_job.clipboardOutput;
  job.toMail = !job.toClipboard && g_job.mailOutput;
  job.toFile = !job.toClipboard && !job.toMail;

  // Start 1.
  ClearPartTable();
  SelectEncodeAlphabet(g_settings.encodemethod);
  int lastPercent = -1;
  DWORD sizeHigh = 0;
  SetLastError(0);
  const DWORD size = GetFileSize(StreamOsHandle(input), &sizeHigh);
  const DWORD sizeError = size == INVALID_FILE_SIZE ? GetLastError() : 0;
  if (job.toMail) askForName = 0;
  // Start 2.
  int style = g_settings.encodetype;
  if (style == 0) {
    StreamClose(input);
    EncodeCloseOutput();
    return RESULT_FAILED;
  }
  // Start 3. Decision: an unknown stored method encodes UU. Fixes: the shell archive runs
  // uudecode, so it encodes UU; BinHex is always framed by style 3 (banner and colon).
  int method = EncodeMethodType();
  if (style == STYLE_SHAR) method = ENCODE_UU;
  if (method == ENCODE_BINHEX) style = STYLE_SINGLE;
  SelectEncodeAlphabet(METHOD_UU + method - 1);
  job.method = method;
  job.style = style;

  if (sizeError != 0) {
    ShowErrorMessage(owner, sizeError, MB_OK | MB_ICONHAND, "Read Failure on %s because", g_job.inputPath);
    return Fail(input, RESULT_REPORTED);
  }
  if (sizeHigh != 0) {
    // Decision: sizes are 32-bit throughout the formats; larger inputs are refused.
    ShowMessage(owner, MB_OK | MB_ICONHAND, "Can't Encode %s:\r\nFiles of 4 GB or More are not Supported.",
                g_job.inputPath);
    return Fail(input, RESULT_REPORTED);
  }

  // The state shared with Parts 2.1, 2.3 and 2.4; the MIME boundary lives through a selection.
  char boundary[MIME_BOUNDARY_ROOM];
  std::memcpy(boundary, g_encoder.boundary, sizeof boundary);
  ResetEncoderState(method, style);
  std::memcpy(g_encoder.boundary, boundary, sizeof boundary);
  g_encoder.inputSize = size;
  std::snprintf(g_encoder.inputPath, sizeof g_encoder.inputPath, "%s", g_job.inputPath);
  // Decision: the checksum lines are written for UU and XX only (never for the shell archive).
  g_encoder.writeSumLines = g_settings.encodechecksum && style != STYLE_SHAR &&
                            (method == ENCODE_UU || method == ENCODE_XX);
  g_encoder.sumsWanted = g_encoder.writeSumLines;

  const int count = g_job.inputCount > 1 ? g_job.inputCount : 1;
  const bool lastOfSelection = g_job.inputIndex >= count - 1;

  // Start 4.
  if (job.toClipboard && count - g_job.inputIndex >= 2) {
    ShowMessage(owner, MB_OK | MB_ICONEXCLAMATION, kClipboardTakesOneFile);
    return Fail(input, RESULT_REPORTED);
  }

  // Start 5 and 6.
  const uint32_t overhead = TrailerEstimate(style) + HeaderEstimate(style);
  const uint32_t maximum = static_cast<uint32_t>(EncodeOutputSizeInRange());
  const bool single = style == STYLE_SINGLE || method == ENCODE_MIME || method == ENCODE_BINHEX || job.toClipboard;
  uint64_t lines, capacity;
  int64_t parts;
  if (single) {
    parts = 1;
    lines = (size + 44ull) / 45;
    capacity = lines * 63 + 2000;
  } else {
    const PartLayout layout = ComputePartLayout(size, maximum, overhead);
    lines = layout.lines;
    parts = layout.parts;
    capacity = lines * 63 + 1000;
  }
  // Start 7.
  if (parts > MAX_PARTS) {
    ShowMessage(owner, MB_OK | MB_ICONHAND,
                "Too Many Output Parts for %s with\r\nSize %ld and Output Limit of %ld\r\nMaximum Parts %d; Required Parts %d.",
                g_job.inputPath, static_cast<long>(size), static_cast<long>(maximum), MAX_PARTS, static_cast<int>(parts));
    return Fail(input, RESULT_REPORTED);
  }
  job.parts = static_cast<int>(parts);
  g_job.partCount = job.parts;
  g_job.encodingType = method;

  // Fix: a single-part output is kept open only for a next input that is also single-part
  // and goes to a file, within the same selection. A shell archive ends with "exit 0", so
  // each input's archive is a file of its own.
  const bool ownOutput = !job.toFile || job.parts > 1 || style == STYLE_SHAR;
  if (outputOpen && (ownOutput || g_job.inputIndex == 0)) EncodeCloseOutput();
  g_encoder.firstInput = !outputOpen;  // a later input of a selection writes to its output
  g_encoder.lastInput = !job.toFile || lastOfSelection;

  // Start 8.
  if (g_job.outputNameGiven[0] != '\0') askForName = 0;
  job.askForName = askForName;
  // Start 9.
  // The file destination needs no more than the spill size at a time.
  if (job.toFile && capacity > SPILL_BUFFER) capacity = SPILL_BUFFER;
  if (capacity > LARGEST_BUFFER || !AllocateBuffer(static_cast<size_t>(capacity)))
    return NoMemory(owner, input, capacity);
  if (job.toFile && job.parts > 1) {
    const int r = AskAboutExistingParts(job);
    if (r < 0) return Fail(input, r);
  }

  const char* base = FileNamePart(g_encoder.inputPath);
  bool binHexPending = true;
  uint64_t bytesRead = 0;
  uint64_t nextPercentAt = 0;
  uint32_t linesInPart = 0;
  bool headerWritten = false;
  int got = 1;
  unsigned char block[ENCODE_BLOCK + 1];
  unsigned char escaped[2 * ENCODE_BLOCK];

  while (got > 0) {
    if (g_job.cancelRequested) return Fail(input, RESULT_CANCELLED);
    if (!headerWritten) {
      const int r = StartPart(job);
      if (r < 0) return Fail(input, r);
      headerWritten = true;
    }
    if (job.parts > 1 && linesInPart > lines) {
      WritePartTrailer(job.k, job.parts, base);
      linesInPart = 0;
      if (BufferBroken()) return BufferFailure(owner, input, job.name);
      if (DeliverPart(job) < 0) return Fail(input, RESULT_REPORTED);
      headerWritten = false;
      continue;
    }
    if (method == ENCODE_BINHEX && binHexPending) {
      binHexPending = false;
      BinHexHeader header;
      FillBinHexHeader(&header, base, size);
      EncodeBinHexHeader(header);
    }
    const unsigned char* data = NextInputBlock(input, block, &got);
    if (got < 0) {
      ShowErrorMessage(owner, GetLastError(), MB_OK | MB_ICONHAND, "Read Failure on %s because", g_encoder.inputPath);
      return Fail(input, RESULT_REPORTED);
    }
    bytesRead += static_cast<unsigned>(got);
    if (size != 0 && bytesRead >= nextPercentAt) {
      const int percent = static_cast<int>(bytesRead * 100 / size);
      if (percent != lastPercent) {
        SetProgress(percent);
        lastPercent = percent;
      }
      // Worked out again only at the first byte count of the next percentage (rounded up).
      nextPercentAt = ((percent + 1ull) * size + 99) / 100;
    }
    if (got > 0) {
      if (method == ENCODE_BINHEX) {
        EncodeBinHexChars(escaped, EscapeBinHexBlock(data, got, escaped));
      } else {
        AppendEncodedLine(data, got);
      }
    }
    ++linesInPart;
    PumpMessagesWhenDue();
    if (BufferBroken()) return BufferFailure(owner, input, job.name);
  }

  // End of input 1.
  if (job.k == job.parts && (method == ENCODE_UU || method == ENCODE_XX)) AppendZeroLengthLine();
  WritePartTrailer(job.k, job.parts, base);
  // End 2.
  SetProgress(100);
  // End 3: the one extra part.
  if (job.k < job.parts) {
    if (BufferBroken()) return BufferFailure(owner, input, job.name);
    if (DeliverPart(job) < 0) return Fail(input, RESULT_REPORTED);
    const int r = StartPart(job);
    if (r < 0) return Fail(input, r);
    if (method == ENCODE_UU || method == ENCODE_XX) AppendZeroLengthLine();
    WritePartTrailer(job.k, job.parts, base);
  }
  // End 4.
  StreamClose(input);
  input = -1;
  if (BufferBroken()) return BufferFailure(owner, input, job.name);

  // End 5.
  if (job.toClipboard) {
    outputOpen = false;
    HGLOBAL memory = out.memory;  // still locked once; the hand-over unlocks it
    out = OutputBuffer();
    return HandOverToClipboard(owner, memory);
  }
  if (job.toMail) {
    const int r = SendEncodedPart(owner, out.data);
    outputOpen = false;
    ReleaseBuffer();
    return r == 0 ? RESULT_DONE : RESULT_REPORTED;
  }
  const bool keepOpen = !ownOutput && count > 1 && !lastOfSelection;
  if (keepOpen) {
    for (int i = 0; i < 3; ++i) AppendOutput(g_encoder.eol, static_cast<size_t>(g_encoder.eolLength));
    if (BufferBroken()) return BufferFailure(owner, input, job.name);
    MimeClosingText(pendingClose);
  }
  if (!WriteOutput(owner, job.name, keepOpen)) return Fail(input, RESULT_REPORTED);
  ReleaseBuffer();
  return RESULT_DONE;
}
