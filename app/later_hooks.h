// Calls of the shell into the decoder's checksum test and its report, and into work that
// is still to come: the mail session, which does nothing yet (see later_hooks.cpp) and is
// replaced when that work arrives.
#pragma once
#include "core/platform.h"
#include "decode/checksum_verify.h"

// Tests the checksums of the decoded output; returns the number of checksum errors.
// ClearChecksumFound and ChecksumFound come with the test.
int TestDecodedChecksums();
// Shows the checksum error report (dialog 303).
void ShowChecksumReport(HWND owner);
// Ends the mail session; `report` says whether failures are shown.
void EndMailSession(bool report);
// Releases the recipients chosen in the mail system's address dialog.
void ReleaseChosenRecipients();
