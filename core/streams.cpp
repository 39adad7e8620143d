#include "core/streams.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/byte_words.h"
#include "core/names.h"

namespace {

enum { MODE_READ = 1, MODE_WRITE = 2 };
const char kTempPrefix[] = "znt";
enum { SHORT_COPY = 256 };
enum { STATUS_GOOD = 0, STATUS_EOF = 1, STATUS_ERROR = 2 };
enum { LASTOP_NONE = 0, LASTOP_WRITE = 4, LASTOP_READ = 8 };
enum { DEFAULT_SLOTS = 40, MAX_SLOTS = 64 };
enum { DEFAULT_BUFFER = 8192, MIN_BUFFER = 512, MAX_BUFFER = 32768, MAX_LARGE_BUFFER = 1 << 20 };
// The first read of a stream takes at most this much: many streams are opened to look at a
// file's head (its part number, its kind), and a read of a large buffer would fetch far more.
enum { FIRST_READ = 16384 };
const int NO_CHARACTER = -1;

struct StreamRecord {
  unsigned char* cursor;
  unsigned char* buffer;
  HANDLE file;
  HGLOBAL bufferMemory;
  DWORD count;
  int mode;
  int status;
  int textFlags;
  int lastOperation;
  bool readBefore;  // a read since the stream was opened
  LONG lastRead;
  LONG lastWritten;
  long long position;  // of the file pointer: the end of what the buffer holds when reading
  DWORD filled;         // reading: the buffer holds this many bytes of the file before `position`
};

struct StreamTable {
  HGLOBAL memory = nullptr;
  StreamRecord* records = nullptr;
  int slots = 0;
  DWORD bufferSize = 0;
  // The buffer of the last stream closed, kept for the next one to open: a large block
  // costs the system a mapping and its pages every time it is allocated afresh.
  HGLOBAL spareMemory = nullptr;
  unsigned char* spareBuffer = nullptr;
  bool initialised = false;
} table;

void ResetRecord(StreamRecord& r) {
  std::memset(&r, 0, sizeof r);
  r.file = INVALID_HANDLE_VALUE;
  r.lastRead = -1;
  r.lastWritten = -1;
}

StreamRecord* Record(int s) {
  if (!table.initialised || s < 0 || s >= table.slots) return nullptr;
  StreamRecord* r = &table.records[s];
  return r->file == INVALID_HANDLE_VALUE ? nullptr : r;
}

void FreeBuffer(HGLOBAL memory) {
  GlobalUnlock(memory);
  GlobalFree(memory);
}

// A closed stream's buffer goes to the spare place, or is freed when that is taken.
void ReleaseBuffer(StreamRecord& r) {
  if (!r.bufferMemory) return;
  if (table.spareMemory) {
    FreeBuffer(r.bufferMemory);
    return;
  }
  table.spareMemory = r.bufferMemory;
  table.spareBuffer = r.buffer;
}

bool AllocateBuffer(StreamRecord& r) {
  if (table.spareMemory) {
    r.bufferMemory = table.spareMemory;
    r.buffer = r.cursor = table.spareBuffer;
    table.spareMemory = nullptr;
    table.spareBuffer = nullptr;
    return true;
  }
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, table.bufferSize + STREAM_READ_ALIGNMENT - 1);
  if (!memory) return false;
  void* p = GlobalLock(memory);
  if (!p) {
    GlobalFree(memory);
    return false;
  }
  r.bufferMemory = memory;
  r.buffer = AlignForReads(static_cast<unsigned char*>(p));
  r.cursor = r.buffer;
  return true;
}

// Reads up to `want` bytes of the file into `to`, moving the position past them: how many,
// or -1. The buffer no longer holds the bytes before the position (the caller that filled it
// says so); a failure or the end sets the status.
long ReadFromFile(StreamRecord& r, void* to, DWORD want) {
  DWORD got = 0;
  r.readBefore = true;
  r.filled = 0;
  if (!ReadFile(r.file, to, want, &got, nullptr)) {
    r.status = STATUS_ERROR;
    return -1;
  }
  r.position += got;
  if (got == 0) r.status = STATUS_EOF;
  return static_cast<long>(got);
}

