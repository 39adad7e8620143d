// Placing dialogs on the screen.
#pragma once
#include "core/platform.h"

// Moves the window (size and z-order unchanged) to the middle of the screen across and a
// third of the way down.
void CenterWindow(HWND window);
