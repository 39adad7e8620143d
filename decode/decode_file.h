// The decode state machine: reads one input of text, finds the encoded files in it (whole
// or in parts, in any order), decodes them and writes the outputs.
#pragma once
#include "core/platform.h"

// Decodes the input stream (open for reading at its start; DecodeFile closes it). The run's
// format comes from g_job.encodingType, the input's path from g_job.inputPath. Returns 0
// decoded, 1 aborted, 2 encode the file instead, -1 the input ended where it cannot end,
// -2 failed (reported, or declined at a question), -3 the naming of the output cancelled.
int DecodeFile(HWND window, int input, int interactive);
