// The four alphabets, the method-name table and the line encoder of UU, XX and
// MIME base64.
#pragma once
#include "encode/encoder_state.h"

enum { ENCODE_BLOCK = 45, ENCODED_LINE_ROOM = 1 + 60 + 2 + 1 };

// Indexed by method value 0 to 4: "Auto", "UU", "XX", "MIME", "BinHex".
extern const char* const MethodNames[5];
extern const char UuAlphabet[66];      // 64 characters and a trailing space
extern const char XxAlphabet[65];
extern const char Base64Alphabet[65];
extern const char BinHexAlphabet[65];

// The alphabet in use (one encoder-wide reference).
extern const char* g_encodeAlphabet;

// Sets the current alphabet from a stored method value (182 UU, 183 XX, 184 base64,
// 185 BinHex); any other value leaves it unchanged.
void SelectEncodeAlphabet(int storedMethod);

// The method's name, "" for a value outside 0 to 4.
const char* MethodName(int method);

// Encodes count (0 to 45) bytes in the current job's method (g_encoder.method), appends the
// line end and a NUL, feeds the checksums and returns the length written, NUL excluded.
// Returns -1 and writes nothing for BinHex (or a count outside 0 to 45).
int EncodeLine(const unsigned char* input, int count, char* output);
