#include "decode/partial_messages.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/job_state.h"
#include "core/names.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/decode_context.h"
#include "decode/join_parts.h"
#include "decode/line_scan.h"
#include "decode/part_table.h"

namespace {

// A header block longer than this is no message's header but text with colons in it, and
// blank lines beyond it no part's end; the longest field value looked at is cut at FIELD_ROOM.
enum { BLOCK_ROOM = 64 * 1024, FIELD_ROOM = 1024, NUMBER_DIGITS = 9 };

bool EndsLine(char c) { return c == '\r' || c == '\n'; }

// "Name:" with a name of printable characters and no blank: the first line of a header field.
bool IsFieldLine(const char* line) {
  const char* p = line;
  while (static_cast<unsigned char>(*p) > ' ' && static_cast<unsigned char>(*p) < 127 && *p != ':') ++p;
  return p > line && *p == ':';
}

bool IsContinuationLine(const char* line) { return IsBlank(*line) && !IsBlankLine(line); }

bool IsField(const char* line, const char* name) {
  return StartsWithAnyCase(line, name) && line[std::strlen(name)] == ':';
}

// The fields that the enclosed message brings to the joined one; every other field of the
// joined message comes from the first part's own header.
bool IsEnclosedField(const char* line) {
  return StartsWithAnyCase(line, "Content-") || IsField(line, "Subject") || IsField(line, "Message-ID") ||
         IsField(line, "Encrypted") || IsField(line, "MIME-Version");
}

// What a message/partial Content-Type says about its part.
struct PartLabel {
  std::string id;
  long number = 0;
  long total = 0;  // 0 = not stated (only the last part must state it)
  bool outOfRange = false;
};

// A decimal number of at most NUMBER_DIGITS digits and nothing else; -1 otherwise.
long ParameterNumber(const std::string& text) {
  if (text.empty() || text.size() > NUMBER_DIGITS) return -1;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Reads one parameter ("; name=value" or "; name="quoted value"") at p, which is at a ';'.
const char* ReadParameter(const char* p, std::string& name, std::string& value) {
  name.clear();
  value.clear();
  p = SkipBlanks(p + 1);
  while (*p && *p != '=' && *p != ';' && !IsBlank(*p)) name += *p++;
  p = SkipBlanks(p);
  if (*p != '=') return p;
  p = SkipBlanks(p + 1);
  if (*p == '"') {
    for (++p; *p && *p != '"'; ++p) {
      if (*p == '\\' && p[1]) ++p;
      value += *p;
    }
    if (*p == '"') ++p;
  } else {
    while (*p && *p != ';' && !IsBlank(*p)) value += *p++;
  }
  while (*p && *p != ';') ++p;  // a comment or blanks after the value
  return p;
}

// The label of a "message/partial" Content-Type value with an id and a part number; false
// for any other type.
bool ReadPartLabel(const char* value, PartLabel& label) {
  const char* p = SkipBlanks(value);
  if (!StartsWithAnyCase(p, "message/partial")) return false;
  p += std::strlen("message/partial");
  p = SkipBlanks(p);
  if (*p != ';') return false;
  std::string name, text;
  bool numbered = false;
  while (*p == ';') {
    p = ReadParameter(p, name, text);
    if (StartsWithAnyCase(name.c_str(), "id") && name.size() == 2) {
      label.id = text;
    } else if (StartsWithAnyCase(name.c_str(), "number") && name.size() == 6) {
      label.number = ParameterNumber(text);
      numbered = true;
    } else if (StartsWithAnyCase(name.c_str(), "total") && name.size() == 5) {
      label.total = ParameterNumber(text);
    }
  }
  if (label.id.empty() || !numbered) return false;
  label.outOfRange = label.number < 1 || label.number > MAX_PARTS || label.total < 0 || label.total > MAX_PARTS;
  return true;
}

}  // namespace

// One pass over an input: its header blocks (a "From " line, the start of the input or a
// blank line, then header fields up to a blank line) tell where messages start; a
// message/partial message's body runs to the next message's start, and its trailing blank
// lines (the mailbox's separator, the line end put between joined inputs) are left out.
class PartialScan {
 public:
  PartialScan(PartialMessages& out, HWND window, int input, UsedRegions& used)
      : out_(out), window_(window), input_(input), used_(used) {}

