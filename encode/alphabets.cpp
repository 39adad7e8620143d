#include "encode/alphabets.h"

#include <cstring>

#include "core/settings.h"
#include "encode/checksum.h"

EncoderState g_encoder;

const char* const MethodNames[5] = {"Auto", "UU", "XX", "MIME", "BinHex"};

const char UuAlphabet[66] =
    "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_ ";
const char XxAlphabet[65] = "+-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
const char Base64Alphabet[65] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char BinHexAlphabet[65] = "!\"#$%&'()*+,-012345689@ABCDEFGHIJKLMNPQRSTUVXYZ[`abcdefhijklmpqr";

const char* g_encodeAlphabet = UuAlphabet;

void SelectEncodeAlphabet(int storedMethod) {
  switch (storedMethod) {
    case METHOD_UU: g_encodeAlphabet = UuAlphabet; break;
    case METHOD_XX: g_encodeAlphabet = XxAlphabet; break;
    case METHOD_MIME: g_encodeAlphabet = Base64Alphabet; break;
    case METHOD_BINHEX: g_encodeAlphabet = BinHexAlphabet; break;
    default: break;
  }
}

const char* MethodName(int method) {
  return (method >= 0 && method <= 4) ? MethodNames[method] : "";
}

void ResetEncoderState(int method, int style) {
  std::memset(&g_encoder, 0, sizeof g_encoder);
  g_encoder.method = method;
  g_encoder.style = style;
  // A hand-edited encodecrlf other than 175/176 would give
  // an empty line end and unreadable output; fall back to CR LF. The shell archive is a
  // script for /bin/sh and only works with LF.
  g_encoder.eol = EndOfLineString();
  if (g_encoder.eol[0] == '\0') g_encoder.eol = "\r\n";
  if (style == 10) g_encoder.eol = "\n";
  g_encoder.eolLength = static_cast<int>(std::strlen(g_encoder.eol));
  g_encoder.sumsWanted = true;
  g_encoder.firstInput = true;
  g_encoder.lastInput = true;
}

int EncodeLine(const unsigned char* input, int count, char* output) {
  const int method = g_encoder.method;
  if (method < ENCODE_UU || method > ENCODE_MIME || count < 0 || count > ENCODE_BLOCK) return -1;
  const char* a = g_encodeAlphabet;
  char* out = output;
  const bool lengthChar = method != ENCODE_MIME;
  if (lengthChar) *out++ = a[count];
  int i = 0;
  for (; i + 3 <= count; i += 3) {
    const unsigned b0 = input[i], b1 = input[i + 1], b2 = input[i + 2];
    out[0] = a[b0 >> 2];
    out[1] = a[((b0 & 3u) << 4) | (b1 >> 4)];
    out[2] = a[((b1 & 15u) << 2) | (b2 >> 6)];
    out[3] = a[b2 & 63u];
    out += 4;
  }
  const int rest = count - i;
  int pads = 0;
  if (rest == 1) {
    const unsigned b0 = input[i];
    *out++ = a[b0 >> 2];
    *out++ = a[(b0 & 3u) << 4];
    if (!lengthChar) pads = 2;
  } else if (rest == 2) {
    const unsigned b0 = input[i], b1 = input[i + 1];
    *out++ = a[b0 >> 2];
    *out++ = a[((b0 & 3u) << 4) | (b1 >> 4)];
    *out++ = a[(b1 & 15u) << 2];
    if (!lengthChar) pads = 1;
  }
  const int characters = static_cast<int>(out - output);  // pads not yet written
  if (g_encoder.sumsWanted) {
    g_encoder.wholeSum = SumBytes(g_encoder.wholeSum, input, static_cast<size_t>(count));
    uint16_t s = SumBytes(g_encoder.sectionSum, output, static_cast<size_t>(characters));
    g_encoder.sectionSum = SumStep(s, 0x0A);
    g_encoder.sectionCount += static_cast<uint32_t>(characters + pads + 1);
  }
  for (int p = 0; p < pads; ++p) *out++ = '=';
  for (int e = 0; e < g_encoder.eolLength; ++e) *out++ = g_encoder.eol[e];
  *out = '\0';
  return static_cast<int>(out - output);
}
