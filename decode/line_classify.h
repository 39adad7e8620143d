// What a line means once a header has been found: the style's separator, and while decoding
// whether it is data, a trailer, the "end" statement, a checksum line or a blank line.
#pragma once

// Classifies the line (LineClass) and gives back the part and total a trailer names
// (unless it names none: the current part and the run's total). May read following blank
// lines into the line buffer and may set the run's total.
int ClassifyDecodeLine(char* line, int part, int stream, int* trailerPart, int* trailerTotal);
// Whether ClassifyDecodeLine finds every line that starts with `c` to be data, in any style.
bool StartsDataLine(char c);
// True when the line is the current style's separator between header and data; may read
// one more line into the buffer.
bool IsSeparatorLine(char* line, int stream);
