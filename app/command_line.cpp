#include "app/command_line.h"

#include <cctype>
#include <cstring>
#include <string>

#include "app/local_strings.h"
#include "core/job_state.h"
#include "core/names.h"
#include "core/settings.h"
#include "core/ui.h"

namespace {

const char kRecipientPrefix[] = "SMTP:";
const unsigned long kPrimaryRecipient = 1;

struct MethodLetter {
  char letter;
  int method;
  bool singleFileStyle;  // MIME and BinHex are always written as one file
};

const MethodLetter kMethodLetters[] = {
    {'U', METHOD_UU, false},
    {'X', METHOD_XX, false},
    {'M', METHOD_MIME, true},
    {'B', METHOD_BINHEX, true},
};

bool IsSwitch(char c) { return c == '/' || c == '-'; }
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

struct Parser {
  HWND owner;
  const char* at;
  CommandLineRequest request;
  bool failed;

  void Refuse(const char* format, int limit) {
    if (!failed) ShowMessage(owner, MB_ICONEXCLAMATION, format, limit);
    failed = true;
  }

  void EncodeMethod() {
    for (const MethodLetter& letter : kMethodLetters) {
      if (Upper(*at) != letter.letter) continue;
      g_settings.encodemethod = letter.method;
      if (letter.singleFileStyle) g_settings.encodetype = STYLE_SINGLE_FILE;
      ++at;
      return;
    }
  }

  void AddRecipient(const char* name, size_t length) {
    if (length == 0) return;  // an empty name names nobody
    if (g_job.recipientCount >= MAX_RECIPIENTS) {
      Refuse("Too many e-mail recipients on the command line: at most %d can be named.", MAX_RECIPIENTS);
      return;
    }
    std::string text(name, length);
    MailRecipient& recipient = g_job.recipients[g_job.recipientCount];
    recipient.reserved = 0;
    recipient.recipientClass = kPrimaryRecipient;
    recipient.name = StrDup(text.c_str());
    recipient.address = StrDup((kRecipientPrefix + text).c_str());
    recipient.entryIdSize = 0;
    recipient.entryId = nullptr;
    ++g_job.recipientCount;
  }

  // "M@" or "M name,name,...": the list ends at the first name that a blank ends.
  void Mail() {
    g_job.mailOutput = true;
    if (*at == '@') {
      g_job.encodeRequested = 2;
      ++at;
      return;
    }
    g_job.encodeRequested = 1;
    at = SkipBlanks(at);
    for (;;) {
      const char* end = FindTokenEnd(at);
      AddRecipient(at, static_cast<size_t>(end - at));
      at = end;
      if (*at != ',') return;
      ++at;
    }
  }

  // "O name" or "O "name"": the name given to the output. A name ends at a blank (or at its
  // closing quote) so that file names can follow it.
  void OutputName() {
    at = SkipBlanks(at);
    if (*at == ':' || *at == '=') at = SkipBlanks(at + 1);
    const char* start = at;
    const char* end;
    if (*at == '"') {
      start = at + 1;
      end = std::strchr(start, '"');
      if (!end) end = start + std::strlen(start);
      at = *end ? end + 1 : end;
    } else {
      end = at;
      while (*end && *end != ' ' && *end != '\t' && NameCharClass(*end) != NAME_CHAR_INVALID) ++end;
      at = end;
    }
    size_t length = static_cast<size_t>(end - start);
    if (length >= PATH_ROOM) {
      Refuse("The output name given on the command line is longer than %d characters.", PATH_ROOM - 1);
      return;
    }
    std::memcpy(g_job.outputNameGiven, start, length);
    g_job.outputNameGiven[length] = '\0';
  }

  // One option after its switch character; false when the letter is not an option.
  bool Option() {
    char letter = Upper(at[1]);
    if (!std::strchr("CEJMNOR", letter) || letter == '\0') return false;
    at += 2;
    switch (letter) {
      case 'C':
        g_job.clipboardOutput = true;
        g_job.encodeRequested = 1;
        break;
      case 'E':
        g_job.encodeRequested = 1;
        EncodeMethod();
        break;
      case 'J': g_settings.decodejoin = 1; break;
      case 'M': Mail(); break;
      case 'N': g_job.interactive = false; break;
      case 'O': OutputName(); break;
      case 'R': request.associate = true; break;
    }
    return true;
  }

  void Options() {
    for (;;) {
      at = SkipBlanks(at);
      if (!IsSwitch(*at) || !Option()) return;
    }
  }

  // Names become full paths here, so that every output follows its input's folder, whatever
  // the current folder is when the job runs.
  void AddName(const char* name, size_t length) {
    if (length == 0) return;
    char path[PATH_ROOM];
    const std::string given(name, length);
    const DWORD full = length < PATH_ROOM ? GetFullPathNameA(given.c_str(), PATH_ROOM, path, nullptr) : 0;
    if (full == 0 || full >= PATH_ROOM) {
      Refuse("A file name on the command line is longer than %d characters.", PATH_ROOM - 1);
      return;
    }
    if (request.inputs.size() >= MAX_INPUTS) {
      Refuse("Too many files on the command line: at most %d can be processed at a time.", MAX_INPUTS);
      return;
    }
    request.inputs.push_back(path);
  }

  // A quoted name anywhere in the rest of the line wins over the text before it.
  void FileNames() {
    for (;;) {
      at = at + std::strspn(at, " \t,");
      if (!*at) return;
      const char* quote = std::strchr(at, '"');
      const char* start = quote ? quote + 1 : at;
      const char* end = quote ? std::strchr(start, '"') : FindTokenEnd(at);
      if (!end) end = start + std::strlen(start);
      AddName(start, static_cast<size_t>(end - start));
      at = (quote && *end) ? end + 1 : end;
    }
  }
};

}  // namespace

CommandLineRequest ParseCommandLine(HWND owner, const char* commandLine) {
  Parser parser = {owner, commandLine ? commandLine : "", {}, false};
  parser.Options();
  parser.FileNames();
  parser.request.encode = g_job.encodeRequested != 0;
  if (parser.failed) {
    parser.request.inputs.clear();
    FreeRecipients();
    parser.request.associate = false;
    parser.request.refused = true;
  }
  return parser.request;
}

void FreeRecipients() {
  for (int i = 0; i < g_job.recipientCount && i < MAX_RECIPIENTS; ++i) {
    MailRecipient& recipient = g_job.recipients[i];
    StrFree(recipient.name);
    StrFree(recipient.address);
    recipient.name = recipient.address = nullptr;
  }
  g_job.recipientCount = 0;
}