// Refills the read buffer and delivers its first byte, or NO_CHARACTER.
int FillBuffer(StreamRecord& r) {
  r.lastOperation = LASTOP_READ;
  r.count = 0;
  if (!r.buffer && !AllocateBuffer(r)) {
    r.status = STATUS_ERROR;
    return NO_CHARACTER;
  }
  r.status = STATUS_GOOD;
  r.cursor = r.buffer;
  const DWORD want = r.readBefore || table.bufferSize < FIRST_READ ? table.bufferSize : static_cast<DWORD>(FIRST_READ);
  const long got = ReadFromFile(r, r.buffer, want);
  if (got <= 0) return NO_CHARACTER;
  r.count = r.filled = static_cast<DWORD>(got);
  --r.count;
  return *r.cursor++;
}

int NextByte(StreamRecord& r) {
  if (r.count > 0) {
    --r.count;
    return *r.cursor++;
  }
  return FillBuffer(r);
}

int FlushRecord(StreamRecord& r) {
  int result = 0;
  if (!r.buffer) {
    if (!AllocateBuffer(r)) {
      r.status = STATUS_ERROR;
      result = -1;
    }
  } else {
    r.status = STATUS_GOOD;
    r.cursor = r.buffer;
    if (r.count != 0) {
      DWORD written = 0;
      if (!WriteFile(r.file, r.buffer, r.count, &written, nullptr)) {
        r.status = STATUS_ERROR;
        result = -1;
      } else if (written < r.count) {
        SetLastError(ERROR_DISK_FULL);  // a short write without a failure: the disk is full
        result = -1;
      } else {
        result = static_cast<int>(written);
      }
    }
  }
  r.count = 0;
  r.lastOperation = LASTOP_WRITE;
  return result;
}

bool HasTextFlags(const StreamRecord& r) {
  return (r.textFlags & STREAM_TEXT) == STREAM_TEXT;
}

// Copies bytes from `from` to `to` up to and with the first LF (or, in text mode, CR) among
// `length` bytes, or all of them; returns how many it copied and whether a line end was
// among them. Eight bytes at a time, each word tested as it is copied: the C library's
// memchr is a byte loop under Wine, its memcpy slow for short copies, and text mode needed
// two searches. It writes no byte past `length` of `to`.
DWORD CopyToLineEnd(unsigned char* to, const unsigned char* from, DWORD length, bool text, bool* lineEnd) {
  // Words go whole up to the first that holds a line end; from there the bytes are looked
  // at one by one. The test is for the line ends themselves: yEnc data holds the other
  // control bytes unescaped, and a test for any byte below CR sent most of its lines to the
  // byte loop.
  DWORD i = 0;
  for (; i + sizeof(uint64_t) <= length; i += sizeof(uint64_t)) {
    const uint64_t word = LoadWord(from + i);
    if (HasZeroByte(word ^ EachByte('\n')) || (text && HasZeroByte(word ^ EachByte('\r')))) break;
    std::memcpy(to + i, &word, sizeof word);
  }
  for (; i < length; ++i) {
    to[i] = from[i];
    if (from[i] == '\n' || (text && from[i] == '\r')) {
      *lineEnd = true;
      return i + 1;
    }
  }
  *lineEnd = false;
  return length;
}

// Copies a short run, such as a decoded line, without the C library's memcpy, which under
// Wine is a call at twice glibc's cost for copies of this length; longer runs go to it.
void CopyBytes(unsigned char* to, const unsigned char* from, DWORD n) {
  if (n > SHORT_COPY) {
    std::memcpy(to, from, n);
    return;
  }
  DWORD i = 0;
  for (; i + sizeof(uint64_t) <= n; i += sizeof(uint64_t)) {
    const uint64_t word = LoadWord(from + i);
    std::memcpy(to + i, &word, sizeof word);
  }
  if (i + 4 <= n) {
    uint32_t word;
    std::memcpy(&word, from + i, sizeof word);
    std::memcpy(to + i, &word, sizeof word);
    i += 4;
  }
  if (i + 2 <= n) {
    to[i] = from[i];
    to[i + 1] = from[i + 1];
    i += 2;
  }
  if (i < n) to[i] = from[i];
}

int InitTable(int slots, DWORD size, DWORD largest) {
  if (table.initialised) return 0;
  if (slots < 0 || slots >= MAX_SLOTS) slots = DEFAULT_SLOTS;
  if (size < MIN_BUFFER || size > largest) size = DEFAULT_BUFFER;
  // One record at least, so that the table always has a block even for zero slots.
  size_t bytes = sizeof(StreamRecord) * static_cast<size_t>(slots > 0 ? slots : 1);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!memory) return 1;
  void* p = GlobalLock(memory);
  if (!p) {
    GlobalFree(memory);
    return 1;
  }
  table.memory = memory;
  table.records = static_cast<StreamRecord*>(p);
  table.slots = slots;
  table.bufferSize = size;
  table.initialised = true;
  for (int i = 0; i < slots; ++i) ResetRecord(table.records[i]);
  return 0;
}

