#include "tests/mapi_store/store.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace {

std::string Slurp(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = static_cast<bool>(in);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::pair<std::string, std::string> SplitBar(const std::string& text) {
  size_t bar = text.find('|');
  if (bar == std::string::npos) return {text, ""};
  return {text.substr(0, bar), text.substr(bar + 1)};
}

std::set<void*> g_buffers;

}  // namespace

// Read from the process environment at every call, so a test may move the store.
std::string StoreFolder() {
  char folder[MAX_PATH] = "";
  DWORD length = GetEnvironmentVariableA("QV_MAIL_STORE", folder, sizeof folder);
  return length && length < sizeof folder ? folder : "";
}

std::string StorePath(const std::string& name) { return StoreFolder() + "\\" + name; }

std::string ConfigValue(const std::string& key, const std::string& fallback) {
  bool ok;
  std::istringstream lines(Slurp(StorePath("config.txt"), ok));
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
  }
  return fallback;
}

bool ConfigHas(const std::string& key) { return ConfigValue(key, "\x01") != "\x01"; }

void LogCall(const char* format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  FILE* log = std::fopen(StorePath("calls.log").c_str(), "ab");
  if (!log) return;
  std::fprintf(log, "%s\n", line);
  std::fclose(log);
}

bool ReadStoreMessage(const std::string& path, StoreMessage& m) {
  bool ok;
  std::string text = Slurp(path, ok);
  if (!ok) return false;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    at = end + 1;
    if (line.empty()) {
      m.hasBody = true;
      m.body = at < text.size() ? text.substr(at) : "";
      break;
    }
    size_t colon = line.find(": ");
    if (colon == std::string::npos) continue;
    std::string key = line.substr(0, colon), value = line.substr(colon + 2);
    if (key == "Subject") m.hasSubject = true, m.subject = value;
    else if (key == "Date") m.hasDate = true, m.date = value;
    else if (key == "Type") m.hasType = true, m.type = value;
    else if (key == "Flags") m.flags = std::strtoul(value.c_str(), nullptr, 0);
    else if (key == "From") {
      auto p = SplitBar(value);
      m.hasFrom = true, m.from = {p.first, p.second};
    } else if (key == "To") {
      auto p = SplitBar(value);
      m.to.push_back({p.first, p.second});
    } else if (key == "Attach") {
      auto first = SplitBar(value);
      auto rest = SplitBar(first.second);
      StoreAttachment a;
      a.flags = std::strtoul(first.first.c_str(), nullptr, 0);
      a.fileName = rest.first;
      a.storeFile = rest.second;
      m.attachments.push_back(a);
    }
  }
  return true;
}

bool WriteStoreMessage(const std::string& path, const StoreMessage& m) {
  std::ofstream out(path, std::ios::binary);
  if (m.hasSubject) out << "Subject: " << m.subject << "\n";
  if (m.hasFrom) out << "From: " << m.from.name << "|" << m.from.address << "\n";
  for (const StoreRecipient& r : m.to) out << "To: " << r.name << "|" << r.address << "\n";
  if (m.hasDate) out << "Date: " << m.date << "\n";
  if (m.hasType) out << "Type: " << m.type << "\n";
  out << "Flags: " << m.flags << "\n";
  for (const StoreAttachment& a : m.attachments)
    out << "Attach: " << a.flags << "|" << a.fileName << "|" << a.storeFile << "\n";
  if (m.hasBody) out << "\n" << m.body;
  return static_cast<bool>(out);
}

std::vector<std::string> InboxIds() {
  std::vector<std::string> ids;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(StorePath("inbox\\*.msg").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return ids;
  do {
    std::string name = found.cFileName;
    ids.push_back(name.substr(0, name.size() - 4));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(ids.begin(), ids.end());
  return ids;
}

// Wine's MAPI library keeps MAPIFreeBuffer for itself instead of handing it to the mail
// client, so what the store hands out comes from the library's own MAPIAllocateBuffer; one
// block per record with its strings, so one MAPIFreeBuffer releases it all.
namespace {

using AllocateFunction = LONG(WINAPI*)(ULONG, LPVOID*);
using FreeFunction = ULONG(WINAPI*)(LPVOID);

HMODULE MapiLibrary() { return GetModuleHandleA("mapi32.dll"); }

}  // namespace

void* AllocateBuffer(size_t size) {
  auto allocate = reinterpret_cast<AllocateFunction>(
      reinterpret_cast<void*>(GetProcAddress(MapiLibrary(), "MAPIAllocateBuffer")));
  void* memory = nullptr;
  if (!allocate || allocate(static_cast<ULONG>(size ? size : 1), &memory) != 0 || !memory) return nullptr;
  std::memset(memory, 0, size);
  g_buffers.insert(memory);
  return memory;
}

// Reached only through a MAPI library that hands MAPIFreeBuffer on to the mail client.
bool FreeBuffer(void* memory) {
  auto it = g_buffers.find(memory);
  if (it == g_buffers.end()) return false;
  g_buffers.erase(it);
  auto release = reinterpret_cast<FreeFunction>(reinterpret_cast<void*>(GetProcAddress(MapiLibrary(), "MAPIFreeBuffer")));
  if (release) release(memory);
  return true;
}
