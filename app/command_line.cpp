#include "app/command_line.h"

void ParseCommandLine(const char*) {
  // The options and file names are read by the command-line work still to come.
}
