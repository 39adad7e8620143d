#include "decode/input_order.h"

#include <algorithm>

#include "core/names.h"
#include "core/streams.h"
#include "decode/decode_context.h"
#include "decode/line_fit.h"
#include "decode/line_scan.h"
#include "decode/part_table.h"

namespace {

// The head of an article: its header, its frame and the start of its data.
enum { HEAD_LINES = 120 };

struct InputHead {
  bool hasBegin = false;  // the data's own structure: a begin line starts part 1
  int frame = 0;          // the part a frame line designates
  int subject = 0;        // the part the Subject designates
  int Part() const { return hasBegin ? 1 : frame ? frame : subject; }
};

bool IsBeginLine(const char* line) {
  if (!StartsWithAnyCase(line, "begin") || (line[5] != ' ' && line[5] != '\t')) return false;
  const char* p = SkipBlanks(line + 5);
  if (!IsDigit(*p)) return false;
  while (IsDigit(*p)) ++p;
  return *p == ' ' || *p == '\t';
}

// Reads the head of the record's input and keeps the input open for the join that follows.
InputHead ReadHead(PartRecord& record) {
  InputHead head;
  const int s = StreamOpenForReading(record.fileName, STREAM_TEXT);
  if (s < 0) return head;
  char line[LINE_ROOM];
  for (int i = 0; i < HEAD_LINES && StreamReadLine(s, line, LINE_READ_SIZE) > 0; ++i) {
    if (IsBeginLine(line)) {
      head.hasBegin = true;
      break;
    }
    const int part = PartNamedByFrame(line);
    if (StartsWithAnyCase(line, "Subject:")) {
      if (!head.subject) head.subject = part;
    } else if (!head.frame) {
      head.frame = part;
    }
  }
  KeepInputOpen(record, StreamDetach(s));
  return head;
}

}  // namespace

void OrderInputsByTheirParts(int count) {
  if (count < 2 || count > MAX_PARTS) return;
  int parts[MAX_PARTS];
  bool taken[MAX_PARTS + 1] = {};
  for (int i = 0; i < count; ++i) {
    parts[i] = ReadHead(g_partTable[i]).Part();
    if (parts[i] == 0 || taken[parts[i]]) return;  // unnumbered, or two inputs claim one part
    taken[parts[i]] = true;
  }
  // The numbers may leave gaps (a part not chosen): the records are numbered by rank.
  int order[MAX_PARTS];
  for (int i = 0; i < count; ++i) order[i] = i;
  std::sort(order, order + count, [&](int a, int b) { return parts[a] < parts[b]; });
  for (int rank = 0; rank < count; ++rank) g_partTable[order[rank]].partNumber = rank + 1;
}
