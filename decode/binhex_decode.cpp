// UNFINISHED: BinHex decoding is not built yet. The entry points exist so that the state
// machine calls them where they belong; they refuse every BinHex input with a reason the
// user sees in the Retry Decoding text.
#include "decode/binhex_decode.h"

#include "decode/decode_context.h"

namespace {
const char kNotAvailable[] = "BinHex decoding is not available in this version.";
}

int BinHexReadHeader(HWND, int) {
  SetDecodeError(kNotAvailable);
  return BINHEX_NOT_AVAILABLE;
}

int BinHexDecodeChunk(HWND, int, unsigned char*, int, bool, PartRecord*, int* nextState) {
  SetDecodeError(kNotAvailable);
  *nextState = BADFINISH;
  return -1;
}
