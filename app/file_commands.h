// The File menu's jobs: encode from a file (to a file or to the clipboard), decode from a
// file or from the clipboard.
#pragma once
#include "core/platform.h"

void EncodeFromFile(HWND window);
void EncodeToClipboard(HWND window);
void DecodeFromFile(HWND window);
void DecodeFromClipboard(HWND window);
