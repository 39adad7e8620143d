// Finding and reading windows for the Win32 and end-to-end tests: message boxes and
// dialogs of this or another process, their texts, icons and buttons.
#pragma once
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

enum class ProbeIcon { None, Hand, Exclamation, Asterisk, Question, Other };

struct ProbedWindow {
  bool found = false;
  std::string title;
  std::string text;  // a message box's message: its static control that is not the icon
  ProbeIcon icon = ProbeIcon::None;
  std::vector<std::string> buttons;
};

// Waits up to `timeoutMs` for a visible top-level window of `className` with `title`
// (any title when null); `processId` 0 means any process. Null when none came.
HWND WaitForWindow(const char* className, const char* title, DWORD processId, int timeoutMs);
// Waits until no visible top-level window of `className` and `title` is left.
bool WaitForWindowGone(const char* className, const char* title, int timeoutMs);
std::string WindowText(HWND window);
// Reads a dialog or message box: title, message text, icon and button texts. The icon is
// recognised only for message boxes of the calling process.
ProbedWindow ReadDialog(HWND dialog);
// Presses a button of a dialog by its id (IDOK, IDYES, ...).
void PressButton(HWND dialog, int id);
// The child with `id` of the dialog whose class is `className`, or null.
HWND FindChild(HWND parent, int id);
const char* ProbeIconName(ProbeIcon icon);

// A helper thread that waits for a dialog of this process with `title`, reads it, lets
// `act` work on it (may be empty), then presses `button`. The test's own thread meanwhile
// runs the code that shows the dialog. Result() waits for the thread.
class DialogProbe {
 public:
  DialogProbe(const std::string& title, int button, std::function<void(HWND)> act = nullptr,
              int timeoutMs = 5000);
  ~DialogProbe();
  DialogProbe(const DialogProbe&) = delete;
  DialogProbe& operator=(const DialogProbe&) = delete;
  const ProbedWindow& Result();

 private:
  ProbedWindow result_;
  std::thread thread_;
};
