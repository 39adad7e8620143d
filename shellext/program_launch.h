// Starting the main program on one file and waiting for it: its path (beside the extension,
// or from the settings it stores), the command line, and the report when it cannot start.
// Paths and the command line are wide: Explorer's code page is not the program's (UTF-8
// through its manifest), and a selected name may have characters Explorer's lacks; the
// program reads the wide command line in its own code page.
#pragma once
#include <windows.h>

#include <string>

// The program's registry key under HKEY_CURRENT_USER and the value holding its full path.
extern const char kProgramSettingsKey[];
extern const char kProgramPathValue[];
// Used when the program has not stored its path: the system then searches for it.
extern const char kDefaultProgramName[];

// The program to start: Zentp32.exe beside the extension's DLL; otherwise the path the
// program stored for this user; otherwise its bare name.
std::wstring ProgramPath();

// The program path in quotes (so a path with blanks stays one word), the encode switch with
// the method letter, the destination switch and the file in quotes.
std::wstring EncodeCommandLine(const std::wstring& program, char methodLetter, const char* destinationSwitch,
                               const wchar_t* file);

// Runs the command line with the show command and waits for the program to end. When it
// cannot start, shows "Can't Execute" with the system's reason, owned by `owner`, and
// returns false.
bool RunAndWait(const std::wstring& commandLine, const std::wstring& program, int showCommand, HWND owner);
