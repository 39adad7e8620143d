// The dots per inch of a window and the fonts made for them. The program declares itself
// per-monitor DPI aware (its manifest): Windows then leaves the scaling of its windows to it.
// Dialogs scale by themselves (their dialog units follow their font); what the program
// places in pixels or gives a font of its own is scaled here.
#pragma once
#include "core/platform.h"

enum { DEFAULT_DPI = 96 };

// The window's DPI: GetDpiForWindow where the system has it (Windows 10 1607 and later),
// else the screen's.
UINT WindowDpi(HWND window);
// The system's message font (as dialogs and message boxes use) at `dpi`; null on failure.
HFONT CreateMessageFont(UINT dpi);
// The height of a line of text in `font`.
int FontLineHeight(HFONT font);
