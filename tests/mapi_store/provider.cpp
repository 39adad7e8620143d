// The Simple MAPI entry points of the test mail store (see store.h).
#include <windows.h>

#include <mapi.h>

#include <cstring>
#include <set>
#include <string>

#include "tests/mapi_store/store.h"

namespace {

std::set<LHANDLE> g_sessions;
LHANDLE g_lastSession = 0;

const unsigned kShortIdRoom = 64;  // without MAPI_LONG_MSGID

// A configured failure of `function`, or 0.
ULONG Injected(const char* function) {
  return static_cast<ULONG>(std::stoul(ConfigValue(std::string("fail.") + function, "0")));
}

bool SessionUsable(LHANDLE session) { return session == 0 || g_sessions.count(session) != 0; }

// Lays out records and their strings in one buffer, so one MAPIFreeBuffer releases all.
class Block {
 public:
  explicit Block(size_t records) : records_(records) {}
  void Need(const std::string& text) { strings_ += text.size() + 1; }
  void* Allocate() {
    base_ = static_cast<char*>(AllocateBuffer(records_ + strings_));
    next_ = base_ ? base_ + records_ : nullptr;
    used_ = 0;
    return base_;
  }
  char* Records(size_t size) {
    char* at = base_ + used_;
    used_ += size;
    return at;
  }
  char* Copy(const std::string& text) {
    char* at = next_;
    std::memcpy(at, text.c_str(), text.size() + 1);
    next_ += text.size() + 1;
    return at;
  }

 private:
  size_t records_, strings_ = 0, used_ = 0;
  char* base_ = nullptr;
  char* next_ = nullptr;
};

void NeedRecipient(Block& block, const StoreRecipient& r) {
  block.Need(r.name);
  block.Need(r.address);
}

void PutRecipient(Block& block, MapiRecipDesc& out, ULONG recipientClass, const StoreRecipient& r) {
  out.ulRecipClass = recipientClass;
  out.lpszName = block.Copy(r.name);
  out.lpszAddress = block.Copy(r.address);
}

std::vector<StoreRecipient> Picks(ULONG presetCount, const MapiRecipDesc* preset) {
  std::vector<StoreRecipient> picks;
  if (!ConfigHas("pick")) {
    for (ULONG i = 0; i < presetCount; ++i)
      picks.push_back({preset[i].lpszName ? preset[i].lpszName : "", preset[i].lpszAddress ? preset[i].lpszAddress : ""});
    return picks;
  }
  std::string list = ConfigValue("pick", "");
  size_t at = 0;
  while (at < list.size()) {
    size_t comma = list.find(',', at);
    if (comma == std::string::npos) comma = list.size();
    std::string name = list.substr(at, comma - at);
    if (!name.empty()) picks.push_back({name, "SMTP:" + name});
    at = comma + 1;
  }
  return picks;
}

std::string Text(const char* text) { return text ? text : ""; }

// Copies an attachment out of the store into a new temporary file; its path, or "".
std::string TemporaryCopy(const StoreAttachment& a) {
  char folder[MAX_PATH], path[MAX_PATH];
  if (!GetTempPathA(sizeof folder, folder) || !GetTempFileNameA(folder, "qva", 0, path)) return "";
  if (!CopyFileA(StorePath(a.storeFile).c_str(), path, FALSE)) return "";
  LogCall("TEMP %s", path);
  return path;
}

MapiMessage* BuildMessage(const StoreMessage& m, bool attachmentFiles) {
  std::vector<std::string> paths;
  for (const StoreAttachment& a : m.attachments) paths.push_back(attachmentFiles ? TemporaryCopy(a) : "");
  Block block(sizeof(MapiMessage) + sizeof(MapiRecipDesc) * (1 + m.to.size()) +
              sizeof(MapiFileDesc) * m.attachments.size());
  for (const std::string* s : {&m.subject, &m.body, &m.date, &m.type}) block.Need(*s);
  NeedRecipient(block, m.from);
  for (const StoreRecipient& r : m.to) NeedRecipient(block, r);
  for (size_t i = 0; i < m.attachments.size(); ++i) {
    block.Need(m.attachments[i].fileName);
    block.Need(paths[i]);
  }
  if (!block.Allocate()) return nullptr;
  auto* message = reinterpret_cast<MapiMessage*>(block.Records(sizeof(MapiMessage)));
  auto* from = reinterpret_cast<MapiRecipDesc*>(block.Records(sizeof(MapiRecipDesc)));
  auto* to = reinterpret_cast<MapiRecipDesc*>(block.Records(sizeof(MapiRecipDesc) * m.to.size()));
  auto* files = reinterpret_cast<MapiFileDesc*>(block.Records(sizeof(MapiFileDesc) * m.attachments.size()));
  message->lpszSubject = m.hasSubject ? block.Copy(m.subject) : nullptr;
  message->lpszNoteText = m.hasBody ? block.Copy(m.body) : nullptr;
  message->lpszDateReceived = m.hasDate ? block.Copy(m.date) : nullptr;
  message->lpszMessageType = m.hasType ? block.Copy(m.type) : nullptr;
  message->flFlags = m.flags;
  if (m.hasFrom) {
    PutRecipient(block, *from, MAPI_ORIG, m.from);
    message->lpOriginator = from;
  }
  for (size_t i = 0; i < m.to.size(); ++i) PutRecipient(block, to[i], MAPI_TO, m.to[i]);
  message->nRecipCount = static_cast<ULONG>(m.to.size());
  message->lpRecips = m.to.empty() ? nullptr : to;
  for (size_t i = 0; i < m.attachments.size(); ++i) {
    files[i].flFlags = m.attachments[i].flags;
    files[i].nPosition = static_cast<ULONG>(-1);
    files[i].lpszFileName = m.attachments[i].fileName.empty() ? nullptr : block.Copy(m.attachments[i].fileName);
    files[i].lpszPathName = paths[i].empty() ? nullptr : block.Copy(paths[i]);
  }
  message->nFileCount = static_cast<ULONG>(m.attachments.size());
  message->lpFiles = m.attachments.empty() ? nullptr : files;
  return message;
}

StoreMessage FromRecord(const MapiMessage& in) {
  StoreMessage m;
  m.hasSubject = in.lpszSubject != nullptr;
  m.subject = Text(in.lpszSubject);
  m.hasBody = in.lpszNoteText != nullptr;
  m.body = Text(in.lpszNoteText);
  m.hasDate = in.lpszDateReceived != nullptr;
  m.date = Text(in.lpszDateReceived);
  m.hasType = in.lpszMessageType != nullptr;
  m.type = Text(in.lpszMessageType);
  m.flags = in.flFlags;
  if (in.lpOriginator) {
    m.hasFrom = true;
    m.from = {Text(in.lpOriginator->lpszName), Text(in.lpOriginator->lpszAddress)};
  }
  for (ULONG i = 0; i < in.nRecipCount; ++i) m.to.push_back({Text(in.lpRecips[i].lpszName), Text(in.lpRecips[i].lpszAddress)});
  for (ULONG i = 0; i < in.nFileCount; ++i) {
    StoreAttachment a;
    a.flags = in.lpFiles[i].flFlags;
    a.fileName = Text(in.lpFiles[i].lpszFileName);
    a.storeFile = Text(in.lpFiles[i].lpszPathName);
    m.attachments.push_back(a);
  }
  return m;
}

}  // namespace

