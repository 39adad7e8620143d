#include "encode/name_forms.h"

#include <cstdio>
#include <cstring>

#include "core/job_state.h"
#include "core/name_charsets.h"
#include "core/names.h"
#include "core/platform.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

void CopyText(char* dest, size_t room, const char* text, size_t len) {
  if (room == 0) return;
  if (len >= room) len = CharacterBoundary(text, room - 1);
  std::memcpy(dest, text, len);
  dest[len] = '\0';
}

}  // namespace

void EncodeShortName(const char* path, char* dest, size_t room) {
  // Where names are UTF-8, a name beyond ASCII is written as it is: the file system's 8.3
  // form of it is a made-up ASCII name that keeps nothing of the file's name.
  const char* base = FileNamePart(path);
  if (ProgramUsesUtf8() && !IsAsciiText(base)) {
    CopyText(dest, room, base, std::strlen(base));
    return;
  }
  char shortPath[MAX_PATH];
  DWORD n = GetShortPathNameA(path, shortPath, sizeof shortPath);
  const char* name = (n > 0 && n < sizeof shortPath) ? FileNamePart(shortPath) : "";
  if (*name == '\0') name = FileNamePart(path);
  CopyText(dest, room, name, std::strlen(name));
}

void EncodeQuotedName(const char* path, char* dest, size_t room) {
  const char* base = FileNamePart(path);
  if (std::strchr(base, ' ') != nullptr)
    std::snprintf(dest, room, "\"%s\"", base);
  else
    CopyText(dest, room, base, std::strlen(base));
}

const char* DefaultExtension(int type) {
  switch (type) {
    case TYPE_UU: return ".uue";
    case TYPE_XX: return ".xxe";
    case TYPE_MIME: return ".mme";
    case TYPE_BINHEX: return ".hqx";
    default: return "";
  }
}

char* ComposeEncodeOutputName(const char* inputPath, int method, int k, int n, char* dest) {
  const size_t room = OUTPUT_NAME_ROOM;
  if (g_job.clipboardOutput) {
    std::snprintf(dest, room, "the Clipboard");
    return dest;
  }
  if (g_job.mailOutput) {
    std::snprintf(dest, room, "%u E-mail Recipient%s", static_cast<unsigned>(g_job.mailRecipientCount),
                  g_job.mailRecipientCount == 1 ? "" : "s");
    return dest;
  }
  const char* ext = DefaultExtension(method);
  const size_t extLen = std::strlen(ext);
  const bool given = g_job.outputNameGiven[0] != '\0';
  // Decision: a slash separates folders as a backslash does, so that native paths work too.
  if (k == 1 && n == 1) {
    if (given) {
      CopyText(dest, room, g_job.outputNameGiven, std::strlen(g_job.outputNameGiven));
      return dest;
    }
    const char* base = FileNamePart(inputPath);
    const char* dot = std::strrchr(base, '.');
    size_t keep = dot ? static_cast<size_t>(dot - inputPath) : std::strlen(inputPath);
    // Decision: the stem is shortened so that the extension always fits the 255 characters.
    if (keep + extLen > room - 1) keep = CharacterBoundary(inputPath, room - 1 - extLen);
    std::memcpy(dest, inputPath, keep);
    std::memcpy(dest + keep, ext, extLen + 1);
    return dest;
  }
  const char* source = given ? g_job.outputNameGiven : inputPath;
  const char* start = source;
  for (const char* p = source; *p; ++p)
    if (IsSeparator(*p)) start = p + 1;
  const char* stop = start;
  for (int steps = 0; steps < 250 && *stop && *stop != '.'; ++steps) ++stop;
  char number[16];
  std::snprintf(number, sizeof number, "%d", k);
  const size_t tailLen = std::strlen(number) + extLen;
  size_t keep = static_cast<size_t>(stop - source);
  if (keep + tailLen > room - 1) keep = room - 1 - tailLen;
  keep = CharacterBoundary(source, keep);  // the step limit above may stop inside a character
  std::memcpy(dest, source, keep);
  std::snprintf(dest + keep, room - keep, "%s%s", number, ext);
  return dest;
}
