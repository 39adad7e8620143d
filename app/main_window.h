// The main window: its class, creation, layout of the three child controls and the
// window procedure that dispatches every message to a small handler.
#pragma once
#include "core/platform.h"

bool RegisterMainClass(HINSTANCE instance);
void UnregisterMainClass(HINSTANCE instance);
// Creates the main window and its controls, shows it with `show` and loads the settings.
// Returns null when the window cannot be created.
HWND CreateMainWindow(HINSTANCE instance, int show);
// Places the status text, progress bar and Cancel button for a client area of w by h.
void LayoutControls(int w, int h);
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