int FreeSlot() {
  int s = 0;
  while (s < table.slots && table.records[s].file != INVALID_HANDLE_VALUE) ++s;
  return s < table.slots ? s : -1;
}

void AttachRecord(StreamRecord& r, HANDLE file, int mode, int textFlags) {
  r.file = file;
  r.cursor = r.buffer;
  r.count = 0;
  r.status = STATUS_GOOD;
  r.lastOperation = LASTOP_NONE;
  r.textFlags = textFlags & 0xF;
  r.mode = mode;
}

}  // namespace

int StreamInit(int slots, unsigned short bufferSize) { return InitTable(slots, bufferSize, MAX_BUFFER); }

int StreamInitLarge(int slots, DWORD bufferSize) { return InitTable(slots, bufferSize, MAX_LARGE_BUFFER); }

int StreamShutdown() {
  // Streams still open (such as an encoder output kept for the next input of a selection)
  // are flushed and closed, so that no written text is lost.
  if (table.initialised)
    for (int s = 0; s < table.slots; ++s)
      if (table.records[s].file != INVALID_HANDLE_VALUE) StreamClose(s);
  if (table.spareMemory) FreeBuffer(table.spareMemory);
  if (table.memory) FreeBuffer(table.memory);
  table = StreamTable();
  return 0;
}

