// Native stand-in for the Win32 calls declared in winstandin.h, over POSIX.
#ifndef _WIN32
#include "core/winstandin.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

thread_local DWORD lastError = 0;

DWORD ErrorFromErrno(int e) {
  switch (e) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOSPC: return ERROR_DISK_FULL;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF: return ERROR_INVALID_HANDLE;
    default: return ERROR_INVALID_PARAMETER;
  }
}

void FailWithErrno() { lastError = ErrorFromErrno(errno); }

// A file handle is the descriptor plus one, so that descriptor 0 is not the null handle.
HANDLE HandleFromFd(int fd) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd) + 1); }
int FdFromHandle(HANDLE h) {
  if (h == INVALID_HANDLE_VALUE || h == nullptr) return -1;
  return static_cast<int>(reinterpret_cast<intptr_t>(h) - 1);
}

// Global memory: a header that remembers the size, then the bytes.
struct GlobalBlock {
  size_t size;
  unsigned locks;
};

int OpenFlags(DWORD access, DWORD disposition) {
  int flags = (access & GENERIC_WRITE) ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
  switch (disposition) {
    case CREATE_NEW: return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
    case OPEN_ALWAYS: return flags | O_CREAT;
    case TRUNCATE_EXISTING: return flags | O_TRUNC;
    case OPEN_EXISTING: return flags;
    default: return -1;
  }
}

// Files that the test hook StandInFailFiles made to fail: by descriptor, the bytes still
// allowed through.
struct FileFaults {
  std::string fragment;
  DWORD allowed = 0;
  DWORD error = 0;
  std::map<int, DWORD> remaining;
} faults;

// Cuts `*wanted` to what a faulty file still lets through; files without a fault let
// everything through. False (the fault's error set) when fewer bytes pass than wanted.
bool Throttle(int fd, DWORD* wanted) {
  auto it = faults.remaining.find(fd);
  if (it == faults.remaining.end() || *wanted <= it->second) {
    if (it != faults.remaining.end()) it->second -= *wanted;
    return true;
  }
  *wanted = it->second;
  it->second = 0;
  lastError = faults.error;
  return false;
}

}  // namespace

void StandInFailFiles(const char* fragment, DWORD allowed, DWORD error) {
  faults.fragment = fragment ? fragment : "";
  faults.allowed = allowed;
  faults.error = error;
}

