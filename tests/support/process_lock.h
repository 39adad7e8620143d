// A named mutex held for the life of a test, so that test programs running side by side in
// one Wine prefix take turns at a shared resource (the clipboard, a registry key).
#pragma once
#include <windows.h>

class ProcessLock {
 public:
  explicit ProcessLock(const char* name) : mutex_(CreateMutexA(nullptr, FALSE, name)) {
    if (mutex_) WaitForSingleObject(mutex_, 60000);
  }
  ~ProcessLock() {
    if (!mutex_) return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  ProcessLock(const ProcessLock&) = delete;
  ProcessLock& operator=(const ProcessLock&) = delete;

 private:
  HANDLE mutex_;
};
