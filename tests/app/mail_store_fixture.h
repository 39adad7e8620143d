// The mail tests' store: the test provider (qvmapistore.dll, built beside the tests) is
// registered as the default mail client in this prefix's registry, the way Wine's and
// Windows' MAPI library find a user's mail client, and its store is a scratch folder. The
// registration stays after the test: other test processes of this throwaway prefix may be
// loading the mail library at that moment and must find the same client.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/program.h"
#include "mail/mail_session.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/test_files.h"
#include "tests/support/window_probe.h"

class MailStoreTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    RegisterProvider();
    SetEnvironmentVariableA("QV_MAIL_STORE", store.path().c_str());
    CreateDirectoryA(store.File("inbox").c_str(), nullptr);
    char saved[MAX_PATH] = "";
    savedTmp = GetEnvironmentVariableA("TMP", saved, sizeof saved) ? saved : "";
    SetEnvironmentVariableA("TMP", (temp.path() + "\\").c_str());
    SetWindowTextA(g_program.statusText, "");
  }
  void TearDown() override {
    MailLogoff(nullptr, false);
    ReleaseMailRecipients();
    SetEnvironmentVariableA("TMP", savedTmp.empty() ? nullptr : savedTmp.c_str());
    ShellTest::TearDown();
  }

  static void RegisterProvider() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string dll = exe;
    dll = dll.substr(0, dll.find_last_of('\\') + 1) + "qvmapistore.dll";
    HKEY mail, client;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Clients\\Mail", 0, nullptr, 0, KEY_WRITE, nullptr,
                              &mail, nullptr), ERROR_SUCCESS);
    RegSetValueExA(mail, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("QvTestStore"), 12);
    RegCreateKeyExA(mail, "QvTestStore", 0, nullptr, 0, KEY_WRITE, nullptr, &client, nullptr);
    RegSetValueExA(client, "DLLPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                   static_cast<DWORD>(dll.size() + 1));
    RegCloseKey(client);
    RegCloseKey(mail);
  }

  void Config(const std::string& lines) { WriteWholeFile(store.File("config.txt"), lines); }
  // An inbox message in the store's form (see tests/mapi_store/store.h).
  void Inbox(const std::string& id, const std::string& text) {
    WriteWholeFile(store.File("inbox\\" + id + ".msg"), text);
  }
  std::string Calls() { return ReadWholeFile(store.File("calls.log")); }
  int CountCalls(const std::string& name) {
    std::string calls = Calls();
    int n = 0;
    for (size_t at = calls.find(name); at != std::string::npos; at = calls.find(name, at + 1)) ++n;
    return n;
  }
  std::string Status() { return WindowText(g_program.statusText); }

  ScratchDir store;
  ScratchDir temp;
  std::string savedTmp;
};
