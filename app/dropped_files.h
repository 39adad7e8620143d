// Files dropped on the main window: a batch, each file encoded or decoded as the decode
// method setting decides.
#pragma once
#include "core/platform.h"

#include <shellapi.h>

// Takes the dropped files into the input list (all or, when they do not fit, none, with a
// message), releases the drop and starts the batch.
void StartDroppedFiles(HWND window, HDROP drop);
