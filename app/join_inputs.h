// Several inputs decoded as one: they are concatenated into a temporary file, which is then
// decoded and deleted.
#pragma once
#include "core/platform.h"

// Joins the inputs of the list in their order and posts UM_DECODE_FILE for the joined file.
void JoinInputs(HWND window);
