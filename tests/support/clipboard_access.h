// The real clipboard for the Win32 tests: reading and putting text, another program's hold on
// it, and a lock that keeps test programs running side by side in one Wine prefix off each
// other's clipboard.
#pragma once
#include <windows.h>

#include "tests/support/process_lock.h"

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

// Held for the life of a clipboard test.
class ClipboardLock : public ProcessLock {
 public:
  ClipboardLock() : ProcessLock("QuorvaneTestsClipboard") {}
};

// Opens the clipboard, retrying briefly while another program holds it.
inline bool OpenClipboardPatiently(HWND owner) {
  for (int i = 0; i < 50; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(20);
  }
  return false;
}

// The clipboard's CF_TEXT; `present` tells whether there was any.
inline std::string ClipboardText(bool* present = nullptr) {
  std::string text;
  bool found = false;
  if (OpenClipboardPatiently(nullptr)) {
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(GlobalLock(data))) {
        text = p;
        found = true;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  if (present) *present = found;
  return text;
}

// Makes `owner` the clipboard's owner with `text` as its CF_TEXT.
inline bool PutClipboardText(HWND owner, const std::string& text) {
  if (!OpenClipboardPatiently(owner)) return false;
  bool ok = false;
  if (EmptyClipboard()) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (char* p = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr) {
      std::memcpy(p, text.c_str(), text.size() + 1);
      GlobalUnlock(memory);
      ok = SetClipboardData(CF_TEXT, memory) != nullptr;
      if (!ok) GlobalFree(memory);
    }
  }
  CloseClipboard();
  return ok;
}

// Leaves the clipboard empty, owned by `owner`.
inline bool EmptyTheClipboard(HWND owner) {
  if (!OpenClipboardPatiently(owner)) return false;
  const bool ok = EmptyClipboard() != 0;
  CloseClipboard();
  return ok;
}

// A hidden window to own the clipboard.
class ClipboardOwner {
 public:
  ClipboardOwner()
      : window_(CreateWindowExA(0, "STATIC", "clipboard owner", 0, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr)) {}
  ~ClipboardOwner() {
    if (window_) DestroyWindow(window_);
  }
  ClipboardOwner(const ClipboardOwner&) = delete;
  ClipboardOwner& operator=(const ClipboardOwner&) = delete;
  HWND window() const { return window_; }

 private:
  HWND window_;
};

// Holds the clipboard open from a thread of its own while alive, as another program would.
// The thread keeps serving its window's messages, so that probes reading window texts do
// not wait on it.
class ClipboardHolder {
 public:
  ClipboardHolder() {
    thread_ = std::thread([this] {
      ClipboardOwner window;
      opened_ = OpenClipboardPatiently(window.window());
      ready_ = true;
      while (!release_) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(5);
      }
      if (opened_) CloseClipboard();
    });
    while (!ready_) Sleep(5);
  }
  ~ClipboardHolder() {
    release_ = true;
    thread_.join();
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;
  bool opened() const { return opened_; }

 private:
  std::thread thread_;
  std::atomic<bool> ready_{false}, release_{false}, opened_{false};
};
