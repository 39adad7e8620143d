// HTML Help: the .chm in the window of the system's HTML Help control, hhctrl.ocx, which is
// loaded at run time so that the program still starts (and uses the .hlp) without it.
#include <cstdio>

#include "core/help_viewer.h"

#ifdef _WIN32
#include <htmlhelp.h>

namespace {

typedef HWND(WINAPI* HtmlHelpFunction)(HWND, LPCSTR, UINT, DWORD_PTR);

const char kHtmlHelpLibrary[] = "hhctrl.ocx";
const char kHtmlHelpEntry[] = "HtmlHelpA";
const char kTopicFormat[] = "%s::/%s.html";  // a page inside the .chm, named after its topic
enum { TOPIC_ROOM = MAX_PATH + 32 };

// Looked up once: the control does not come or go while the program runs.
HtmlHelpFunction g_htmlHelp;
bool g_htmlHelpLookedUp;

// From the system folder by its full path, as the .hlp viewer: a bare name would find an
// "hhctrl.ocx" in the program's or the current folder first.
HtmlHelpFunction LoadHtmlHelp() {
  char path[MAX_PATH];
  const UINT folder = GetSystemDirectoryA(path, sizeof path);
  if (folder == 0 || folder >= sizeof path) return nullptr;
  const int length = std::snprintf(path + folder, sizeof path - folder, "\\%s", kHtmlHelpLibrary);
  if (length < 0 || static_cast<size_t>(length) >= sizeof path - folder) return nullptr;
  HMODULE library = LoadLibraryA(path);
  if (!library) return nullptr;
  auto entry = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(library, kHtmlHelpEntry)));
  if (!entry) FreeLibrary(library);
  return entry;
}

HWND TopOwner(HWND window) {
  HWND top = window ? GetAncestor(window, GA_ROOTOWNER) : nullptr;
  return top ? top : window;
}

}  // namespace

bool HtmlHelpAvailable() {
  if (!g_htmlHelpLookedUp) {
    g_htmlHelp = LoadHtmlHelp();
    g_htmlHelpLookedUp = true;
  }
  return g_htmlHelp != nullptr;
}

bool OpenHtmlHelpTopic(HWND owner, const char* chmFile, const char* keyword) {
  if (!HtmlHelpAvailable()) return false;
  const char* id = keyword ? HelpTopicId(keyword) : nullptr;
  char topic[TOPIC_ROOM];
  const int length = id ? std::snprintf(topic, sizeof topic, kTopicFormat, chmFile, id)
                        : std::snprintf(topic, sizeof topic, "%s", chmFile);
  if (length < 0 || length >= static_cast<int>(sizeof topic)) return false;
  return g_htmlHelp(TopOwner(owner), topic, HH_DISPLAY_TOPIC, 0) != nullptr;
}

void CloseHtmlHelp() {
  // Only a control that was loaded can have windows open.
  if (g_htmlHelp) g_htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
#endif
