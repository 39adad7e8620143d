// Buffered file streams named by small integers (slots of one table), with the
// line-reading rule the decoder's view of its input rests on, and temporary files.
#pragma once
#include "core/platform.h"

enum StreamTextFlags {
  STREAM_BINARY = 0,
  STREAM_NUL_AFTER_BLOCK = 4,  // StreamReadBlock stores a NUL after what it delivers
  STREAM_CR_ENDS_LINE = 8,     // with 4: CR ends a line; an LF right after a CR is dropped
  STREAM_TEXT = STREAM_NUL_AFTER_BLOCK | STREAM_CR_ENDS_LINE,
};

enum { STREAM_SLOTS = 10, STREAM_BUFFER_SIZE = 16384 };
// The buffer of the program's own streams. Under Wine a read or write of 16 KiB costs about
// twice as much per byte as one of 64 KiB to 1 MiB; nothing but the number of system calls
// depends on the size, and ten open streams still hold only a few MiB.
enum { STREAM_PROGRAM_BUFFER_SIZE = 256 * 1024 };

// The system copies a read into a place aligned to this several times faster than into one
// that is not (four times on an AMD EPYC, even at 16 bytes off). Stream buffers are so
// aligned; a block that a read fills straight, without the stream's buffer, should be
// too: allocate STREAM_READ_ALIGNMENT - 1 more bytes and read at AlignForReads.
enum { STREAM_READ_ALIGNMENT = 64 };
inline unsigned char* AlignForReads(unsigned char* p) {
  const size_t off = reinterpret_cast<size_t>(p) % STREAM_READ_ALIGNMENT;
  return off == 0 ? p : p + (STREAM_READ_ALIGNMENT - off);
}

// bufferSize 0, below 512 or above 32768 gives the default of 8192.
int StreamInit(int slots, unsigned short bufferSize);
// The same with a buffer of up to 1 MiB (out of range: the default).
int StreamInitLarge(int slots, DWORD bufferSize);
int StreamShutdown();
int StreamOpen(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD attributes,
               int textFlags);
BOOL StreamClose(int s);
// A read stream over a file the caller opened, from the file's start; the stream owns the
// handle from here on, and closes it when no stream can be had. Under Wine an open costs
// about 0.15 ms: a file read twice in a row (its head, then all of it) is opened once, its
// handle kept between the two.
int StreamReadFromStart(HANDLE file, int textFlags);
// Closes a read stream but not its file: the handle, the caller's from here on, or
// INVALID_HANDLE_VALUE for a write stream, whose buffered bytes only a close writes.
HANDLE StreamDetach(int s);
int StreamReadLine(int s, char* buf, int size);
int StreamReadBlock(int s, void* buf, int max);
int StreamWriteString(int s, const char* text);
int StreamWriteBlock(int s, const void* data, unsigned len);
int StreamFlush(int s);
// For a writer that makes its bytes in place rather than copying them in (a decoded line):
// the end of the stream's write buffer when at least `most` bytes fit there before the
// buffer must be written out, else null (StreamWriteBlock then serves). StreamWriteCommit
// takes the n bytes made there, before any other operation on the stream.
unsigned char* StreamWriteRoom(int s, unsigned most);
void StreamWriteCommit(int s, unsigned n);
// For a reader that takes its bytes where the stream's buffer holds them (the encoder's
// blocks): the next `want` bytes of a read stream when its buffer holds them all, else null
// (StreamReadBlock then serves). StreamReadSkip moves past the n bytes taken there, before
// any other operation on the stream.
const unsigned char* StreamReadRoom(int s, unsigned want);
// The same for a reader that takes what the buffer holds, however much: the bytes from the
// reading place on and in `count` how many (null and 0 when none or not reading).
const unsigned char* StreamReadHeld(int s, unsigned* count);
void StreamReadSkip(int s, unsigned n);
void StreamSeek(int s, LONG offset, int origin);
// The offset in the file of the next byte a read of this stream gives.
long long StreamPosition(int s);
HANDLE StreamOsHandle(int s);
// The size of the stream's file, beyond 4 GiB too; -1 when the system cannot tell it.
long long StreamFileSize(int s);

// The usual ways the program opens files.
int StreamOpenForReading(LPCSTR name, int textFlags);
int StreamOpenForWriting(LPCSTR name);

// Creates a new empty file with a unique name in the temporary directory; dest holds 260.
UINT MakeTempFileName(char* dest);
// The same in the folder of the path `beside`, or, when that folder takes no new file, in the
// temporary directory, which `elsewhere` (when given) then tells.
UINT MakeTempFileNameBeside(const char* beside, char* dest, bool* elsewhere = nullptr);