extern "C" {

ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR, LPSTR, FLAGS flags, ULONG, LPLHANDLE session) {
  LogCall("MAPILogon flags=0x%lx ui=%d", static_cast<unsigned long>(flags), ui != 0);
  *session = 0;
  if (ULONG code = Injected("MAPILogon")) return code;
  *session = ++g_lastSession;
  g_sessions.insert(*session);
  return SUCCESS_SUCCESS;
}

ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR, FLAGS, ULONG) {
  LogCall("MAPILogoff session=%lu", static_cast<unsigned long>(session));
  if (ULONG code = Injected("MAPILogoff")) return code;
  return g_sessions.erase(session) ? SUCCESS_SUCCESS : MAPI_E_INVALID_SESSION;
}

ULONG WINAPI MAPIAddress(LHANDLE session, ULONG_PTR ui, LPSTR, ULONG editFields, LPSTR, ULONG presetCount,
                         lpMapiRecipDesc preset, FLAGS, ULONG, LPULONG newCount, lpMapiRecipDesc* chosen) {
  LogCall("MAPIAddress session=%lu edit=%lu preset=%lu", static_cast<unsigned long>(session), editFields, presetCount);
  *newCount = 0;
  *chosen = nullptr;
  if (ULONG code = Injected("MAPIAddress")) return code;
  if (!SessionUsable(session)) return MAPI_E_INVALID_SESSION;
  std::vector<StoreRecipient> picks = Picks(presetCount, preset);
  std::string shown = "Recipients:";
  for (const StoreRecipient& r : picks) shown += " " + r.name;
  if (MessageBoxA(reinterpret_cast<HWND>(ui), shown.c_str(), "Test Address Book", MB_OKCANCEL) != IDOK)
    return MAPI_USER_ABORT;
  Block block(sizeof(MapiRecipDesc) * picks.size());
  for (const StoreRecipient& r : picks) NeedRecipient(block, r);
  if (!block.Allocate()) return MAPI_E_INSUFFICIENT_MEMORY;
  auto* records = reinterpret_cast<MapiRecipDesc*>(block.Records(sizeof(MapiRecipDesc) * picks.size()));
  for (size_t i = 0; i < picks.size(); ++i) PutRecipient(block, records[i], MAPI_TO, picks[i]);
  *newCount = static_cast<ULONG>(picks.size());
  *chosen = records;
  return SUCCESS_SUCCESS;
}

ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR, lpMapiMessage message, FLAGS flags, ULONG) {
  LogCall("MAPISendMail session=%lu flags=0x%lx recipients=%lu files=%lu", static_cast<unsigned long>(session),
          static_cast<unsigned long>(flags), message->nRecipCount, message->nFileCount);
  if (ULONG code = Injected("MAPISendMail")) return code;
  if (!SessionUsable(session)) return MAPI_E_INVALID_SESSION;
  if (message->nRecipCount == 0 && !(flags & MAPI_DIALOG)) return MAPI_E_INVALID_RECIPS;
  CreateDirectoryA(StorePath("sent").c_str(), nullptr);
  // Numbered from 0001 in each store, in the order sent.
  std::string path;
  for (unsigned n = 1; path.empty() || GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; ++n) {
    char name[32];
    wsprintfA(name, "sent\\%04u.msg", n);
    path = StorePath(name);
  }
  return WriteStoreMessage(path, FromRecord(*message)) ? SUCCESS_SUCCESS : MAPI_E_DISK_FULL;
}

