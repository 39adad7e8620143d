// The header styles: the framings of the posting tools that the encoder writes and the
// decoder recognises. Row numbers are the style identifiers stored in the settings.
#pragma once

enum { HEADER_STYLE_COUNT = 22, HEADER_STYLE_NAME_ROOM = 32 };

enum HeaderStyleId {
  STYLE_TO_BE_DETERMINED = 0,
  STYLE_TRY_ALL = 1,
  STYLE_MULTIPLE_INPUTS = 2,
  STYLE_SINGLE = 3,
  STYLE_COMP_BINARIES = 4,
  STYLE_SIMTEL = 5,
  STYLE_ALT_BINARIES_1 = 6,
  STYLE_ALT_BINARIES_2 = 7,
  STYLE_ALT_BINARIES_3 = 8,
  STYLE_ALT_BINARIES_4 = 9,
  STYLE_SHAR = 10,
  STYLE_X_FILE = 11,
  STYLE_KOLTAR = 12,
  STYLE_WINCODE = 13,
  STYLE_POST_120 = 14,
  STYLE_POST_201 = 15,
  STYLE_XMITBIN = 16,
  STYLE_BITFTP = 17,
  STYLE_AOL = 18,
  STYLE_SQUIRREL = 19,
  STYLE_REM = 20,
  // The parts of a yEnc posting: recognised by their own header lines whatever the frame,
  // so offered in no list.
  STYLE_YENC_PARTS = 21,
};

struct HeaderStyle {
  int id;
  int decoding;  // offered for decoding
  int encoding;  // offered for encoding
  char name[HEADER_STYLE_NAME_ROOM];
};

// HEADER_STYLE_COUNT rows and an end row with an empty name.
extern const HeaderStyle HeaderStyleTable[HEADER_STYLE_COUNT + 1];

// The name of a row; the empty text for a number outside the table.
const char* HeaderStyleName(int row);
// The row with exactly this name, or -1.
int FindHeaderStyle(const char* name);
