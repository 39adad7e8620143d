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

int StreamInit(int slots, unsigned short bufferSize);
int StreamShutdown();
int StreamOpen(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD attributes,
               int textFlags);
BOOL StreamClose(int s);
int StreamReadLine(int s, char* buf, int size);
int StreamReadBlock(int s, void* buf, int max);
int StreamWriteString(int s, const char* text);
int StreamWriteBlock(int s, const void* data, unsigned len);
int StreamFlush(int s);
void StreamSeek(int s, LONG offset, int origin);
HANDLE StreamOsHandle(int s);

// The usual ways the program opens files.
int StreamOpenForReading(LPCSTR name, int textFlags);
int StreamOpenForWriting(LPCSTR name);

// Creates a new empty file with a unique name in the temporary directory; dest holds 260.
UINT MakeTempFileName(char* dest);