  int Run() {
    int result = RESULT_DONE;
    bool lineEnded = true;
    for (;;) {
      const long long start = StreamPosition(input_);
      const int n = StreamReadLine(input_, line_, LINE_READ_SIZE);
      if (n <= 0) break;  // a read failure is the decode passes' to report
      const bool continued = !lineEnded;
      lineEnded = EndsLine(line_[n - 1]);
      if (continued) TakeRestOfLine(n);
      else TakeLine(start, n);
      PumpMessagesWhenDue();
      if (failed_ || g_job.cancelRequested) {
        result = failed_ ? RESULT_REPORTED : RESULT_CANCELLED;
        break;
      }
    }
    if (result == RESULT_DONE) EndOfInput(StreamPosition(input_));
    CloseBody();
    StreamSeek(input_, 0, FILE_BEGIN);
    used_.Keep();
    return failed_ ? RESULT_REPORTED : result;
  }

 private:
  enum Sink { SINK_NONE, SINK_BLOCK, SINK_BODY };

  void TakeLine(long long start, int n) {
    if (inBlock_) {
      if ((IsFieldLine(line_) || IsContinuationLine(line_)) && block_.size() + n <= BLOCK_ROOM) {
        AddToBlock(n, true);
        return;
      }
      if (IsBlankLine(line_)) {
        EndBlock(n);
        return;
      }
      DropBlock();  // no header after all: the line is the message's text
    }
    sink_ = SINK_BODY;
    if (StartsWith(line_, "From ")) {
      EndPart(start);
      StartBlock(start, true);
      sink_ = SINK_NONE;
    } else if (IsBlankLine(line_)) {
      if (partOpen_) blanks_.append(line_, static_cast<size_t>(n));
      if (blanks_.size() > BLOCK_ROOM) WriteBody("", 0);  // so many blank lines end no part
      atBlockStart_ = true;
    } else if ((atBlockStart_ || !partOpen_) && IsFieldLine(line_)) {
      // Outside a part any header field may start a message (an article saved after a line
      // of the newsreader's own); inside one only a field after a blank line does.
      StartBlock(start, false);
      AddToBlock(n, true);
    } else {
      atBlockStart_ = false;
      WriteBody(line_, n);
    }
  }

  // The rest of a line longer than the line buffer goes where its start went.
  void TakeRestOfLine(int n) {
    if (sink_ == SINK_BLOCK && inBlock_) AddToBlock(n, false);
    else if (sink_ == SINK_BODY) WriteBody(line_, n);
  }

  void StartBlock(long long start, bool afterFromLine) {
    inBlock_ = true;
    blockStart_ = start;
    afterFromLine_ = afterFromLine;
    block_.clear();
    contentType_.clear();
    inContentType_ = false;
    hasSubject_ = false;
  }

  void AddToBlock(int n, bool lineStart) {
    sink_ = SINK_BLOCK;
    block_.append(line_, static_cast<size_t>(n));
    if (lineStart && IsFieldLine(line_)) {
      inContentType_ = IsField(line_, "Content-Type");
      hasSubject_ = hasSubject_ || IsField(line_, "Subject");
      if (inContentType_) contentType_.clear();
    }
    if (!inContentType_) return;
    const char* text = lineStart && IsFieldLine(line_) ? line_ + std::strlen("Content-Type:") : line_;
    const size_t length = LineTextLength(text);
    if (contentType_.size() + length <= FIELD_ROOM) contentType_.append(text, length);
  }

  // A header block ends at its blank line: a message/partial header starts a part; another
  // message's header ends the part before it; anything else is text of the part's body
  // (the enclosed message's own header, always, at the start of part 1's body).
  void EndBlock(int n) {
    inBlock_ = false;
    atBlockStart_ = true;
    sink_ = SINK_BODY;
    const bool inBodyStart = partOpen_ && !bodyStarted_;
    PartLabel label;
    if (!inBodyStart && ReadPartLabel(contentType_.c_str(), label)) {
      EndPart(blockStart_);
      StartPart(label);
    } else if (!inBodyStart && (afterFromLine_ || hasSubject_)) {
      EndPart(blockStart_);
    } else {
      DropBlock();
      atBlockStart_ = true;
      if (partOpen_) blanks_.append(line_, static_cast<size_t>(n));
    }
  }

