// Common set-up of the shell tests: default settings, an empty job, and no waiting
// messages left from an earlier test.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/program.h"
#include "core/job_state.h"
#include "core/platform.h"
#include "core/settings.h"

class ShellTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    ResetJobState();
    DrainMessages();
  }
  void TearDown() override {
    ResetJobState();
    DrainMessages();
  }
  // Removes the messages waiting for this thread; returns how many were `message` for
  // the main window.
  static int DrainMessages(UINT message = 0) {
    int seen = 0;
    MSG waiting;
    while (PeekMessageA(&waiting, nullptr, 0, 0, PM_REMOVE))
      if (message && waiting.message == message && waiting.hwnd == g_program.mainWindow) ++seen;
    return seen;
  }
};

// How long a probe waits for a dialog that must not come.
const int kNoDialogMs = 400;
