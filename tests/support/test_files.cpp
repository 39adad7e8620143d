#include "tests/support/test_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::random_device seed;
  std::mt19937 random(seed());
  fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path candidate = base / ("qvtest" + std::to_string(random() % 1000000000u));
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
      break;
    }
  }
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

// Joined as text: std::filesystem takes narrow names on Windows for UTF-8, the program's
// ...A calls for the active code page, and the two differ beyond ASCII without the manifest.
std::string ScratchDir::File(const std::string& name) const {
#ifdef _WIN32
  return path_ + "\\" + name;
#else
  return path_ + "/" + name;
#endif
}

namespace {

#ifdef _WIN32
// The variable GetTempPathA reads first.
const char kTempVariable[] = "TMP";
bool ReadVariable(std::string* value) {
  char text[MAX_PATH + 1];
  const DWORD n = GetEnvironmentVariableA(kTempVariable, text, sizeof text);
  if (n == 0 || n >= sizeof text) return false;
  *value = text;
  return true;
}
void WriteVariable(const char* value) { SetEnvironmentVariableA(kTempVariable, value); }
#else
const char kTempVariable[] = "TMPDIR";
bool ReadVariable(std::string* value) {
  const char* text = std::getenv(kTempVariable);
  if (!text) return false;
  *value = text;
  return true;
}
void WriteVariable(const char* value) {
  if (value) setenv(kTempVariable, value, 1);
  else unsetenv(kTempVariable);
}
#endif

}  // namespace

TemporaryFolderAt::TemporaryFolderAt(const std::string& folder) : had_(ReadVariable(&saved_)) {
#ifdef _WIN32
  WriteVariable((folder + "\\").c_str());
#else
  WriteVariable(folder.c_str());
#endif
}

TemporaryFolderAt::~TemporaryFolderAt() { WriteVariable(had_ ? saved_.c_str() : nullptr); }

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool PathExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}

std::string ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::ostringstream out;
  for (const std::string& name : names) out << name << "\n";
  return out.str();
}