  // The block was no message's header: its lines belong to the open part's body, if any
  // (a "From " line ended that part already).
  void DropBlock() {
    inBlock_ = false;
    if (!afterFromLine_ && partOpen_) WriteBody(block_.data(), static_cast<int>(block_.size()));
    atBlockStart_ = false;
  }

  void EndOfInput(long long end) {
    if (inBlock_) DropBlock();
    EndPart(end);
  }

  PartialMessages::Id& IdNamed(const std::string& id) {
    for (PartialMessages::Id& m : out_.ids_)
      if (m.id == id) return m;
    out_.ids_.emplace_back();
    out_.ids_.back().id = id;
    out_.ids_.back().partFiles.resize(MAX_PARTS);
    return out_.ids_.back();
  }

  void StartPart(const PartLabel& label) {
    partOpen_ = true;
    partStart_ = blockStart_;
    bodyStarted_ = false;
    blanks_.clear();
    PartialMessages::Id& m = IdNamed(label.id);
    if (label.outOfRange) {
      m.outOfRange = true;
      return;  // used, so that no pass decodes a piece of it, but not joined
    }
    if (label.total > m.total) m.total = static_cast<int>(label.total);
    if (label.number > m.highest) m.highest = static_cast<int>(label.number);
    std::string& file = m.partFiles[static_cast<size_t>(label.number - 1)];
    if (!file.empty()) return;  // a part seen again: the first copy stands
    if (label.number == 1) m.outerHeader = block_;
    char path[PATH_ROOM];
    if (MakeTempFileName(path) == 0) {
      ShowErrorMessage(window_, GetLastError(), MB_ICONHAND, kTempFileFailed, static_cast<int>(label.number));
      failed_ = true;
      return;
    }
    file = path;
    DeleteFileA(path);
    body_ = StreamOpenForWriting(path);
    if (body_ < 0) Fail(path);
    bodyPath_ = path;
  }

  void EndPart(long long end) {
    if (!partOpen_) return;
    CloseBody();
    used_.Note(partStart_, end, true);
    partOpen_ = false;
    blanks_.clear();
  }

  void WriteBody(const char* text, int n) {
    if (!partOpen_) return;
    bodyStarted_ = true;
    if (body_ < 0) return;
    if (!blanks_.empty()) Write(blanks_.data(), blanks_.size());
    blanks_.clear();
    Write(text, static_cast<size_t>(n));
  }

  void Write(const char* text, size_t n) {
    if (body_ >= 0 && StreamWriteBlock(body_, text, static_cast<unsigned>(n)) != static_cast<int>(n)) Fail(bodyPath_.c_str());
  }

  void CloseBody() {
    if (body_ < 0) return;
    const bool closed = StreamClose(body_) != FALSE;
    body_ = -1;
    if (!closed) Fail(bodyPath_.c_str());
  }

  void Fail(const char* path) {
    if (!failed_) ShowErrorMessage(window_, GetLastError(), MB_ICONHAND, kWriteFailure, path);
    failed_ = true;
    if (body_ >= 0) StreamClose(body_);
    body_ = -1;
  }

