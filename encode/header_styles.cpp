#include "encode/header_styles.h"

#include <cstring>

const HeaderStyle HeaderStyleTable[HEADER_STYLE_COUNT + 1] = {
    {0, 0, 0, "To Be Determined"},
    {1, 1, 0, "Try All Types"},
    {2, 1, 0, "Decode Multiple Inputs"},
    {3, 1, 1, "Single File"},
    {4, 1, 1, "Comp.binaries"},
    {5, 1, 1, "SimTel"},
    {6, 1, 1, "Alt.binaries 1"},
    {7, 1, 1, "Alt.binaries 2"},
    {8, 1, 1, "Alt.binaries 3"},
    {9, 1, 1, "Alt.binaries 4"},
    {10, 1, 1, "UNIX shell (shar)"},
    {11, 1, 1, "X-File"},
    {12, 1, 1, "KOLTAR v2.0"},
    {13, 1, 1, "Wincode v2.3"},
    {14, 1, 1, "POST V1.2.0"},
    {15, 1, 0, "POST V2.0.1"},
    {16, 1, 1, "xmitBin"},
    {17, 1, 1, "bitftp"},
    {18, 1, 0, "AOL"},
    {19, 1, 0, "Squirrel v3.0"},
    {20, 1, 1, "R.E.M."},
    {21, 0, 0, "yEnc Multi-Part"},
    {-1, 0, 0, ""},
};

const char* HeaderStyleName(int row) {
  return (row >= 0 && row < HEADER_STYLE_COUNT) ? HeaderStyleTable[row].name : "";
}

int FindHeaderStyle(const char* name) {
  for (int row = 0; row < HEADER_STYLE_COUNT; ++row)
    if (std::strcmp(HeaderStyleTable[row].name, name) == 0) return row;
  return -1;
}
