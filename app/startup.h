// Start-up and the message loop of the program.
#pragma once
#include <cstddef>

#include "core/platform.h"

// The whole life of the program: returns its exit code.
int RunProgram(HINSTANCE instance, HINSTANCE previous, const char* commandLine, int show);
// The help file path: the folder of `programPath` followed by "Zentp32.hlp". False (and an
// empty path) when it does not fit in `room`.
bool BuildHelpPath(const char* programPath, char* dest, size_t room);
// Tells the user that the help file is missing (the program does not start without either
// the .hlp or the .chm; the message names the .hlp).
void ReportMissingHelpFile(HWND owner, const char* helpPath);