  PartialMessages& out_;
  HWND window_;
  int input_;
  UsedRegions& used_;
  char line_[LINE_ROOM];
  Sink sink_ = SINK_NONE;
  bool atBlockStart_ = true;
  bool inBlock_ = false;
  bool afterFromLine_ = false;
  long long blockStart_ = 0;
  std::string block_;
  std::string contentType_;
  bool inContentType_ = false;
  bool hasSubject_ = false;
  bool partOpen_ = false;
  bool bodyStarted_ = false;
  long long partStart_ = 0;
  std::string blanks_;  // blank lines of the body not yet written: they may end it
  int body_ = -1;
  std::string bodyPath_;
  bool failed_ = false;
};

namespace {

enum { SEARCH_BLOCK = STREAM_PROGRAM_BUFFER_SIZE };
const char kPartialWord[] = "message/partial";  // lower case; the longer, the faster the search
const size_t kPartialLength = sizeof kPartialWord - 1;

// Whether the word starts at `p`, its bytes folded with 0x20 (letters to lower case). A byte
// that the folding turns into "/" only costs a needless scan of the input.
bool PartialWordAt(const unsigned char* p) {
  for (size_t k = 0; k < kPartialLength; ++k)
    if ((p[k] | 0x20) != static_cast<unsigned char>(kPartialWord[k])) return false;
  return true;
}

// The word's pairs of neighbouring bytes start at kPairPlaces neighbouring places, so every
// copy of the word has one of its pairs at a multiple of kPairPlaces.
const size_t kPairPlaces = kPartialLength - 1;

// Two bytes in one load, folded; the table of the word's pairs is made by the same load,
// so the byte order of the machine does not matter.
unsigned FoldedPair(const unsigned char* p) {
  uint16_t pair;
  std::memcpy(&pair, p, sizeof pair);
  return pair | 0x2020u;
}

// One bit for each pair of folded bytes: set for the word's pairs.
class WordPairs {
 public:
  WordPairs() {
    const auto* word = reinterpret_cast<const unsigned char*>(kPartialWord);
    for (size_t j = 0; j < kPairPlaces; ++j) {
      const unsigned pair = FoldedPair(word + j);
      bits_[pair / 64] |= uint64_t{1} << (pair % 64);
    }
  }
  bool Holds(unsigned pair) const { return (bits_[pair / 64] >> (pair % 64)) & 1; }

 private:
  uint64_t bits_[65536 / 64] = {};
};

// Whether the word starts at one of the places before `at` from which its pair at `at`
// could come.
bool WordAround(const unsigned char* text, size_t n, size_t at) {
  for (size_t j = 0; j < kPairPlaces && j <= at; ++j)
    if (at - j + kPartialLength <= n && PartialWordAt(text + at - j)) return true;
  return false;
}

// Whether `text` holds kPartialWord in any case. Only the pairs at multiples of
// kPairPlaces are looked up; a pair of the word there is compared whole at each place the
// word could start, which in encoded text happens about once in a hundred looks.
bool HoldsPartialWord(const unsigned char* text, size_t n) {
  static const WordPairs pairs;
  size_t at = 0;
  // Two looks a step with one test of both: a look that finds a pair is the rare case.
  for (; at + kPairPlaces + 2 <= n; at += 2 * kPairPlaces) {
    if (!(pairs.Holds(FoldedPair(text + at)) | pairs.Holds(FoldedPair(text + at + kPairPlaces)))) continue;
    if (WordAround(text, n, at) || WordAround(text, n, at + kPairPlaces)) return true;
  }
  for (; at + 2 <= n; at += kPairPlaces)
    if (pairs.Holds(FoldedPair(text + at)) && WordAround(text, n, at)) return true;
  return false;
}

// Whether the input names "message/partial" anywhere; the input is back at its start
// afterwards. Most inputs do not, and are spared the line-by-line scan. Every read is of a
// whole SEARCH_BLOCK, straight into this buffer rather than through the stream's, at a place
// aligned for reads; the room after it takes the NUL StreamReadBlock may store.
bool MentionsPartial(int input) {
  std::vector<unsigned char> buffer(STREAM_READ_ALIGNMENT - 1 + SEARCH_BLOCK + 1);
  unsigned char* place = AlignForReads(buffer.data());
  PartialWordSearch search;
  int n;
  while (!search.Found() && (n = StreamReadBlock(input, place, SEARCH_BLOCK)) > 0)
    search.Feed(place, static_cast<size_t>(n));
  StreamSeek(input, 0, FILE_BEGIN);
  return search.Found();
}

}  // namespace

void PartialWordSearch::Feed(const unsigned char* block, size_t n) {
  static_assert(KEPT_ROOM == kPartialLength - 1, "the end kept of the text");
  if (found_) return;
  // The seam: the end kept of the text before, then as much of the block as a word that
  // starts in that end can reach.
  unsigned char seam[2 * KEPT_ROOM];
  const size_t room = KEPT_ROOM;
  const size_t reach = n < room ? n : room;
  std::memcpy(seam, kept_, keptCount_);
  std::memcpy(seam + keptCount_, block, reach);
  const size_t seamCount = keptCount_ + reach;
  found_ = HoldsPartialWord(seam, seamCount) || HoldsPartialWord(block, n);
  // The end of the text so far: of the block, or of the seam when the block is shorter.
  const unsigned char* end = n >= room ? block + n : seam + seamCount;
  keptCount_ = seamCount < room ? seamCount : room;
  std::memcpy(kept_, end - keptCount_, keptCount_);
}

int PartialMessages::Collect(HWND window, int input, UsedRegions& used) {
  if (!MentionsPartial(input)) return RESULT_DONE;
  return PartialScan(*this, window, input, used).Run();
}

namespace {

// Copies header lines, keeping the fields that `keep` accepts with their continuation lines.
class FieldFilter {
 public:
  explicit FieldFilter(bool enclosed) : enclosed_(enclosed) {}
  bool Keeps(const char* line) {
    if (IsFieldLine(line)) keeping_ = IsEnclosedField(line) == enclosed_;
    return keeping_;
  }

