// Shared ground of the extension's tests: the extension registered with regsvr32, COM, a
// folder of real files (its path holds a blank), the stand-in program qvrecorder and its
// log, and a private HKEY_CURRENT_USER for the settings the extension reads.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "tests/support/process_lock.h"

std::string TestProgramDir();
std::string ExtensionPath();  // a copy of the Zenthook.dll of this build, in the tests' folder
int RunAndWaitFor(const std::string& commandLine);
bool KeyExists(HKEY root, const std::string& key);
std::string StringValue(HKEY root, const std::string& key, const char* name);

// While alive, HKEY_CURRENT_USER of this process is an empty key of the test's own, so the
// settings the extension reads are the test's (the main program's are not touched).
class PrivateUserKey {
 public:
  PrivateUserKey();
  ~PrivateUserKey();
  PrivateUserKey(const PrivateUserKey&) = delete;
  PrivateUserKey& operator=(const PrivateUserKey&) = delete;
  void SetProgramPath(const std::string& path);

 private:
  HKEY key_ = nullptr;
};

class ExtensionTest : public testing::Test {
  ProcessLock lock_{"QuorvaneTestsShellExtension"};  // registration and log are shared

 protected:
  void SetUp() override;
  void TearDown() override;

  // Files a.bin, b.bin, c.bin in the work folder, in that order.
  std::vector<std::string> MakeFiles(int count);
  // qvrecorder copied into the work folder under `name`; its log is Log().
  std::string PlaceRecorder(const std::string& name);
  std::vector<std::string> Log() const;
  // The extension for these files, its menu built (first command identifier kFirstCommand).
  IContextMenu* MenuFor(const std::vector<std::string>& files);
  HRESULT Invoke(IContextMenu* menu, UINT offset);

  static const UINT kFirstCommand = 200;
  std::string work_;
  std::string log_;
};
