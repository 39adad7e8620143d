#include "app/clipboard_input.h"

#include "core/streams.h"
#include "core/ui.h"

namespace {

const UINT kErrorIcon = MB_OK | MB_ICONHAND;
// Two line ends after the text, so that its last line, and any trailer line, ends even when
// the text itself stops without one.
const char kClosingLineEnds[] = "\r\n\r\n";
const char kWriteFailure[] = "Can't Write Clipboard Data to Temporary File\r\n%s because\r\n";

// The text's length: up to its NUL, and never past the end of its memory block, since another
// program may have put text there without one.
size_t BoundedTextLength(HGLOBAL block, const char* text) {
  const SIZE_T room = GlobalSize(block);
  size_t length = 0;
  while (length < room && text[length] != '\0') ++length;
  return length;
}

// Reports that the temporary file at `path` could not be written, and deletes it.
int WriteFailure(HWND owner, DWORD error, const char* path) {
  ShowErrorMessage(owner, error, kErrorIcon, kWriteFailure, path);
  DeleteFileA(path);
  return 1;
}

// Writes the text and the closing line ends to a new file at `path`. Returns 0, or 1 after
// reporting a failure; the file is deleted on failure.
int WriteTextFile(HWND owner, const char* path, const char* text, size_t length) {
  const int s = StreamOpenForWriting(path);
  if (s < 0) return WriteFailure(owner, GetLastError(), path);
  ShowStatus("Writing Clipboard Data to %s ...", path);
  const int closingLength = static_cast<int>(sizeof kClosingLineEnds - 1);
  // A short write (a full disk) must not pass for the whole text: the decoder would work on
  // a cut copy and report what it found there.
  bool written = StreamWriteBlock(s, text, static_cast<unsigned>(length)) == static_cast<int>(length) &&
                 StreamWriteString(s, kClosingLineEnds) == closingLength && StreamFlush(s) >= 0;
  const DWORD error = GetLastError();
  written = StreamClose(s) && written;
  return written ? 0 : WriteFailure(owner, error, path);
}

// With the clipboard open: locks its text and copies it to a new temporary file.
int CopyText(HWND owner, HANDLE data, char* path) {
  const char* text = static_cast<const char*>(GlobalLock(data));
  if (!text) {
    ShowErrorMessage(owner, GetLastError(), kErrorIcon, "Can't Lock Text for Decoding into Memory because\r\n");
    return 1;
  }
  int result = 1;
  if (!MakeTempFileName(path))
    ShowErrorMessage(owner, GetLastError(), kErrorIcon, "Can't Create Temporary File for Clipboard Data because\r\n");
  else
    result = WriteTextFile(owner, path, text, BoundedTextLength(data, text));
  GlobalUnlock(data);
  return result;
}

}  // namespace

bool ClipboardHoldsText() { return IsClipboardFormatAvailable(CF_TEXT) != 0; }

int ClipboardToTempFile(HWND owner, char* path) {
  if (!OpenClipboard(owner)) {
    ShowErrorMessage(owner, GetLastError(), kErrorIcon, "Can't Open Clipboard because\r\n");
    return 1;
  }
  int result = 1;
  if (HANDLE data = GetClipboardData(CF_TEXT))
    result = CopyText(owner, data, path);
  else
    ShowErrorMessage(owner, GetLastError(), kErrorIcon, "Can't Get Clipboard Text because\r\n");
  CloseClipboard();
  return result;
}
