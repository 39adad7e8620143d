// The private job messages of the main window: UM_ENCODE_FILE, UM_DECODE_FILE,
// UM_NEXT_INPUT and UM_ASSOCIATE_AND_EXIT.
#pragma once
#include "core/platform.h"

LRESULT OnJobMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
