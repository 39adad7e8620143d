// Names of operations and encoding types in status lines and summaries.
#pragma once

// "", "Encode", "Decode", "Concatenate" for 0..3; the empty text for any other number.
const char* OperationName(int operation);
// "Auto", "UU", "XX", "MIME", "BinHex" for 0..4; the empty text for any other number.
const char* EncodingTypeName(int type);
