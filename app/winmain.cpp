#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  return RunProgram(instance, previous, commandLine, show);
}
