// The summary that ends a job chosen by the user.
#pragma once
#include "core/platform.h"

void ShowResultSummary(HWND owner, int result, int operation, int encodingType, int parts);
