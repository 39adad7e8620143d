#include "app/encode_or_decode.h"

#include <cstring>

#include "core/job_state.h"
#include "core/platform.h"
#include "core/settings.h"

namespace {

struct ExtensionEntry {
  const char* extension;
  int type;
};

// The first extension of each type is also the one the encoder gives its outputs.
const ExtensionEntry kExtensions[] = {
    {".uue", TYPE_UU},   {".uu", TYPE_UU},    {".xxe", TYPE_XX},     {".xx", TYPE_XX},
    {".mme", TYPE_MIME}, {".mm", TYPE_MIME},  {".b64", TYPE_MIME},   {".hqx", TYPE_BINHEX},
    {".hex", TYPE_BINHEX},
};

const size_t kLongestExtension = 11;  // dot included

int DecideByName(const char* path) {
  int type = ExtensionType(path);
  if (type == TYPE_AUTO) return OP_ENCODE;
  g_job.encodingType = type;
  return OP_DECODE;
}

}  // namespace

int ExtensionType(const char* path) {
  const char* dot = std::strrchr(path, '.');
  if (!dot || std::strlen(dot) > kLongestExtension) return TYPE_AUTO;
  for (const ExtensionEntry& entry : kExtensions)
    if (lstrcmpiA(dot, entry.extension) == 0) return entry.type;
  return TYPE_AUTO;
}

int DecideEncodeOrDecode(const char* path, int operation) {
  if (g_job.encodeRequested) return OP_ENCODE;
  int method = g_settings.decodemethod;
  if (method == DECODE_BY_NAME) return DecideByName(path);
  if (method == DECODE_BY_DATA) {
    if (operation == OP_ENCODE) return OP_ENCODE;
    g_job.encodingType = TYPE_AUTO;
    return OP_DECODE;
  }
  if (method >= METHOD_UU && method <= METHOD_BINHEX) {
    g_job.encodingType = TYPE_UU + (method - METHOD_UU);
    return OP_DECODE;
  }
  return OP_ENCODE;
}

void DecideEncodingTypeFor(const char* path) {
  g_job.encodingType = TYPE_AUTO;
  DecideEncodeOrDecode(path, OP_DECODE);
}
