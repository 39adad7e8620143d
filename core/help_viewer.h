// Opening the program's help file in the help viewer, at the topic of a keyword.
//
// The viewer's remote control (WinHelpA) answers keyword searches only on some platforms;
// Wine's viewer ignores them. The viewer's own command line, "-i TOPIC-ID FILE", opens a
// topic everywhere, so every help request starts the viewer that way. The help source gives
// each keyword's topic the ID that HelpTopicId makes of the keyword, and lists the keyword
// in its index as well.
#pragma once
#include <cstddef>

#include "core/platform.h"

enum { HELP_TOPIC_ID_ROOM = 64 };

// The topic ID of a keyword: lower-case letters and digits kept, every other character an
// underscore ("cannot decode" -> "cannot_decode"). Cut to `room` - 1 characters.
void HelpTopicId(const char* keyword, char* id, size_t room);

#ifdef _WIN32
// Opens `helpFile` at the keyword's topic (at its contents when `keyword` is null), in place
// of a viewer already open. Serves the caller's window messages while the viewer starts, so
// the caller's windows keep painting and the viewer's start-up is not held up. True when
// the viewer's window came.
bool OpenHelpTopic(HWND owner, const char* helpFile, const char* keyword);
#endif
