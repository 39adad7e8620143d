// Opening the program's help at the topic of a keyword, in HTML Help or in the older viewer.
//
// The help is built twice from one source: "Zentp32.chm" for HTML Help (Windows 98 and
// later) and "Zentp32.hlp" for the Windows Help viewer. Every topic the program asks for has
// one name of at most five characters (HelpTopicId): the .hlp carries it as the topic's ID,
// opened with the viewer's own command line "-i ID FILE" (its remote control, WinHelpA,
// answers keyword searches only on some platforms), and the .chm as the page "ID.html".
#pragma once
#include <cstddef>

#include "core/platform.h"

// The topic of a keyword the program asks for (any case), or null for an unknown one.
// At most five characters: the .hlp viewer finds a topic by a 32-bit hash of its ID, and
// Wine's viewer misses topics whose hash has the top bit set, which longer IDs can give.
const char* HelpTopicId(const char* keyword);

// `helpFile` (the .hlp path) with its extension replaced by `extension` (".chm"); false
// (and an empty `dest`) when it does not fit in `room`.
bool SiblingHelpFile(const char* helpFile, const char* extension, char* dest, size_t room);

#ifdef _WIN32
// The help files are named by the .hlp path beside the program; the .chm lies beside it.
// True when either of them is there: the program needs one of them to start.
bool HelpFilePresent(const char* helpFile);

// Opens the help at the keyword's topic (at its contents when `keyword` is null or has no
// topic): the .chm through HTML Help when the system has HTML Help and the .chm is there,
// else the .hlp in its viewer. True when a help window came.
bool OpenHelpTopic(HWND owner, const char* helpFile, const char* keyword);

// The .hlp in the Windows Help viewer, in place of a viewer already open. Serves the
// caller's window messages while the viewer starts, so the caller's windows keep painting
// and the viewer's start-up is not held up. True when the viewer's window came.
bool OpenWinHelpTopic(HWND owner, const char* helpFile, const char* keyword);

// True when the system has HTML Help: its control, hhctrl.ocx, loads from the system
// folder and offers HtmlHelpA. Loaded once, at the first help request.
bool HtmlHelpAvailable();
// The .chm in HTML Help's window, owned by the top window of `owner` (so that it outlives
// the dialog that asked for it). True when the window came.
bool OpenHtmlHelpTopic(HWND owner, const char* chmFile, const char* keyword);

// Closes the help windows of either kind that this program opened.
void CloseHelp(HWND owner, const char* helpFile);
void CloseWinHelp(HWND owner, const char* helpFile);
void CloseHtmlHelp();
#endif
