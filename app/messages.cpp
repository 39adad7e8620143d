// Message boxes: every report of the program to the user passes through here.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/settings.h"
#include "core/ui.h"

namespace {

// Formats into `text` of `room` characters plus the terminator; longer texts are cut.
size_t FormatInto(char* text, size_t room, const char* format, va_list args) {
  int written = std::vsnprintf(text, room + 1, format, args);
  if (written < 0) {
    text[0] = '\0';
    return 0;
  }
  return static_cast<size_t>(written) > room ? room : static_cast<size_t>(written);
}

// The system's text for `error`, without its closing line break; a plain number when the
// system has no text for it.
void SystemErrorText(DWORD error, char* text, size_t room) {
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text,
                                static_cast<DWORD>(room), nullptr);
  if (length == 0) {
    std::snprintf(text, room, "System error %lu.", static_cast<unsigned long>(error));
    return;
  }
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
    text[--length] = '\0';
}

void AppendCut(char* text, size_t room, size_t used, const char* tail) {
  std::snprintf(text + used, room + 1 - used, "%s", tail);
}

}  // namespace

int ShowMessage(HWND owner, UINT flags, const char* format, ...) {
  char text[MESSAGE_ROOM + 1];
  va_list args;
  va_start(args, format);
  FormatInto(text, MESSAGE_ROOM, format, args);
  va_end(args);
  return MessageBoxA(owner, text, g_identity.longName, flags);
}

int ShowErrorMessage(HWND owner, DWORD error, UINT flags, const char* format, ...) {
  char text[ERROR_MESSAGE_ROOM + 1];
  char systemText[ERROR_MESSAGE_ROOM + 1];
  SystemErrorText(error, systemText, sizeof systemText);
  va_list args;
  va_start(args, format);
  size_t used = FormatInto(text, ERROR_MESSAGE_ROOM, format, args);
  va_end(args);
  AppendCut(text, ERROR_MESSAGE_ROOM, used, "\r\n");
  AppendCut(text, ERROR_MESSAGE_ROOM, std::strlen(text), systemText);
  return MessageBoxA(owner, text, g_identity.longName, flags);
}
