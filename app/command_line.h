// The program's command line: options, then file names for the input list.
#pragma once

// Reads the options and the file names of the command line into the settings and the job
// state. Not written yet: the arguments are ignored for now and nothing is posted.
void ParseCommandLine(const char* commandLine);
