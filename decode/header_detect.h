// Recognises the header line of an encoded file or of one part of a multi-part posting.
#pragma once

// Tests the line against every header style in a fixed order. Returns the style (0: no
// header) and gives back part, total and name (DECODE_NAME_ROOM bytes). May read further
// lines of `stream` (X-File, MIME and "table" lines) and set the run's format, name-found
// flag and binary-data flag.
int DetectHeader(char* line, int stream, int* part, int* total, char* name);
