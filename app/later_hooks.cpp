// Not written yet: these wait for the checksum, mail and command-dispatch work. Until then
// there is no checksum data and no mail session, and they do nothing.
#include "app/later_hooks.h"

void ClearChecksumFound() {}
bool ChecksumFound() { return false; }
int TestDecodedChecksums() { return 0; }
void ShowChecksumReport(HWND) {}
void EndMailSession(bool) {}
void ReleaseChosenRecipients() {}

// Until the command dispatch decides by name or data, the decoder detects the type.
void DecideEncodingTypeFor(const char*) {}
