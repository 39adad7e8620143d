// The program's command line: options, then file names for the input list.
#pragma once
#include <string>
#include <vector>

#include "core/platform.h"

// What start-up does after the command line has been read.
struct CommandLineRequest {
  bool associate;  // R: make the file associations and close
  bool encode;     // an option asked for encoding (E, C, M)
  bool refused;    // the line asked for more than the program holds; reported, nothing queued
  std::vector<std::string> inputs;  // the file names, as full paths
};

// Reads the options of `commandLine` into the settings (for this run only) and the job
// state, and its file names into the request. A line with more names, recipients or a
// longer output name than the tables hold is reported to `owner` and nothing of it is
// queued, so no file is left out silently.
CommandLineRequest ParseCommandLine(HWND owner, const char* commandLine);

// Frees the names and addresses of the command-line recipients; count := 0.
void FreeRecipients();