ULONG WINAPI MAPIFindNext(LHANDLE session, ULONG_PTR, LPSTR type, LPSTR seed, FLAGS flags, ULONG, LPSTR id) {
  LogCall("MAPIFindNext session=%lu seed=%s flags=0x%lx type=%s", static_cast<unsigned long>(session),
          seed ? seed : "(null)", static_cast<unsigned long>(flags), type ? type : "(null)");
  if (ULONG code = Injected("MAPIFindNext")) return code;
  if (!SessionUsable(session)) return MAPI_E_INVALID_SESSION;
  // "stuck=1": a faulty store that finds its first message again and again.
  const std::string after = ConfigValue("stuck", "0") == "1" ? "" : (seed ? seed : "");
  for (const std::string& found : InboxIds()) {
    if (!after.empty() && found <= after) continue;
    const size_t room = (flags & MAPI_LONG_MSGID) ? 512 : kShortIdRoom;
    if (found.size() >= room) return MAPI_E_INVALID_MESSAGE;
    std::memcpy(id, found.c_str(), found.size() + 1);
    return SUCCESS_SUCCESS;
  }
  return MAPI_E_NO_MESSAGES;
}

ULONG WINAPI MAPIReadMail(LHANDLE session, ULONG_PTR, LPSTR id, FLAGS flags, ULONG, lpMapiMessage* out) {
  LogCall("MAPIReadMail session=%lu id=%s flags=0x%lx", static_cast<unsigned long>(session), id ? id : "(null)",
          static_cast<unsigned long>(flags));
  *out = nullptr;
  if (ULONG code = Injected("MAPIReadMail")) return code;
  if (!SessionUsable(session)) return MAPI_E_INVALID_SESSION;
  StoreMessage m;
  const std::string base = StorePath("inbox\\" + Text(id));
  if (!id || !ReadStoreMessage(base + ".msg", m)) return MAPI_E_INVALID_MESSAGE;
  if (!(flags & MAPI_PEEK)) {
    FILE* marker = std::fopen((base + ".read").c_str(), "wb");
    if (marker) std::fclose(marker);
  }
  *out = BuildMessage(m, !(flags & (MAPI_SUPPRESS_ATTACH | MAPI_ENVELOPE_ONLY)));
  return *out ? SUCCESS_SUCCESS : MAPI_E_INSUFFICIENT_MEMORY;
}

ULONG WINAPI MAPIFreeBuffer(LPVOID memory) {
  if (FreeBuffer(memory)) return SUCCESS_SUCCESS;
  LogCall("MAPIFreeBuffer unknown=%p", memory);
  return MAPI_E_FAILURE;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH)
    LogCall("END sessions=%d", static_cast<int>(g_sessions.size()));
  return TRUE;
}

}  // extern "C"
