#include "mail/simple_mapi.h"

#include <cstdio>

namespace {

// The platform's MAPI library; on Windows it hands every call to the default mail client.
const char kMapiLibrary[] = "MAPI32.DLL";

// Loaded from the system folder only: by its bare name the program's own folder (and the
// current one) would be searched first, where a planted "MAPI32.DLL" would run as us.
HMODULE LoadSystemMapi() {
  char path[MAX_PATH];
  const UINT folder = GetSystemDirectoryA(path, sizeof path);
  if (folder == 0 || folder >= sizeof path) return nullptr;
  const int n = std::snprintf(path + folder, sizeof path - folder, "\\%s", kMapiLibrary);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof path - folder) return nullptr;
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

struct SimpleMapi {
  bool loaded;
  LPMAPILOGON logon;
  LPMAPILOGOFF logoff;
  LPMAPIADDRESS address;
  LPMAPISENDMAIL sendMail;
  LPMAPIFINDNEXT findNext;
  LPMAPIREADMAIL readMail;
  LPMAPIFREEBUFFER freeBuffer;
};

SimpleMapi g_mapi;

template <typename Function>
void Resolve(HMODULE library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Loaded once and kept for the life of the process: the mail client may keep state in it
// between a logon and the logoff.
const SimpleMapi& Api() {
  if (g_mapi.loaded) return g_mapi;
  g_mapi.loaded = true;
  HMODULE library = LoadSystemMapi();
  if (!library) return g_mapi;
  Resolve(library, "MAPILogon", g_mapi.logon);
  Resolve(library, "MAPILogoff", g_mapi.logoff);
  Resolve(library, "MAPIAddress", g_mapi.address);
  Resolve(library, "MAPISendMail", g_mapi.sendMail);
  Resolve(library, "MAPIFindNext", g_mapi.findNext);
  Resolve(library, "MAPIReadMail", g_mapi.readMail);
  Resolve(library, "MAPIFreeBuffer", g_mapi.freeBuffer);
  return g_mapi;
}

ULONG_PTR UiParam(HWND window) { return reinterpret_cast<ULONG_PTR>(window); }

}  // namespace

ULONG MapiLogon(HWND window, FLAGS flags, LHANDLE* session) {
  *session = 0;
  if (!Api().logon) return MAPI_E_NOT_SUPPORTED;
  return Api().logon(UiParam(window), nullptr, nullptr, flags, 0, session);
}

ULONG MapiLogoff(LHANDLE session, HWND window) {
  if (!Api().logoff) return MAPI_E_NOT_SUPPORTED;
  return Api().logoff(session, UiParam(window), 0, 0);
}

ULONG MapiAddress(LHANDLE session, HWND window, ULONG presetCount, MapiRecipDesc* preset, ULONG* count,
                  MapiRecipDesc** chosen) {
  *count = 0;
  *chosen = nullptr;
  if (!Api().address) return MAPI_E_NOT_SUPPORTED;
  return Api().address(session, UiParam(window), nullptr, 1, nullptr, presetCount, preset, 0, 0, count, chosen);
}

ULONG MapiSendMail(LHANDLE session, HWND window, MapiMessage* message, FLAGS flags) {
  if (!Api().sendMail) return MAPI_E_NOT_SUPPORTED;
  return Api().sendMail(session, UiParam(window), message, flags, 0);
}

ULONG MapiFindNext(LHANDLE session, HWND window, const char* seed, FLAGS flags, char* found) {
  if (!Api().findNext) return MAPI_E_NOT_SUPPORTED;
  return Api().findNext(session, UiParam(window), nullptr, const_cast<char*>(seed), flags, 0, found);
}

ULONG MapiReadMail(LHANDLE session, HWND window, const char* id, FLAGS flags, MapiMessage** message) {
  *message = nullptr;
  if (!Api().readMail) return MAPI_E_NOT_SUPPORTED;
  return Api().readMail(session, UiParam(window), const_cast<char*>(id), flags, 0, message);
}

void MapiFree(void* memory) {
  if (memory && Api().freeBuffer) Api().freeBuffer(memory);
}