int StreamOpen(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD attributes,
               int textFlags) {
  if (!table.initialised) return -1;
  const int s = FreeSlot();
  if (s < 0) return -1;
  HANDLE file = CreateFileA(name, access, share, nullptr, disposition, attributes, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  const bool writes = (access & GENERIC_WRITE) || disposition == CREATE_NEW;
  AttachRecord(table.records[s], file, writes ? MODE_WRITE : MODE_READ, textFlags);
  return s;
}

int StreamReadFromStart(HANDLE file, int textFlags) {
  if (file == INVALID_HANDLE_VALUE) return -1;
  const int s = table.initialised ? FreeSlot() : -1;
  if (s < 0) {
    CloseHandle(file);
    return -1;
  }
  AttachRecord(table.records[s], file, MODE_READ, textFlags);
  StreamSeek(s, 0, FILE_BEGIN);
  return s;
}

HANDLE StreamDetach(int s) {
  StreamRecord* r = Record(s);
  if (!r || r->mode != MODE_READ) return INVALID_HANDLE_VALUE;
  const HANDLE file = r->file;
  ReleaseBuffer(*r);
  ResetRecord(*r);
  return file;
}

int StreamOpenForReading(LPCSTR name, int textFlags) {
  return StreamOpen(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                    textFlags);
}

// A new or empty file is written as it stands; only a file that holds bytes is opened to be
// truncated. Under Wine every CREATE_ALWAYS open truncates the file, new or not, and ext4
// starts writing a file truncated to nothing back to disk the moment it is closed (its
// safeguard for files replaced by truncation): closing 88 MB so written took about 15 ms,
// and deleting it 15 to 25 ms rather than 4.
int StreamOpenForWriting(LPCSTR name) {
  const int s = StreamOpen(name, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           STREAM_NUL_AFTER_BLOCK);
  if (s < 0 || StreamFileSize(s) == 0) return s;
  StreamClose(s);
  return StreamOpen(name, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                    STREAM_NUL_AFTER_BLOCK);
}

// A write stream whose last bytes cannot be written is not closed cleanly: the result is
// FALSE and the system's last error tells why, so that no caller takes a cut file for a
// whole one.
BOOL StreamClose(int s) {
  StreamRecord* r = Record(s);
  if (!r) return FALSE;
  const bool flushed = r->mode != MODE_WRITE || FlushRecord(*r) >= 0;
  const DWORD flushError = flushed ? ERROR_SUCCESS : GetLastError();
  BOOL closed = CloseHandle(r->file);
  ReleaseBuffer(*r);
  ResetRecord(*r);
  if (flushed) return closed;
  SetLastError(flushError);
  return FALSE;
}

// Copies whole runs from the buffer up to the line end, so that a line costs a copy or two
// rather than a call per byte; the rule is the byte-wise one: each stored or dropped byte
// uses one of the size - 1 places.
int StreamReadLine(int s, char* buf, int size) {
  StreamRecord* r = Record(s);
  if (!r || !buf || size <= 0) return -1;
  r->lastOperation = LASTOP_READ;
  const bool text = HasTextFlags(*r);
  int n = 0;
  int result = -2;
  DWORD places = static_cast<DWORD>(size - 1);
  while (places > 0) {
    if (r->count == 0) {
      if (FillBuffer(*r) == NO_CHARACTER) {
        result = r->status == STATUS_ERROR ? -1 : n;
        break;
      }
      --r->cursor;  // FillBuffer delivered the first byte: take it back into the run
      ++r->count;
    }
    if (text && *r->cursor == '\n' && r->lastRead == '\r') {  // the LF of a CR LF
      ++r->cursor;
      --r->count;
      --places;
      continue;
    }
    const DWORD limit = r->count < places ? r->count : places;
    bool lineEnd = false;
    const DWORD take = CopyToLineEnd(reinterpret_cast<unsigned char*>(buf) + n, r->cursor, limit, text, &lineEnd);
    r->cursor += take;
    r->count -= take;
    places -= take;
    n += static_cast<int>(take);
    r->lastRead = static_cast<signed char>(buf[n - 1]);
    if (lineEnd) break;
  }
  if (result == -2) result = n;
  buf[n] = '\0';
  return result;
}

int StreamReadBlock(int s, void* buf, int max) {
  StreamRecord* r = Record(s);
  if (!r || !buf || max < 0) return -1;
  r->lastOperation = LASTOP_READ;
  unsigned char* out = static_cast<unsigned char*>(buf);
  int n = 0;
  int result = -2;
  while (n < max) {
    if (r->count > 0) {  // what the buffer holds, in one copy
      DWORD take = r->count;
      if (take > static_cast<DWORD>(max - n)) take = static_cast<DWORD>(max - n);
      CopyBytes(out + n, r->cursor, take);
      r->cursor += take;
      r->count -= take;
      n += static_cast<int>(take);
      r->lastRead = static_cast<signed char>(out[n - 1]);
      continue;
    }
    if (static_cast<DWORD>(max - n) >= table.bufferSize) {  // a buffer's worth or more: read straight in
      const long got = ReadFromFile(*r, out + n, static_cast<DWORD>(max - n));
      if (got < 0) result = -1;
      if (got <= 0) break;
      n += static_cast<int>(got);
      r->lastRead = static_cast<signed char>(out[n - 1]);
      continue;
    }
    int c = NextByte(*r);
    if (c == NO_CHARACTER) {
      result = r->status == STATUS_ERROR ? -1 : n;
      break;
    }
    out[n++] = static_cast<unsigned char>(c);
    r->lastRead = static_cast<signed char>(c);
  }
  if (result == -2) result = n;
  if (r->textFlags & STREAM_NUL_AFTER_BLOCK) out[n] = 0;
  return result;
}

// Writes a block straight to the file, after what the buffer holds: a block as large as the
// buffer gains nothing from being copied through it piece by piece. False (the system's last
// error telling why) when not all of it was written.
bool WriteThrough(StreamRecord& r, const unsigned char* data, unsigned len) {
  if (FlushRecord(r) < 0) return false;
  DWORD written = 0;
  if (!WriteFile(r.file, data, len, &written, nullptr)) {
    r.status = STATUS_ERROR;
    return false;
  }
  if (written < len) {
    SetLastError(ERROR_DISK_FULL);  // a short write without a failure: the disk is full
    return false;
  }
  r.lastWritten = static_cast<signed char>(data[len - 1]);
  return true;
}

int StreamWriteBlock(int s, const void* data, unsigned len) {
  StreamRecord* r = Record(s);
  if (!r) return -1;
  if (!r->buffer && FlushRecord(*r) < 0) return -1;
  const unsigned char* in = static_cast<const unsigned char*>(data);
  if (len >= table.bufferSize) {
    r->lastOperation = LASTOP_WRITE;
    return WriteThrough(*r, in, len) ? static_cast<int>(len) : 0;
  }
  int stored = 0;
  for (unsigned i = 0; i < len;) {
    if (r->count >= table.bufferSize - 1 && FlushRecord(*r) < 0) break;
    // As many bytes as the buffer takes before its next flush, in one copy.
    DWORD take = table.bufferSize - 1 - r->count;
    if (take > len - i) take = len - i;
    CopyBytes(r->cursor, in + i, take);
    r->cursor += take;
    r->count += take;
    i += take;
    stored += static_cast<int>(take);
    r->lastWritten = static_cast<signed char>(in[i - 1]);
  }
  r->lastOperation = LASTOP_WRITE;
  return stored;
}

unsigned char* StreamWriteRoom(int s, unsigned most) {
  StreamRecord* r = Record(s);
  if (!r || !r->buffer || r->lastOperation != LASTOP_WRITE || table.bufferSize - 1 - r->count < most) return nullptr;
  return r->cursor;
}

void StreamWriteCommit(int s, unsigned n) {
  StreamRecord* r = Record(s);
  if (!r || n == 0) return;
  r->cursor += n;
  r->count += n;
  r->lastWritten = static_cast<signed char>(r->cursor[-1]);
}

const unsigned char* StreamReadHeld(int s, unsigned* count) {
  StreamRecord* r = Record(s);
  *count = r && r->lastOperation == LASTOP_READ ? static_cast<unsigned>(r->count) : 0;
  return *count > 0 ? r->cursor : nullptr;
}

const unsigned char* StreamReadRoom(int s, unsigned want) {
  unsigned held = 0;
  const unsigned char* bytes = StreamReadHeld(s, &held);
  return held >= want ? bytes : nullptr;
}

void StreamReadSkip(int s, unsigned n) {
  StreamRecord* r = Record(s);
  if (!r || n == 0) return;
  r->cursor += n;
  r->count -= n;
  r->lastRead = static_cast<signed char>(r->cursor[-1]);
}

int StreamWriteString(int s, const char* text) {
  return StreamWriteBlock(s, text, static_cast<unsigned>(std::strlen(text)));
}

int StreamFlush(int s) {
  StreamRecord* r = Record(s);
  return r ? FlushRecord(*r) : -1;
}

namespace {

// A read stream's seek to a place its buffer still holds (a line read again, as the decoder
// does at every part's end) only moves the cursor: a seek of the file would read the whole
// buffer again.
bool SeekInBuffer(StreamRecord& r, LONG offset, int origin) {
  if (r.mode != MODE_READ || r.lastOperation != LASTOP_READ || origin == FILE_END) return false;
  const long long target = origin == FILE_BEGIN ? offset : r.position - r.count + offset;
  const long long start = r.position - r.filled;
  if (target < start || target > r.position) return false;
  r.cursor = r.buffer + (target - start);
  r.count = static_cast<DWORD>(r.position - target);
  r.lastRead = -1;
  return true;
}

}  // namespace

void StreamSeek(int s, LONG offset, int origin) {
  StreamRecord* r = Record(s);
  if (!r || SeekInBuffer(*r, offset, origin)) return;
  if (r->mode == MODE_WRITE && r->lastOperation == LASTOP_WRITE) FlushRecord(*r);
  if (origin == FILE_CURRENT) offset -= static_cast<LONG>(r->count);
  SetFilePointer(r->file, offset, nullptr, static_cast<DWORD>(origin));
  LONG high = 0;
  const DWORD low = SetFilePointer(r->file, 0, &high, FILE_CURRENT);
  r->position = (static_cast<long long>(high) << 32) | low;
  r->count = 0;
  r->filled = 0;
  r->lastRead = -1;
  r->lastWritten = -1;
}

long long StreamPosition(int s) {
  StreamRecord* r = Record(s);
  return r ? r->position - r->count : -1;
}

HANDLE StreamOsHandle(int s) {
  StreamRecord* r = Record(s);
  return r ? r->file : INVALID_HANDLE_VALUE;
}

long long StreamFileSize(int s) {
  StreamRecord* r = Record(s);
  if (!r) return -1;
  DWORD high = 0;
  SetLastError(ERROR_SUCCESS);  // a size whose low part is all ones is told from a failure by the error
  const DWORD low = GetFileSize(r->file, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) return -1;
  return static_cast<long long>((static_cast<unsigned long long>(high) << 32) | low);
}

UINT MakeTempFileNameBeside(const char* beside, char* dest, bool* elsewhere) {
  char folder[MAX_PATH];
  const int length = static_cast<int>(FileNamePart(beside) - beside);
  const bool fits = length > 0 && length < static_cast<int>(sizeof folder);
  if (fits) std::snprintf(folder, sizeof folder, "%.*s", length, beside);
  const UINT made = fits ? GetTempFileNameA(folder, kTempPrefix, 0, dest) : 0;
  if (elsewhere) *elsewhere = made == 0;
  return made ? made : MakeTempFileName(dest);
}

UINT MakeTempFileName(char* dest) {
  char dir[MAX_PATH];
  DWORD len = GetTempPathA(256, dir);
  if (len == 0 || len >= 256) return 0;
  return GetTempFileNameA(dir, kTempPrefix, 0, dest);
}