DWORD GetLastError(void) { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD, void*, DWORD disposition, DWORD attributes,
                   HANDLE) {
  int flags = OpenFlags(access, disposition);
  if (flags < 0 || name == nullptr) {
    lastError = ERROR_INVALID_PARAMETER;
    return INVALID_HANDLE_VALUE;
  }
  struct stat st;
  if (::stat(name, &st) == 0 && S_ISDIR(st.st_mode)) {
    lastError = ERROR_ACCESS_DENIED;
    return INVALID_HANDLE_VALUE;
  }
  mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0644;
  int fd = ::open(name, flags | O_CLOEXEC, mode);
  if (fd < 0) {
    FailWithErrno();
    return INVALID_HANDLE_VALUE;
  }
  faults.remaining.erase(fd);
  if (!faults.fragment.empty() && std::strstr(name, faults.fragment.c_str())) faults.remaining[fd] = faults.allowed;
  lastError = 0;
  return HandleFromFd(fd);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, void*) {
  if (read) *read = 0;
  int fd = FdFromHandle(file);
  if (fd < 0) {
    lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  // A faulty file delivers what it still allows; the next read fails.
  if (!Throttle(fd, &toRead) && toRead == 0) return FALSE;
  ssize_t n;
  do n = ::read(fd, buffer, toRead);
  while (n < 0 && errno == EINTR);
  if (n < 0) {
    FailWithErrno();
    return FALSE;
  }
  if (read) *read = static_cast<DWORD>(n);
  return TRUE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, LPDWORD written, void*) {
  if (written) *written = 0;
  int fd = FdFromHandle(file);
  if (fd < 0) {
    lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  const char* p = static_cast<const char*>(buffer);
  DWORD done = 0;
  DWORD allowed = toWrite;
  if (!Throttle(fd, &allowed)) {
    const ssize_t n = allowed ? ::write(fd, p, allowed) : 0;
    if (written) *written = n > 0 ? static_cast<DWORD>(n) : 0;
    return FALSE;
  }
  while (done < toWrite) {
    ssize_t n = ::write(fd, p + done, toWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      FailWithErrno();
      if (written) *written = done;
      return FALSE;
    }
    done += static_cast<DWORD>(n);
  }
  if (written) *written = done;
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method) {
  int fd = FdFromHandle(file);
  off_t offset = distance;
  if (distanceHigh) offset = static_cast<off_t>((static_cast<int64_t>(*distanceHigh) << 32) |
                                                 static_cast<uint32_t>(distance));
  int whence = method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : SEEK_SET;
  off_t pos = fd < 0 ? -1 : ::lseek(fd, offset, whence);
  if (pos < 0) {
    lastError = fd < 0 ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER;
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<int64_t>(pos) >> 32);
  lastError = 0;
  return static_cast<DWORD>(pos);
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) {
  struct stat st;
  int fd = FdFromHandle(file);
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    lastError = ERROR_INVALID_HANDLE;
    return INVALID_FILE_SIZE;
  }
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
  return static_cast<DWORD>(st.st_size);
}

BOOL CloseHandle(HANDLE object) {
  int fd = FdFromHandle(object);
  if (fd < 0 || ::close(fd) != 0) {
    lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  return TRUE;
}

BOOL DeleteFileA(LPCSTR name) {
  if (::unlink(name) != 0) {
    FailWithErrno();
    return FALSE;
  }
  return TRUE;
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  struct stat st;
  if (!(flags & MOVEFILE_REPLACE_EXISTING) && ::stat(to, &st) == 0) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
  }
  if (::rename(from, to) != 0) {
    FailWithErrno();
    return FALSE;
  }
  return TRUE;
}

DWORD GetFileAttributesA(LPCSTR name) {
  struct stat st;
  if (::stat(name, &st) != 0) {
    FailWithErrno();
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return (st.st_mode & S_IWUSR) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

HGLOBAL GlobalAlloc(UINT flags, size_t bytes) {
  void* raw = (flags & GMEM_ZEROINIT) ? std::calloc(1, sizeof(GlobalBlock) + bytes)
                                      : std::malloc(sizeof(GlobalBlock) + bytes);
  if (!raw) {
    lastError = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  GlobalBlock* block = static_cast<GlobalBlock*>(raw);
  block->size = bytes;
  block->locks = 0;
  return block;
}

LPVOID GlobalLock(HGLOBAL memory) {
  if (!memory) return nullptr;
  GlobalBlock* block = static_cast<GlobalBlock*>(memory);
  ++block->locks;
  return block + 1;
}

BOOL GlobalUnlock(HGLOBAL memory) {
  if (!memory) return FALSE;
  GlobalBlock* block = static_cast<GlobalBlock*>(memory);
  if (block->locks) --block->locks;
  return block->locks != 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  std::free(memory);
  return nullptr;
}

DWORD GetTempPathA(DWORD room, LPSTR buffer) {
  const char* dir = std::getenv("TMPDIR");
  if (!dir || !*dir) dir = "/tmp";
  size_t len = std::strlen(dir);
  bool slash = dir[len - 1] == '/';
  size_t need = len + (slash ? 0 : 1);
  if (need + 1 > room) return static_cast<DWORD>(need + 1);
  std::memcpy(buffer, dir, len);
  if (!slash) buffer[len] = '/';
  buffer[need] = '\0';
  return static_cast<DWORD>(need);
}

// With unique 0 creates a new empty file "<dir><prefix up to 3 chars><hex>.tmp", as Windows does.
UINT GetTempFileNameA(LPCSTR directory, LPCSTR prefix, UINT unique, LPSTR tempName) {
  char pre[4] = {0};
  std::strncpy(pre, prefix ? prefix : "", 3);
  size_t dirLen = std::strlen(directory);
  const char* sep = (dirLen && directory[dirLen - 1] != '/') ? "/" : "";
  if (unique != 0) {
    std::snprintf(tempName, MAX_PATH, "%s%s%s%X.tmp", directory, sep, pre, unique & 0xFFFFu);
    return unique;
  }
  UINT start = static_cast<UINT>(::getpid() ^ reinterpret_cast<uintptr_t>(&lastError)) & 0xFFFFu;
  for (UINT i = 0; i < 0x10000u; ++i) {
    UINT number = ((start + i) & 0xFFFFu);
    if (number == 0) continue;
    int n = std::snprintf(tempName, MAX_PATH, "%s%s%s%X.tmp", directory, sep, pre, number);
    if (n < 0 || n >= MAX_PATH) {
      lastError = ERROR_INVALID_PARAMETER;
      return 0;
    }
    int fd = ::open(tempName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ::close(fd);
      return number;
    }
    if (errno != EEXIST) {
      FailWithErrno();
      return 0;
    }
  }
  lastError = ERROR_FILE_EXISTS;
  return 0;
}

DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD room) {
  struct stat st;
  if (longPath == nullptr || ::stat(longPath, &st) != 0) {
    if (longPath) FailWithErrno();
    else lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  size_t len = std::strlen(longPath);
  if (len + 1 > room || shortPath == nullptr) return static_cast<DWORD>(len + 1);
  std::memcpy(shortPath, longPath, len + 1);
  return static_cast<DWORD>(len);
}

UINT GetACP(void) { return CP_UTF8; }

BOOL IsDBCSLeadByteEx(UINT, BYTE) { return FALSE; }

namespace {

const char32_t kReplacement = 0xFFFD;

// One code point from UTF-8; ill-formed bytes give U+FFFD one byte at a time.
char32_t NextCodePoint(const unsigned char*& p, const unsigned char* end) {
  const unsigned char b = *p++;
  if (b < 0x80) return b;
  const int extra = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
  if (extra < 0 || end - p < extra) return kReplacement;
  char32_t c = b & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    if ((p[i] & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (p[i] & 0x3F);
  }
  const char32_t least[] = {0, 0x80, 0x800, 0x10000};
  if (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
  p += extra;
  return c;
}

}  // namespace

int MultiByteToWideChar(UINT, DWORD, LPCSTR text, int length, WCHAR* wide, int room) {
  const size_t n = length < 0 ? std::strlen(text) + 1 : static_cast<size_t>(length);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* end = p + n;
  std::u16string units;
  while (p < end) {
    const char32_t c = NextCodePoint(p, end);
    if (c >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(c);
    }
  }
  if (room == 0) return static_cast<int>(units.size());
  if (units.size() > static_cast<size_t>(room)) {
    lastError = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  std::copy(units.begin(), units.end(), wide);
  return static_cast<int>(units.size());
}

int WideCharToMultiByte(UINT, DWORD, const WCHAR* wide, int length, LPSTR text, int room, LPCSTR,
                        BOOL* usedDefault) {
  size_t n = static_cast<size_t>(length);
  if (length < 0) n = std::char_traits<char16_t>::length(wide) + 1;
  std::string bytes;
  for (size_t i = 0; i < n; ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
    else if (c >= 0xD800 && c <= 0xDFFF)
      c = kReplacement;
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else {
      const int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
      const unsigned lead[] = {0, 0xC0, 0xE0, 0xF0};
      bytes += static_cast<char>(lead[extra] | (c >> (6 * extra)));
      for (int k = extra - 1; k >= 0; --k) bytes += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
  }
  if (usedDefault) *usedDefault = FALSE;
  if (room == 0) return static_cast<int>(bytes.size());
  if (bytes.size() > static_cast<size_t>(room)) {
    lastError = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  std::memcpy(text, bytes.data(), bytes.size());
  return static_cast<int>(bytes.size());
}
#endif
