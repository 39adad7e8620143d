// Opening the program's help file in the help viewer, at the topic of a keyword.
//
// The viewer's remote control (WinHelpA) answers keyword searches only on some platforms;
// Wine's viewer ignores them. The viewer's own command line, "-i TOPIC-ID FILE", opens a
// topic everywhere, so every help request starts the viewer that way. The help source gives
// each keyword's topic the ID of HelpTopicId, and lists the keyword in its index as well.
#pragma once
#include "core/platform.h"

// The topic ID of a keyword the program asks for (any case), or null for an unknown one.
// IDs have at most five characters: the viewer finds a topic by a 32-bit hash of its ID,
// and Wine's viewer misses topics whose hash has the top bit set, which longer IDs can give.
const char* HelpTopicId(const char* keyword);

#ifdef _WIN32
// Opens `helpFile` at the keyword's topic (at its contents when `keyword` is null or has no
// topic), in place
// of a viewer already open. Serves the caller's window messages while the viewer starts, so
// the caller's windows keep painting and the viewer's start-up is not held up. True when
// the viewer's window came.
bool OpenHelpTopic(HWND owner, const char* helpFile, const char* keyword);
#endif
