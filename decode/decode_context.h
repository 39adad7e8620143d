// The one decode run of the process: the state machine's position, what the header and
// trailer lines said, the format and its decode table, the line being looked at, the
// checksums found and computed, and the reason of the last failure. Read by the line
// classifiers, the line decoder, the joiner and the final report.
#pragma once
#include <cstdint>

#include "core/job_state.h"
#include "decode/part_table.h"

enum DecodeState {
  LOOKFORHEADERTYPE = 0,
  PARSEBEGINLINE = 1,
  PREPAREHEADER = 2,
  DECODELINES = 3,
  PREPARETRAILER = 4,
  CLEANFINISH = 5,
  BADFINISH = 6,
  FINDSEPARATOR = 7,
  FINDSTARTOFDATA = 8,
  LOOKFORPARTCHECKSUM = 9,
  LOOKFORTOTALCHECKSUM = 10,
  CRITICALERROR = 11,
  DECODE_STATE_COUNT = 12,
};

enum LineClass { DataLine = 0, PartTrailer = 1, EndStatement = 2, ChecksumLine = 3, BlankLine = 4 };

// Answers of the Decode Error dialog; the remembered one holds for the rest of a part.
enum DecodeErrorAnswer {
  ANSWER_NONE = 0,
  ANSWER_ABORT = 200,
  ANSWER_SKIP_LINE = 602,
  ANSWER_DECODE_LINE = 603,
  ANSWER_DECODE_ALL = 604,
  ANSWER_SKIP_ALL = 605,
};

enum {
  // StreamReadLine gets this size: at most 254 characters and a NUL. The buffer itself has
  // room to spare so that a repaired short line (at most 1 + 84 + 2 characters) and the
  // end-of-input empty line always fit.
  LINE_READ_SIZE = 255,
  LINE_ROOM = 256,
  // Room of the output name: what MakeOutFile may leave in its name buffer.
  DECODE_NAME_ROOM = PATH_ROOM,
  ERROR_TEXT_ROOM = 512,
  // Worst case of one line: 253 UU/XX data characters carry 189 bytes; a 254-character
  // base64 piece that starts in the middle of a group carries 191.
  DECODED_LINE_ROOM = 192,
};

// The name a run uses until a header names the file.
extern const char UNKNOWN_FILE_NAME[];

struct DecodeContext {
  int state;
  int previousState;
  bool running;
  int style;        // header style of the run, 0 until one is found
  int forcedStyle;  // 0: detect; 3..20: accept only this style
  bool tryAll;
  int format;       // EncodingType
  const signed char* table;
  bool formatDecided;
  int part;          // part and total of the last header
  int headerTotal;
  int trailerPart;   // part and total of the last classified line
  int trailerTotal;
  int lastClass;
  char line[LINE_ROOM];
  int lineLength;    // bytes the last read delivered (may hold NULs, so not strlen)
  long lineNumber;
  long long bytesRead;  // 64-bit: inputs of 2 GiB and more
  long long inputSize;
  int lastProgress;
  long long nextProgressAt;  // the bytes read at which the percentage next changes
  char outputName[DECODE_NAME_ROOM];
  char headerName[DECODE_NAME_ROOM];
  bool nameFound;
  int input;   // stream handles, -1 for none
  int output;
  bool beginSeen;
  bool endSeen;
  bool dataSeen;
  bool restartedByHeader;
  bool statusShown;
  int binaryData;  // 0, 1 found, 2 asked
  int answer;      // remembered DecodeErrorAnswer of the current part
  uint32_t wholeExpectedChecksum;
  int32_t wholeExpectedSize;
  uint32_t wholeCalculatedChecksum;
  int32_t actualSize;
  long mimeCount;
  int groupPosition;
  unsigned char groupBits;
  char errorText[ERROR_TEXT_ROOM];
};

extern DecodeContext g_decode;

// Whether the run decodes UU or XX, whose lines each start with a length character.
inline bool DecodingUuOrXx() { return g_decode.format == TYPE_UU || g_decode.format == TYPE_XX; }

// previous := current; current := state; running := set.
void SetDecodeState(int state);
// The upper-case name of a state, "" outside the table.
const char* DecodeStateName(int state);
// The input's full path (the job's current input).
const char* DecodeInputName();
// Formats the reason of a failure into the run's error text (wsprintf rules).
void SetDecodeError(const char* format, ...);
// The reason given for a character that no alphabet of the run decodes (one %x: the byte).
extern const char kInvalidDataByte[];
// The remark of a file whose data ended without its end line.
extern const char kMissingEndRemark[];
// The report of a failed read of the input (the line number, the input's path).
extern const char kReadFailure[];
// The report of an output whose bytes could not all be written (its path; the system's
// reason follows).
extern const char kWriteFailure[];
// The report of a part's temporary file that could not be made (the part number; the
// system's reason follows).
extern const char kTempFileFailed[];
