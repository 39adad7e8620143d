// The native stand-in must behave as the Win32 calls do in the cases the engines rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/platform.h"
#include "tests/support/test_files.h"

namespace {

TEST(WinStandIn, DispositionsCreateTruncateAndRefuseAsWindowsDoes) {
  ScratchDir dir;
  std::string path = dir.File("f.txt");
  EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr),
            INVALID_HANDLE_VALUE);

  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(h, "hello", 5, &written, nullptr));
  EXPECT_EQ(written, 5u);
  EXPECT_EQ(GetFileSize(h, nullptr), 5u);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                        nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

  h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_EQ(ReadWholeFile(path), "");
  // A directory is not a file.
  EXPECT_EQ(CreateFileA(dir.path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileAttributesA(dir.path().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(DeleteFileA(path.c_str()));
}

TEST(WinStandIn, FilePointerMovesFromEachOriginAndReadsReportEndOfFileAsZeroBytes) {
  ScratchDir dir;
  std::string path = dir.File("f.bin");
  WriteWholeFile(path, "0123456789");
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  char buf[16] = {0};
  DWORD got = 0;
  EXPECT_EQ(SetFilePointer(h, 3, nullptr, FILE_BEGIN), 3u);
  EXPECT_TRUE(ReadFile(h, buf, 2, &got, nullptr));
  EXPECT_EQ(std::string(buf, got), "34");
  EXPECT_EQ(SetFilePointer(h, -4, nullptr, FILE_CURRENT), 1u);
  EXPECT_EQ(SetFilePointer(h, -2, nullptr, FILE_END), 8u);
  EXPECT_TRUE(ReadFile(h, buf, sizeof buf, &got, nullptr));
  EXPECT_EQ(std::string(buf, got), "89");
  EXPECT_TRUE(ReadFile(h, buf, sizeof buf, &got, nullptr));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(SetFilePointer(h, -20, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  CloseHandle(h);
  EXPECT_FALSE(ReadFile(h, buf, 1, &got, nullptr));  // closed
}

TEST(WinStandIn, GlobalMemoryIsZeroFilledAndStaysPut) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4096);
  ASSERT_NE(block, nullptr);
  unsigned char* p = static_cast<unsigned char*>(GlobalLock(block));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 4096; ++i) ASSERT_EQ(p[i], 0);
  std::memset(p, 0xAB, 4096);
  EXPECT_EQ(GlobalLock(block), p);
  GlobalUnlock(block);
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(WinStandIn, TempFileNamesAreNewFilesWithThePrefixInTheTempFolder) {
  char dir[MAX_PATH];
  DWORD len = GetTempPathA(sizeof dir, dir);
  ASSERT_GT(len, 0u);
  EXPECT_EQ(dir[len - 1], '/');
  char tiny[2];
  EXPECT_GT(GetTempPathA(sizeof tiny, tiny), sizeof tiny);  // asks for more room

  char a[MAX_PATH], b[MAX_PATH];
  ASSERT_NE(GetTempFileNameA(dir, "zntlong", 0, a), 0u);
  ASSERT_NE(GetTempFileNameA(dir, "znt", 0, b), 0u);
  EXPECT_STRNE(a, b);
  EXPECT_EQ(std::string(a).find(std::string(dir) + "znt"), 0u);  // prefix cut to 3 characters
  EXPECT_TRUE(PathExists(a));
  EXPECT_TRUE(PathExists(b));
  DeleteFileA(a);
  DeleteFileA(b);
}

}  // namespace
