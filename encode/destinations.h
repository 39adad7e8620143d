// The clipboard hand-over and the e-mail send of the encode driver. The clipboard lives in
// encode/clipboard_destination.cpp; the e-mail send belongs to the mail layer
// (mail/mail_destination.cpp), and the engine tests link a recording stand-in for it. The
// file destination lives in the driver itself.
#pragma once
#include "core/platform.h"

// Hands the output block (locked once, NUL-terminated text) over to the clipboard as CF_TEXT.
// Returns 0 (the clipboard owns the memory) or -2 (reported; the memory has been released).
int HandOverToClipboard(HWND owner, HGLOBAL memory);
// Sends one part's text as one message with the subject g_encoder.subject to the selection's
// recipients. Returns 0 or -2 (the failure has been reported).
int SendEncodedPart(HWND owner, const char* text);
