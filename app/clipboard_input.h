// The clipboard as an input of the decoder, which reads files only: its text is copied into
// a temporary file that then becomes the current input.
#pragma once
#include "core/platform.h"

// Whether the clipboard holds text (CF_TEXT), for the "Decode from Clipboard" command and its
// menu item.
bool ClipboardHoldsText();

// Copies the clipboard's text, followed by two line ends, into a new temporary file and
// puts its path into `path` (260 characters). Returns 0 when the file is written, 1 on any
// failure, which has been reported here; a failure leaves no temporary file behind.
int ClipboardToTempFile(HWND owner, char* path);
