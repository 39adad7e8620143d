// The checksum hooks call the decoder's test and dialog. The others are not written yet:
// they wait for the mail and command-dispatch work; until then there is no mail session,
// and they do nothing.
#include "app/later_hooks.h"

#include "app/program.h"
#include "decode/checksum_dialog.h"

int TestDecodedChecksums() { return TestChecksums(nullptr); }
void ShowChecksumReport(HWND owner) { ShowChecksumDialog(g_program.instance, owner, g_program.helpPath); }
void EndMailSession(bool) {}
void ReleaseChosenRecipients() {}
