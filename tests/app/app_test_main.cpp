// The shell tests run against a real main window of the program, created hidden, with the
// resources of the program linked in.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/program.h"
#include "core/settings.h"
#include "core/streams.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  g_program.instance = instance;
  StreamInitLarge(STREAM_SLOTS, STREAM_PROGRAM_BUFFER_SIZE);  // as the program does
  g_program.faceColor = GetSysColor(COLOR_BTNFACE);
  if (!RegisterMainClass(instance) || !CreateMainWindow(instance, SW_HIDE)) {
    std::fprintf(stderr, "cannot create the main window\n");
    return 1;
  }
  ResetSettings();
  int result = RUN_ALL_TESTS();
  DestroyWindow(g_program.mainWindow);
  UnregisterMainClass(instance);
  StreamShutdown();
  return result;
}
