// Scratch folders and whole-file helpers for tests, on the native and the Win32 build.
#pragma once
#include <string>

// A fresh, empty folder in the temporary directory, removed with its files on destruction.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  // The path of `name` inside the folder, with the platform's separator.
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

// Makes `folder` the process's temporary folder (TMP on Windows, TMPDIR elsewhere) until
// destruction, so that a test sees every temporary file the code under test leaves.
class TemporaryFolderAt {
 public:
  explicit TemporaryFolderAt(const std::string& folder);
  ~TemporaryFolderAt();
  TemporaryFolderAt(const TemporaryFolderAt&) = delete;
  TemporaryFolderAt& operator=(const TemporaryFolderAt&) = delete;

 private:
  std::string saved_;  // before had_, which is read into it
  bool had_;
};

void WriteWholeFile(const std::string& path, const std::string& bytes);
std::string ReadWholeFile(const std::string& path);
bool PathExists(const std::string& path);
// Names of the files in a folder, sorted.
std::string ListFolder(const std::string& folder);
