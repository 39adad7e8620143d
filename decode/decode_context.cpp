#include "decode/decode_context.h"

#include <cstdarg>
#include <cstdio>

const char UNKNOWN_FILE_NAME[] = "DontKnow.Yet";
const char kInvalidDataByte[] = "Invalid encoded data byte (0x%x).";
const char kMissingEndRemark[] = "\r\n\r\nMissing 'end' statement.";
const char kReadFailure[] = "Line %ld: Read Failure of %s!";
const char kWriteFailure[] = "Write Failure on %s because";
const char kTempFileFailed[] = "Can't Create Temporary File for Part %d because";

DecodeContext g_decode;

namespace {

const char* const kStateNames[DECODE_STATE_COUNT] = {
    "LOOKFORHEADERTYPE", "PARSEBEGINLINE", "PREPAREHEADER",       "DECODELINES",
    "PREPARETRAILER",    "CLEANFINISH",    "BADFINISH",           "FINDSEPARATOR",
    "FINDSTARTOFDATA",   "LOOKFORPARTCHECKSUM", "LOOKFORTOTALCHECKSUM", "CRITICALERROR",
};

}  // namespace

void SetDecodeState(int state) {
  g_decode.previousState = g_decode.state;
  g_decode.state = state;
  g_decode.running = true;
}

const char* DecodeStateName(int state) {
  return (state >= 0 && state < DECODE_STATE_COUNT) ? kStateNames[state] : "";
}

const char* DecodeInputName() { return g_job.inputPath; }

void SetDecodeError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(g_decode.errorText, sizeof g_decode.errorText, format, args);
  va_end(args);
}
