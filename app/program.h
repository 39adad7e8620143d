// The program-wide values of the application shell: its instance, paths, main window and
// child controls, face colour, wait cursor and accelerators. Set up at start-up and kept for
// the life of the process.
#pragma once
#include "core/job_state.h"
#include "core/platform.h"

struct ProgramState {
  HINSTANCE instance;
  char programPath[PATH_ROOM];
  char helpPath[PATH_ROOM];  // the .hlp beside the program; the .chm is beside it too (core/help_viewer.h)
  HACCEL accelerators;
  HWND mainWindow;
  HWND statusText;
  HWND progressBar;
  HWND cancelButton;
  HFONT controlFont;  // of the status text and the Cancel button, at the window's DPI
  COLORREF faceColor;
  HBRUSH faceBrush;
  HCURSOR waitCursor;
};

extern ProgramState g_program;

extern const char kMainClassName[];   // "Zentp32", the window class
extern const char kResourceName[];    // "ZENTP32": menu, accelerators and icon
extern const char kHelpFileName[];    // "Zentp32.hlp", beside the program
