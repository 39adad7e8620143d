#include "tests/support/window_probe.h"

#include <chrono>

namespace {

const char kDialogClass[] = "#32770";
const int kPollMs = 20;

struct WindowQuery {
  const char* className;
  const char* title;
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  WindowQuery& query = *reinterpret_cast<WindowQuery*>(data);
  if (!IsWindowVisible(window)) return TRUE;
  char className[64];
  GetClassNameA(window, className, sizeof className);
  if (query.className && lstrcmpiA(className, query.className) != 0) return TRUE;
  if (query.title && WindowText(window) != query.title) return TRUE;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (query.processId && processId != query.processId) return TRUE;
  query.found = window;
  return FALSE;
}

HWND FindVisibleWindow(const char* className, const char* title, DWORD processId) {
  WindowQuery query = {className, title, processId, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

ProbeIcon IconKind(HICON icon) {
  if (!icon) return ProbeIcon::None;
  struct Known {
    LPCSTR id;
    ProbeIcon kind;
  };
  const Known known[] = {{IDI_HAND, ProbeIcon::Hand},
                         {IDI_EXCLAMATION, ProbeIcon::Exclamation},
                         {IDI_ASTERISK, ProbeIcon::Asterisk},
                         {IDI_QUESTION, ProbeIcon::Question}};
  for (const Known& k : known)
    if (LoadIconA(nullptr, k.id) == icon) return k.kind;
  return ProbeIcon::Other;
}

bool HasStyle(HWND window, LONG style) { return (GetWindowLongA(window, GWL_STYLE) & style) == style; }

std::string ClassOf(HWND window) {
  char className[64];
  GetClassNameA(window, className, sizeof className);
  return className;
}

}  // namespace

HWND WaitForWindow(const char* className, const char* title, DWORD processId, int timeoutMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (HWND window = FindVisibleWindow(className, title, processId)) return window;
    if (std::chrono::steady_clock::now() >= end) return nullptr;
    Sleep(kPollMs);
  }
}

bool WaitForWindowGone(const char* className, const char* title, int timeoutMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (FindVisibleWindow(className, title, 0)) {
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(kPollMs);
  }
  return true;
}

std::string WindowText(HWND window) {
  char text[2048];
  int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

ProbedWindow ReadDialog(HWND dialog) {
  ProbedWindow result;
  result.found = dialog != nullptr;
  if (!dialog) return result;
  result.title = WindowText(dialog);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    std::string className = ClassOf(child);
    if (lstrcmpiA(className.c_str(), "Static") == 0) {
      LONG style = GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK;
      if (style == SS_ICON)
        result.icon = IconKind(reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)));
      else if (result.text.empty())
        result.text = WindowText(child);
    } else if (lstrcmpiA(className.c_str(), "Button") == 0 && HasStyle(child, WS_VISIBLE)) {
      result.buttons.push_back(WindowText(child));
    }
  }
  return result;
}

void PressButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND FindChild(HWND parent, int id) { return GetDlgItem(parent, id); }

const char* ProbeIconName(ProbeIcon icon) {
  switch (icon) {
    case ProbeIcon::None: return "none";
    case ProbeIcon::Hand: return "hand";
    case ProbeIcon::Exclamation: return "exclamation";
    case ProbeIcon::Asterisk: return "asterisk";
    case ProbeIcon::Question: return "question";
    default: return "other";
  }
}

DialogProbe::DialogProbe(const std::string& title, int button, std::function<void(HWND)> act,
                         int timeoutMs)
    : thread_([this, title, button, act, timeoutMs] {
        HWND dialog = WaitForWindow(kDialogClass, title.c_str(), GetCurrentProcessId(), timeoutMs);
        result_ = ReadDialog(dialog);
        if (!dialog) return;
        if (act) act(dialog);
        PressButton(dialog, button);
      }) {}

DialogProbe::~DialogProbe() {
  if (thread_.joinable()) thread_.join();
}

const ProbedWindow& DialogProbe::Result() {
  if (thread_.joinable()) thread_.join();
  return result_;
}
