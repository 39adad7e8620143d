#include "decode/yenc_decode.h"

#include <cstdio>
#include <cstring>

#include "core/job_state.h"
#include "core/settings.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/decode_context.h"
#include "decode/decode_tables.h"
#include "decode/line_scan.h"
#include "decode/yenc_lines.h"
#include "encode/crc32.h"
#include "encode/header_styles.h"

namespace {

enum {
  DATA_OFFSET = 42,    // every data byte is written plus 42
  ESCAPE_OFFSET = 64,  // and an escaped one plus 64 more
  PIECE_READ_SIZE = DECODED_LINE_ROOM + 1,  // one character gives at most one byte
};

// The reader's place in the current part: where the line pieces stand, and what the
// part's "=ybegin" and "=ypart" lines promised.
struct YencReader {
  bool atLineStart = true;    // the last piece ended its line
  bool skipToLineEnd = false;  // the rest of a keyword line longer than a piece
  bool escapePending = false;  // an "=" ended the last piece
  bool totalGiven = false;
  unsigned long fileSize = 0;
};
YencReader reader;

bool EndsLine(const char* piece, int length) {
  return length > 0 && (piece[length - 1] == '\n' || piece[length - 1] == '\r');
}

// A single file is decoded in its own order: its CRC is the part's.
void TakeSingleFileCrc(const PartRecord* part) {
  if (g_decode.style == STYLE_SINGLE) g_decode.wholeCalculatedChecksum = part->calculatedChecksum;
}

// The part ends without its "=yend": the data so far is kept, the report says so, and the
// sizes and CRCs show what is missing.
void EndWithoutTrailer(const PartRecord* part, int* nextState) {
  g_job.qualifiedResult = true;
  std::snprintf(g_job.resultRemark, sizeof g_job.resultRemark, "%s", kMissingEndRemark);
  TakeSingleFileCrc(part);
  g_decode.trailerPart = g_decode.part;
  g_decode.trailerTotal = g_partTotal;
  g_decode.line[0] = '\0';
  *nextState = PREPARETRAILER;
}

// The byte range of the part gives its size; the part that ends the file gives the total
// when the headers do not.
void TakePartRange(const char* line, PartRecord* part) {
  unsigned long begin = 0, end = 0;
  if (!ParseYencPart(line, &begin, &end)) return;
  part->expectedSize = static_cast<int32_t>(end - begin + 1);
  if (!reader.totalGiven && g_partTotal == 0 && end == reader.fileSize) g_partTotal = g_decode.part;
}

void TakeTrailer(const char* line, PartRecord* part, int* nextState) {
  const YencTrailer t = ParseYencEnd(line);
  if (t.size.given) part->expectedSize = static_cast<int32_t>(t.size.value);
  if (t.partCrc.given) part->expectedChecksum = static_cast<uint32_t>(t.partCrc.value);
  if (t.fileCrc.given) g_decode.wholeExpectedChecksum = static_cast<uint32_t>(t.fileCrc.value);
  TakeSingleFileCrc(part);
  g_decode.trailerPart = t.part.given ? static_cast<int>(t.part.value) : g_decode.part;
  g_decode.trailerTotal = g_partTotal;
  *nextState = PREPARETRAILER;
}

// A keyword line at the start of a line: true when the piece was one (and handled).
bool TakeKeywordLine(int stream, int length, PartRecord* part, int* nextState) {
  char* piece = g_decode.line;
  if (piece[0] != '=' || piece[1] != 'y') return false;
  if (IsYencEndLine(piece)) {
    TakeTrailer(piece, part, nextState);
  } else if (IsYencPartLine(piece)) {
    TakePartRange(piece, part);
  } else if (IsYencBeginLine(piece)) {
    // The next file or part begins before this one ended: it is read again as a header.
    PushBackLine(length, stream);
    EndWithoutTrailer(part, nextState);
    return true;
  } else {
    return false;  // "=y" is also an escaped data byte
  }
  reader.skipToLineEnd = !EndsLine(piece, length);
  return true;
}

// Decodes the characters of a piece; line ends are no data, and a doubled dot that starts a
// line (news transport doubles it) is one dot.
int DecodePiece(const unsigned char* text, int length, bool lineStart, unsigned char* out) {
  int i = (lineStart && text[0] == '.' && text[1] == '.') ? 1 : 0;
  int n = 0;
  bool escape = reader.escapePending;
  for (; i < length; ++i) {
    const unsigned char c = text[i];
    if (c == '\r' || c == '\n') {
      escape = false;  // an escape never spans a line end
    } else if (escape) {
      out[n++] = static_cast<unsigned char>(c - ESCAPE_OFFSET - DATA_OFFSET);
      escape = false;
    } else if (c == '=') {
      escape = true;
    } else {
      out[n++] = static_cast<unsigned char>(c - DATA_OFFSET);
    }
  }
  reader.escapePending = escape;
  return n;
}

int ReadPiece(int stream) {
  const int n = StreamReadLine(stream, g_decode.line, PIECE_READ_SIZE);
  if (n > 0) {
    ++g_decode.lineNumber;
    g_decode.bytesRead += n;
  }
  g_decode.lineLength = n > 0 ? n : 0;
  return n;
}

}  // namespace

