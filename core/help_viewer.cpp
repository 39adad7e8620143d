#include "core/help_viewer.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/names.h"

namespace {

struct HelpTopic {
  const char* keyword;
  const char* id;  // the topic's keyword in the help source
};

const HelpTopic kHelpTopics[] = {
    {"Keyboard", "keys"},
    {"Commands", "cmds"},
    {"Procedures", "steps"},
    {"support", "suppt"},
    {"cannot decode", "nodec"},
    {"cannot encode", "noenc"},
    {"invalid checksum", "cksum"},
    {"invalid data", "baddt"},
    {"unknown multipart", "multi"},
    {"ask encode", "askec"},
    {"Check Version", "vers"},
    {"General Configuration", "cfgen"},
    {"Encoding Configuration", "cfenc"},
    {"Decoding Configuration", "cfdec"},
};

const char kHtmlHelpExtension[] = ".chm";

bool SameIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

}  // namespace

const char* HelpTopicId(const char* keyword) {
  for (const HelpTopic& topic : kHelpTopics)
    if (SameIgnoringCase(topic.keyword, keyword)) return topic.id;
  return nullptr;
}

bool SiblingHelpFile(const char* helpFile, const char* extension, char* dest, size_t room) {
  const char* dot = std::strrchr(FileNamePart(helpFile), '.');
  const int stem = static_cast<int>(dot ? dot - helpFile : std::strlen(helpFile));
  const int written = std::snprintf(dest, room, "%.*s%s", stem, helpFile, extension);
  if (written < 0 || static_cast<size_t>(written) >= room) {
    if (room) dest[0] = '\0';
    return false;
  }
  return true;
}

#ifdef _WIN32
bool HelpFilePresent(const char* helpFile) {
  char chm[MAX_PATH];
  return FileExists(helpFile) ||
         (SiblingHelpFile(helpFile, kHtmlHelpExtension, chm, sizeof chm) && FileExists(chm));
}

bool OpenHelpTopic(HWND owner, const char* helpFile, const char* keyword) {
  char chm[MAX_PATH];
  if (HtmlHelpAvailable() && SiblingHelpFile(helpFile, kHtmlHelpExtension, chm, sizeof chm) && FileExists(chm))
    return OpenHtmlHelpTopic(owner, chm, keyword);
  return OpenWinHelpTopic(owner, helpFile, keyword);
}

void CloseHelp(HWND owner, const char* helpFile) {
  CloseHtmlHelp();
  CloseWinHelp(owner, helpFile);
}
#endif
