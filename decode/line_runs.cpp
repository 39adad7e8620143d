#include "decode/line_runs.h"

#include "core/streams.h"
#include "decode/decode_context.h"
#include "decode/line_classify.h"
#include "decode/line_decoder.h"

namespace {

// A line's shape: its characters (with the length character), its line end, and whether
// the stream drops an LF ahead of the next line (the LF of a CR LF when CR ends lines).
struct LineShape {
  int characters;
  int endBytes;
  int lead;
};

LineShape ShapeOf(const char* line, int length) {
  const int last = length - 1;
  const bool crLf = last > 0 && line[last] == '\n' && line[last - 1] == '\r';
  const int endBytes = crLf ? 2 : 1;
  return LineShape{length - endBytes, endBytes, line[last] == '\r' ? 1 : 0};
}

// Whether `text` starts and ends as a line of `line`'s shape does, if its characters are all
// of the alphabet (none of them is a line end): a UU or XX line with the same length
// character, a base64 line with a character that starts only data lines.
bool SameEnds(const unsigned char* text, const char* line, const LineShape& shape) {
  const int end = shape.characters;
  const bool start =
      DecodingUuOrXx() ? text[0] == static_cast<unsigned char>(line[0]) : StartsDataLine(static_cast<char>(text[0]));
  return start && text[end] == static_cast<unsigned char>(line[end]) &&
         (shape.endBytes == 1 || text[end + 1] == static_cast<unsigned char>(line[end + 1]));
}

}  // namespace

bool StartsRunOfWholeLines(const char* line, int length) {
  if (length < 2 || (line[length - 1] != '\n' && line[length - 1] != '\r')) return false;
  // A begin line would end a UU or XX file before it: none starts so. Base64 data ends at
  // a blank line, a boundary or a signature, all of which start otherwise.
  if (DecodingUuOrXx()) return StartsDataLine(line[0]) && (line[0] | 0x20) != 'b';
  return g_decode.format == TYPE_MIME;
}

WholeLineRun DecodeWholeLines(int input, int output, const char* line, int length, const UsedRegions& used,
                              PartRecord* part, int most) {
  WholeLineRun run;
  const LineShape shape = ShapeOf(line, length);
  const unsigned take = static_cast<unsigned>(shape.lead + length);
  // Fewer lines when the output's buffer is near full: the line that fills it goes through
  // the stream's write, which empties it.
  unsigned char* out = nullptr;
  while (most > 0 && !(out = StreamWriteRoom(output, static_cast<unsigned>(most) * DECODED_LINE_ROOM))) most /= 2;
  unsigned held = 0;
  const unsigned char* room = StreamReadHeld(input, &held);
  const long long first = StreamPosition(input);
  unsigned taken = 0, produced = 0;
  for (; out && run.lines < most && held - taken >= take; ++run.lines, taken += take) {
    const unsigned char* at = room + taken;
    const unsigned char* text = at + shape.lead;
    if ((shape.lead && at[0] != '\n') || !SameEnds(text, line, shape) || used.Contains(first + taken)) break;
    bool blanks = false;
    const int n = DecodeWholeLine(text, shape.characters, out + produced, part, &blanks);
    if (n < 0) break;
    produced += static_cast<unsigned>(n);
    run.bytesRead += length;
    run.lastStart = first + taken;
    run.blanks = run.blanks || blanks;
  }
  StreamReadSkip(input, taken);
  StreamWriteCommit(output, produced);
  return run;
}
