// The checksum hooks call the decoder's test and dialog.
#include "app/checksum_report.h"

#include "app/program.h"
#include "decode/checksum_dialog.h"

int TestDecodedChecksums() { return TestChecksums(nullptr); }
void ShowChecksumReport(HWND owner) { ShowChecksumDialog(g_program.instance, owner, g_program.helpPath); }
