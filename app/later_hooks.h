// Calls of the shell into work that is still to come: the checksum test and its report,
// the mail session and the encode-or-decode decision. Each does nothing yet (see
// later_hooks.cpp) and is replaced when that work arrives.
#pragma once
#include "core/platform.h"

// Clears the flag that a checksum test found valid checksum data.
void ClearChecksumFound();
bool ChecksumFound();
// Tests the checksums of the decoded output; returns the number of checksum errors.
int TestDecodedChecksums();
// Shows the checksum error report (dialog 303).
void ShowChecksumReport(HWND owner);
// Ends the mail session; `report` says whether failures are shown.
void EndMailSession(bool report);
// Releases the recipients chosen in the mail system's address dialog.
void ReleaseChosenRecipients();
// The encode-or-decode decision for a file chosen to decode, for its effect on the
// encoding type.
void DecideEncodingTypeFor(const char* path);