bool DataDecidesFormat() {
  return g_settings.decodemethod == DECODE_BY_DATA || g_decode.format == TYPE_AUTO || g_decode.format == TYPE_YENC;
}

int YencHeaderTest(const char* line, int* part, int* total, char* name, size_t room) {
  if (!IsYencBeginLine(line) || !DataDecidesFormat()) return -1;
  const YencBegin begin = ParseYencBegin(line, name, room);
  const bool parts = begin.part.given && !(begin.part.value == 1 && begin.total.given && begin.total.value == 1);
  if (parts && (ValidatePartNumber(static_cast<long>(begin.part.value)) ||
                (begin.total.given && ValidatePartNumber(static_cast<long>(begin.total.value)))))
    return 0;
  *part = parts ? static_cast<int>(begin.part.value) : 1;
  *total = !parts ? 1 : begin.total.given ? static_cast<int>(begin.total.value) : g_partTotal;
  g_decode.format = TYPE_YENC;
  SelectDecodeTable(TYPE_YENC);
  g_decode.formatDecided = true;
  g_decode.nameFound = begin.named;
  g_decode.wholeExpectedSize = static_cast<int32_t>(begin.size.value);
  const size_t length = std::strlen(line);
  reader = YencReader{};
  reader.atLineStart = EndsLine(line, static_cast<int>(length));
  reader.skipToLineEnd = !reader.atLineStart;
  reader.totalGiven = begin.total.given;
  reader.fileSize = begin.size.value;
  return parts ? STYLE_YENC_PARTS : STYLE_SINGLE;
}

int YencDecodeChunk(int stream, unsigned char* out, PartRecord* part, int* nextState) {
  *nextState = DECODELINES;
  const int length = ReadPiece(stream);
  if (length < 0) {
    ShowMessage(MainWindow(), MB_ICONHAND, kReadFailure, g_decode.lineNumber, DecodeInputName());
    *nextState = CRITICALERROR;
    return 0;
  }
  if (length == 0) {
    EndWithoutTrailer(part, nextState);
    return 0;
  }
  const bool lineStart = reader.atLineStart;
  reader.atLineStart = EndsLine(g_decode.line, length);
  if (reader.skipToLineEnd) {
    reader.skipToLineEnd = !reader.atLineStart;
    return 0;
  }
  if (lineStart && TakeKeywordLine(stream, length, part, nextState)) return 0;
  const int n = DecodePiece(reinterpret_cast<const unsigned char*>(g_decode.line), length, lineStart, out);
  part->calculatedChecksum = Crc32(part->calculatedChecksum, out, static_cast<size_t>(n));
  part->calculatedSize += n;
  return n;
}
