// The Simple MAPI calls the program makes, taken by name from the platform's MAPI library
// the first time mail is used. The program does not link against any mail system: when the
// library or one of its entry points is missing, the call answers MAPI_E_NOT_SUPPORTED and
// only the mail commands notice.
#pragma once
#include "core/platform.h"
// <mapi.h> needs the Windows types first.
#include <mapi.h>

#ifndef MAPI_E_NOT_SUPPORTED
#define MAPI_E_NOT_SUPPORTED 26
#endif

ULONG MapiLogon(HWND window, FLAGS flags, LHANDLE* session);
ULONG MapiLogoff(LHANDLE session, HWND window);
ULONG MapiAddress(LHANDLE session, HWND window, ULONG presetCount, MapiRecipDesc* preset, ULONG* count,
                  MapiRecipDesc** chosen);
ULONG MapiSendMail(LHANDLE session, HWND window, MapiMessage* message, FLAGS flags);
ULONG MapiFindNext(LHANDLE session, HWND window, const char* seed, FLAGS flags, char* found);
ULONG MapiReadMail(LHANDLE session, HWND window, const char* id, FLAGS flags, MapiMessage** message);
// Releases memory that the mail system handed out; null is allowed.
void MapiFree(void* memory);
