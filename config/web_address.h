// Opening a web address in the user's browser, and the address of the version check.
#pragma once
#include <cstddef>

#include "core/platform.h"

enum { BROWSER_COMMAND_ROOM = 257, WEB_ADDRESS_ROOM = 160, VERSION_TEXT_ROOM = 32 };

// Asks the shell to open the address; when it cannot, starts the browser command of ".htm"
// pages on it. Nonzero on success.
int OpenWebAddress(HWND owner, const char* address);
// The open command of the ".htm" file type into `buffer` (at least BROWSER_COMMAND_ROOM
// bytes for a whole command). 0 on success, else the registry error.
long FindBrowserCommand(char* buffer, DWORD size);
// The browser command with the address in place of its "%1" placeholders, or after it (in
// quotes) when it has none. False when the result does not fit in `room`.
bool BrowserCommandLine(const char* command, const char* address, char* line, size_t room);
// Starts a process with this command line and does not wait for it. Nonzero on success.
int StartProgram(const char* commandLine);

// The running version and release date from the version resource, with "NO VERSION!" and
// "NO DATE!" in place of missing entries; each buffer holds VERSION_TEXT_ROOM bytes.
void ReadVersionAndDate(char* version, char* date);
// `website`, a slash, `webcheck`, a question mark, the version, a semicolon and the date.
void BuildVersionCheckAddress(const char* version, const char* date, char* address, size_t room);
