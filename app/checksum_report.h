// Calls of the shell into the decoder's checksum test and its report.
#pragma once
#include "core/platform.h"
#include "decode/checksum_verify.h"

// Tests the checksums of the decoded output; returns the number of checksum errors.
// ClearChecksumFound and ChecksumFound come with the test.
int TestDecodedChecksums();
// Shows the checksum error report (dialog 303).
void ShowChecksumReport(HWND owner);
