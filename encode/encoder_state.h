// The encoder's module state shared by the line encoder, the driver, the header and
// trailer writers and the BinHex encoder.
#pragma once
#include <cstdint>

#include "core/platform.h"

enum EncodeMethod { METHOD_NONE = 0, ENCODE_UU = 1, ENCODE_XX = 2, ENCODE_MIME = 3, ENCODE_BINHEX = 4 };

enum { MIME_BOUNDARY_ROOM = 32, MAIL_SUBJECT_ROOM = 512, ENCODE_PATH_ROOM = 260 };

struct EncoderState {
  int method;           // 1 to 4
  int style;            // header style 0 to 20
  const char* eol;      // line end of all encoder output
  int eolLength;        // 1 or 2
  bool sumsWanted;      // feed the checksum accumulators (they are written only when wanted)
  bool writeSumLines;   // the "sum -r/size" lines are written
  bool firstInput;      // this text starts its output (MIME version line and boundary)
  bool lastInput;       // last input of the selection (MIME closing boundary)
  DWORD inputSize;
  // Checksum accumulators.
  uint16_t sectionSum;
  uint32_t sectionCount;
  uint16_t wholeSum;
  char inputPath[ENCODE_PATH_ROOM];
  char boundary[MIME_BOUNDARY_ROOM];
  char subject[MAIL_SUBJECT_ROOM];
};

extern EncoderState g_encoder;

// Resets the encoder state for a job of `method` and `style` with the settings' line end
// (an unknown encodecrlf falls back to CR LF; style 10, the shell archive, always uses LF).
void ResetEncoderState(int method, int style);
