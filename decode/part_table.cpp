#include "decode/part_table.h"

#include <cstring>

#include "core/platform.h"
#include "core/streams.h"

namespace {

// Parts follow each other in one file up to this offset; StreamSeek takes a 32-bit offset.
const int64_t kLastFollowedOffset = 1LL << 30;

// The stream of the part last finished, kept open for the part that may follow it in its
// file: under Wine an open costs about 0.15 ms, and a posting of 90 parts spent 12.5 ms in
// opening its file again. Closed before anything else reads, moves or deletes a part file.
struct HeldPartFile {
  const PartRecord* record = nullptr;
  int stream = -1;
};
HeldPartFile g_held;

int TakeHeldStream(const PartRecord& previous) {
  if (g_held.record != &previous) return -1;
  const int s = g_held.stream;
  g_held = HeldPartFile();
  return s;
}

int OpenFollowing(PartRecord& record, const PartRecord& previous) {
  std::strcpy(record.fileName, previous.fileName);
  record.fileOffset = previous.fileOffset + previous.fileLength;
  const int held = TakeHeldStream(previous);  // at the end of the previous part already
  if (held >= 0) return held;
  const int s = StreamOpen(record.fileName, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           STREAM_NUL_AFTER_BLOCK);
  if (s >= 0) StreamSeek(s, static_cast<LONG>(record.fileOffset), FILE_BEGIN);
  return s;
}

int OpenNew(PartRecord& record, const char* beside) {
  char path[MAX_PATH];
  if (MakeTempFileNameBeside(beside, path) == 0) return -1;
  if (std::strlen(path) >= sizeof record.fileName) {
    DeleteFileA(path);
    return -1;
  }
  std::strcpy(record.fileName, path);
  DeleteFileA(path);
  record.fileOffset = 0;
  return StreamOpenForWriting(path);
}

}  // namespace

PartRecord g_partTable[MAX_PARTS];
int g_partTotal = 0;
PartRecord* g_currentPart = &g_partTable[0];

void ClearPartTable() {
  ClosePartFiles();
  CloseKeptInputs();
  std::memset(g_partTable, 0, sizeof g_partTable);
  g_partTotal = 0;
  g_currentPart = &g_partTable[0];
}

void KeepInputOpen(PartRecord& record, HANDLE file) {
  if (record.keptInput) CloseHandle(record.keptInput);
  record.keptInput = file == INVALID_HANDLE_VALUE ? nullptr : file;
}

HANDLE TakeKeptInput(PartRecord& record) {
  const HANDLE file = record.keptInput ? record.keptInput : INVALID_HANDLE_VALUE;
  record.keptInput = nullptr;
  return file;
}

void CloseKeptInputs() {
  for (PartRecord& record : g_partTable) KeepInputOpen(record, INVALID_HANDLE_VALUE);
}

void ReleasePartFile(PartRecord& record) {
  if (record.fileName[0] == '\0') return;
  bool shared = false;
  for (const PartRecord& other : g_partTable)
    shared = shared || (&other != &record && std::strcmp(other.fileName, record.fileName) == 0);
  if (!shared) {
    ClosePartFiles();
    DeleteFileA(record.fileName);
  }
  record.fileName[0] = '\0';
  record.ranged = false;
}

bool CanBeFollowed(const PartRecord& record) {
  return record.ranged && record.fileName[0] != '\0' && record.fileLength >= 0 &&
         record.fileOffset + record.fileLength < kLastFollowedOffset;
}

int OpenPartFile(PartRecord& record, const PartRecord* previous, const char* beside) {
  const bool follows = previous && CanBeFollowed(*previous);
  if (!follows) ClosePartFiles();
  ReleasePartFile(record);  // a part seen again gets a fresh file; its old bytes are left where they are
  record.ranged = true;
  record.fileLength = -1;  // until the part ends
  return follows ? OpenFollowing(record, *previous) : OpenNew(record, beside);
}

bool EndPartFile(PartRecord& record, int stream) {
  if (StreamFlush(stream) < 0) return false;
  const long long size = StreamFileSize(stream);
  if (size >= record.fileOffset) record.fileLength = size - record.fileOffset;
  return true;
}

bool HoldPartFile(const PartRecord& record, int stream) {
  ClosePartFiles();
  if (!CanBeFollowed(record)) return false;
  g_held.record = &record;
  g_held.stream = stream;
  return true;
}

void ClosePartFiles() {
  if (g_held.stream >= 0) StreamClose(g_held.stream);  // flushed when the part ended
  g_held = HeldPartFile();
}

void DeletePartFiles() {
  ClosePartFiles();
  for (PartRecord& record : g_partTable) {
    if (record.fileName[0] != '\0') DeleteFileA(record.fileName);
    record.fileName[0] = '\0';
  }
}
