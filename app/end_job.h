// The end of every job: its summary, the next input of a batch, the temporary input.
#pragma once
#include "core/platform.h"

// Returns 1 when more inputs are pending.
int EndJob(HWND owner, int result, int operation);
void ShowResultSummary(HWND owner, int result, int operation, int encodingType, int parts);