 private:
  bool enclosed_;
  bool keeping_ = false;
};

bool WriteText(int out, const char* text, size_t n) {
  return StreamWriteBlock(out, text, static_cast<unsigned>(n)) == static_cast<int>(n);
}

// The first part's own header fields, but those that the enclosed message gives.
bool WriteOuterFields(int out, const std::string& header) {
  FieldFilter filter(false);
  size_t start = 0;
  while (start < header.size()) {
    size_t end = header.find_first_of("\r\n", start);
    end = end == std::string::npos ? header.size() : end + 1;
    const std::string line = header.substr(start, end - start);
    if (filter.Keeps(line.c_str()) && !WriteText(out, line.data(), line.size())) return false;
    start = end;
  }
  return true;
}

// Copies a part's body file to the joined message; the first part's starts with the
// enclosed message's header, of which only its own fields go. RESULT_DONE, RESULT_CANCELLED,
// or RESULT_FAILED when a file could not be read or written.
int AppendBody(int out, const std::string& file, bool first) {
  const int in = StreamOpenForReading(file.c_str(), STREAM_TEXT);
  if (in < 0) return RESULT_FAILED;
  char line[LINE_ROOM];
  FieldFilter filter(true);
  bool inHeader = first;
  int n = 0;
  int result = RESULT_DONE;
  while (result == RESULT_DONE && (n = StreamReadLine(in, line, LINE_READ_SIZE)) > 0) {
    if (inHeader && IsBlankLine(line)) inHeader = false;
    const bool keep = !inHeader || filter.Keeps(line);
    if (keep && !WriteText(out, line, static_cast<size_t>(n))) result = RESULT_FAILED;
    PumpMessagesWhenDue();
    if (g_job.cancelRequested) result = RESULT_CANCELLED;
  }
  StreamClose(in);
  return n < 0 ? RESULT_FAILED : result;
}

}  // namespace

int PartialMessages::Join(HWND window, size_t index, char* path) {
  const Id& m = ids_[index];
  // Without a stated total, or with a part beyond it, the number of parts is not known.
  const int total = m.outOfRange || m.highest > m.total ? 0 : m.total;
  ClearPartTable();
  for (int n = 1; n <= total; ++n)
    if (!m.partFiles[static_cast<size_t>(n - 1)].empty()) g_partTable[n - 1].partNumber = n;
  if (ReportIncompleteParts(window, total)) return RESULT_REPORTED;
  if (MakeTempFileName(path) == 0) {
    ShowErrorMessage(window, GetLastError(), MB_ICONHAND, kTempFileFailed, 1);
    return RESULT_REPORTED;
  }
  DeleteFileA(path);
  const int out = StreamOpenForWriting(path);
  int result = out >= 0 && WriteOuterFields(out, m.outerHeader) ? RESULT_DONE : RESULT_FAILED;
  for (int n = 1; n <= total && result == RESULT_DONE; ++n)
    result = AppendBody(out, m.partFiles[static_cast<size_t>(n - 1)], n == 1);
  const DWORD error = GetLastError();
  const bool closed = out >= 0 && StreamClose(out) != FALSE;
  if (result == RESULT_DONE && closed) return RESULT_DONE;
  DeleteFileA(path);
  if (result == RESULT_CANCELLED) return result;
  ShowErrorMessage(window, error, MB_ICONHAND, kWriteFailure, path);
  return RESULT_REPORTED;
}

void PartialMessages::DeleteFiles() {
  for (Id& m : ids_)
    for (std::string& file : m.partFiles) {
      if (!file.empty()) DeleteFileA(file.c_str());
      file.clear();
    }
}
