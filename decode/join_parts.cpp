#include "decode/join_parts.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/job_state.h"
#include "core/names.h"
#include "core/settings.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/decode_context.h"
#include "decode/part_table.h"
#include "decode/partial_messages.h"
#include "encode/header_styles.h"

namespace {

const char kTotalUnknown[] = "Number of Parts Could Not be Determined;\r\nSomething is Missing.";
const char kMissingHead[] = "Total Parts Required: %d.\r\nMissing Parts: ";
const char kSomehowMissing[] = "Somehow Missing Part %d in Join Operation.";
const char kJoining[] = "Joining Part %d of %d for %s";
const char kJoinError[] = "Join Error for Part %d.";
const char kCantRead[] = "Can't Read Temporary File %s for Append Operation.";
const char kWriteError[] = "Write Error During Append:\r\nWanted %d, Got %d bytes.";
const char kReadError[] = "Read Error During Append Operation.";

// A block of the program's stream buffer size or more goes between the files without a copy
// through either stream's buffer.
enum { APPEND_BLOCK = STREAM_PROGRAM_BUFFER_SIZE, PUMP_COUNT = 4, ENTRY_ROOM = 32, SHORTEST_RANGE = 3 };
const char kMoreMissing[] = ", ...";

bool IsMissing(int n) { return g_partTable[n - 1].partNumber == 0; }

// The missing-parts message: runs of three or more as ranges ("2-5, 9, 12, 13, 20-40").
// An entry that would not leave room for the ellipsis in the message box is replaced by
// it, so that the list never ends inside a number. True when parts are missing (reported).
bool ReportMissingParts(HWND window, int total) {
  char text[MESSAGE_ROOM];
  const size_t limit = sizeof text - sizeof kMoreMissing;  // the ellipsis always fits
  size_t length = static_cast<size_t>(std::snprintf(text, sizeof text, kMissingHead, total));
  bool any = false;
  for (int n = 1; n <= total; ++n) {
    if (!IsMissing(n)) continue;
    int last = n;
    while (last < total && IsMissing(last + 1)) ++last;
    if (last - n + 1 < SHORTEST_RANGE) last = n;
    const char* separator = any ? ", " : "";
    char entry[ENTRY_ROOM];
    const int add = last > n ? std::snprintf(entry, sizeof entry, "%s%d-%d", separator, n, last)
                             : std::snprintf(entry, sizeof entry, "%s%d", separator, n);
    any = true;
    if (length + static_cast<size_t>(add) > limit) {
      std::memcpy(text + length, kMoreMissing, sizeof kMoreMissing);
      break;
    }
    std::memcpy(text + length, entry, static_cast<size_t>(add) + 1);
    length += static_cast<size_t>(add);
    n = last;
  }
  if (any) ShowMessage(window, MB_ICONHAND, "%s", text);
  return any;
}

PartRecord* FindPart(int n, int total) {
  for (int i = 0; i < total; ++i)
    if (g_partTable[i].partNumber == n) return &g_partTable[i];
  return nullptr;
}

// Ends a failed join: the partial output goes.
int AbandonOutput(int output, const char* path, int result) {
  StreamClose(output);
  DeleteFileA(path);
  RestoreCursor();
  return result;
}

// The output (closed) could not take all its bytes: reported with the system's reason for
// `error`; it goes.
int WriteFailure(HWND window, DWORD error, const char* path) {
  ShowErrorMessage(window, error, MB_ICONHAND, kWriteFailure, path);
  DeleteFileA(path);
  RestoreCursor();
  return RESULT_REPORTED;
}

// Whether parts 1 to `total` are, in order, the whole of one file: they came in order and
// were decoded one after the other into it.
bool HoldsEveryPart(int total) {
  const PartRecord* first = FindPart(1, total);
  int64_t end = 0;
  for (int n = 1; n <= total; ++n) {
    const PartRecord* record = FindPart(n, total);
    if (!record || !record->ranged || record->fileOffset != end || std::strcmp(record->fileName, first->fileName) != 0)
      return false;
    if (record->fileLength < 0) return n == total;  // the last part runs to the end of the file
    end += record->fileLength;
  }
  const int s = StreamOpenForReading(first->fileName, STREAM_BINARY);
  const long long size = s >= 0 ? StreamFileSize(s) : -1;
  if (s >= 0) StreamClose(s);
  return size == end;
}

// Whether two paths, as the program builds them from one folder's path, lie in one folder.
// Only a file made in the output's folder takes the output's place: one moved from the
// temporary directory would keep the permissions it was given there.
bool InOneFolder(const char* a, const char* b) {
  const size_t n = static_cast<size_t>(FileNamePart(a) - a);
  return n == static_cast<size_t>(FileNamePart(b) - b) && std::strncmp(a, b, n) == 0;
}

enum { MOVE_FAILED = 1000 };

// Puts the file that holds every part in the place of the output just made (closing its
// stream), which copies nothing when both lie on one drive. MOVE_FAILED, with `output`
// open again, when the system would not move it: the parts are then copied.
int MoveOver(HWND window, int& output, const char* path, int total) {
  const PartRecord* first = FindPart(1, total);
  if (!StreamClose(output)) return WriteFailure(window, GetLastError(), path);
  if (MoveFileExA(first->fileName, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    char moved[PART_NAME_ROOM];
    std::memcpy(moved, first->fileName, sizeof moved);
    for (PartRecord& record : g_partTable)
      if (std::strcmp(record.fileName, moved) == 0) record.fileName[0] = '\0';  // moved, not to be deleted
    DeletePartFiles();  // any other part's file goes, as after a copy
    SetProgress(100);
    RestoreCursor();
    return RESULT_DONE;
  }
  output = StreamOpenForWriting(path);
  if (output < 0) return WriteFailure(window, GetLastError(), path);
  return MOVE_FAILED;
}

}  // namespace

int AppendPartFile(HWND window, PartRecord& record, int output, PartialWordSearch* search) {
  const HANDLE kept = TakeKeptInput(record);
  const int in = kept != INVALID_HANDLE_VALUE ? StreamReadFromStart(kept, STREAM_BINARY)
                                              : StreamOpenForReading(record.fileName, STREAM_BINARY);
  if (in < 0) {
    ShowMessage(window, MB_ICONHAND, kCantRead, record.fileName);
    return 1;
  }
  // Offsets of parts that share a file stay below 1 GiB (OpenPartFile).
  if (record.ranged) StreamSeek(in, static_cast<LONG>(record.fileOffset), FILE_BEGIN);
  const bool whole = !record.ranged || record.fileLength < 0;  // up to the end of the file
  long long left = whole ? LLONG_MAX : record.fileLength;
  // One block for every part: under Wine each allocation of this size maps fresh pages.
  // The stream may store a NUL after a block.
  static std::vector<unsigned char> buffer(STREAM_READ_ALIGNMENT - 1 + APPEND_BLOCK + 1);
  unsigned char* block = AlignForReads(buffer.data());
  int got = 0;
  while (left > 0 && (got = StreamReadBlock(in, block, static_cast<int>(left < APPEND_BLOCK ? left : static_cast<long long>(APPEND_BLOCK)))) > 0) {
    left -= got;
    if (search) search->Feed(block, static_cast<size_t>(got));
    const int written = StreamWriteBlock(output, block, static_cast<unsigned>(got));
    if (written != got) {
      StreamClose(in);
      ShowMessage(window, MB_ICONHAND, kWriteError, got, written < 0 ? 0 : written);
      return 1;
    }
    PumpMessagesWhenDue();
    if (g_job.cancelRequested) {
      StreamClose(in);
      return 1;
    }
  }
  StreamClose(in);
  if (got < 0 || (!whole && left > 0)) {  // a shared file that lost bytes reads short
    ShowMessage(window, MB_ICONHAND, kReadError);
    return 1;
  }
  return 0;
}

bool ReportIncompleteParts(HWND window, int total) {
  if (total <= 0 || total > MAX_PARTS) {
    ShowMessage(window, MB_ICONHAND, kTotalUnknown);
    return true;
  }
  return ReportMissingParts(window, total);
}

int JoinParts(HWND window, int total, int ask, int mode, PartialWordSearch* search) {
  ClosePartFiles();  // the parts are read, and their file may be moved
  g_job.cancelRequested = false;
  if (ReportIncompleteParts(window, total)) return RESULT_REPORTED;
  if (mode == OP_DECODE && g_decode.style == STYLE_SINGLE) return RESULT_DONE;
  SetWaitCursor(nullptr);
  SetProgress(0);
  if (!FindPart(1, total)) {
    ShowMessage(window, MB_ICONHAND, kSomehowMissing, 1);
    RestoreCursor();
    return RESULT_REPORTED;
  }
  char path[PATH_ROOM];
  std::snprintf(path, sizeof path, "%s", g_decode.outputName);
  int output = MakeOutFile(window, path, mode, ask);
  if (output < 0) {
    RestoreCursor();
    return output;
  }
  std::memcpy(g_decode.outputName, path, sizeof path);
  if (mode == OP_DECODE && HoldsEveryPart(total) && InOneFolder(FindPart(1, total)->fileName, path)) {
    const int moved = MoveOver(window, output, path, total);
    if (moved != MOVE_FAILED) return moved;
  }
  for (int n = 1; n <= total; ++n) {
    PartRecord* record = FindPart(n, total);
    if (!record) {
      ShowMessage(window, MB_ICONHAND, kSomehowMissing, n);
      return AbandonOutput(output, path, RESULT_REPORTED);
    }
    if (mode == OP_CONCATENATE) ShowJobStatus(OP_CONCATENATE, g_job.encodingType, record->fileName, path, n, total);
    else ShowStatus(kJoining, n, total, FileNamePart(path));
    SetProgress(n * 100 / total);
    PumpMessages(PUMP_COUNT);  // a part boundary: the new status is painted whatever the time
    if (AppendPartFile(window, *record, output, search) != 0) {
      const bool cancelled = g_job.cancelRequested;
      if (!cancelled) ShowMessage(window, MB_ICONHAND, kJoinError, n);
      return AbandonOutput(output, path, cancelled ? RESULT_CANCELLED : RESULT_REPORTED);
    }
    if (mode == OP_CONCATENATE) {
      const char* eol = EndOfLineString();
      if (search) search->Feed(reinterpret_cast<const unsigned char*>(eol), std::strlen(eol));
      if (StreamWriteString(output, eol) != static_cast<int>(std::strlen(eol))) {
        const DWORD error = GetLastError();
        StreamClose(output);
        return WriteFailure(window, error, path);
      }
      record->fileName[0] = '\0';  // the inputs stay
    }
  }
  if (mode == OP_DECODE) DeletePartFiles();  // after the last part: parts may share a file
  if (!StreamClose(output)) return WriteFailure(window, GetLastError(), path);
  RestoreCursor();
  return RESULT_DONE;
}
