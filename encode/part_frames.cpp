#include "encode/part_frames.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/name_charsets.h"
#include "core/settings.h"
#include "encode/alphabets.h"
#include "encode/binhex_encode.h"
#include "encode/checksum.h"
#include "encode/encode_driver.h"
#include "encode/header_styles.h"
#include "core/names.h"
#include "encode/name_forms.h"

namespace {

const char PROGRAM_NAME[] = "Zentrel32";
// The stem of an archive name holds 8 bytes.
const size_t ARCHIVE_STEM_LIMIT = 8;

// Formats (printf rules; wsprintf forms are written with explicit types) and
// appends the text.
void AppendFormat(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0) return;
  AppendOutput(text, static_cast<size_t>(n) < sizeof text ? static_cast<size_t>(n) : sizeof text - 1);
}

void Eol() { AppendOutput(g_encoder.eol, static_cast<size_t>(g_encoder.eolLength)); }

// A line of the encoded text covered by the section checksum: its characters and a 0x0A.
void AppendCoveredLine(const char* text) {
  const size_t len = std::strlen(text);
  AppendOutput(text, len);
  Eol();
  if (g_encoder.sumsWanted) {
    g_encoder.sectionSum = SumStep(SumBytes(g_encoder.sectionSum, text, len), 0x0A);
    g_encoder.sectionCount += static_cast<uint32_t>(len + 1);
  }
}

void FormBoundary() {
  const uint32_t size = g_encoder.inputSize;
  std::snprintf(g_encoder.boundary, sizeof g_encoder.boundary, "%lu_boundary_%lx",
                static_cast<unsigned long>(size), static_cast<unsigned long>(uint32_t(1u - size)));
}

// Only the single-file style writes the MIME headers and forms a boundary; in any other
// style there is no multipart body to close, and a bare "----" would run into the style's
// trailer line.
void CloseMimeBoundary() {
  char closing[MIME_CLOSING_ROOM];
  if (g_encoder.lastInput && MimeClosingText(closing)) AppendText(closing);
}

// A file name parameter: `key="name"` for an ASCII name, else the RFC 2231 form
// `key*=UTF-8''r%C3%A9sum%C3%A9.txt`, which carries any name in 7-bit text.
void AppendNameParameter(const char* key, const char* base) {
  if (IsAsciiText(base)) {
    AppendFormat("%s=\"%s\"", key, base);
    return;
  }
  char utf8[3 * MAX_PATH];
  NameToUtf8(base, utf8, sizeof utf8);
  AppendFormat("%s*=UTF-8''", key);
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++p) {
    if (std::isalnum(*p) || std::strchr("!#$&+-.^_`|~", *p)) AppendOutput(reinterpret_cast<const char*>(p), 1);
    else AppendFormat("%%%02X", static_cast<unsigned>(*p));
  }
}

void MimeHeaders(const char* base, bool binHex) {
  if (g_encoder.firstInput) {
    AppendText("MIME-Version: 1.0");
    Eol();
    FormBoundary();
    AppendFormat("Content-Type: multipart/mixed; boundary=\"%s\"", g_encoder.boundary);
    Eol();
  }
  Eol();
  AppendFormat("--%s", g_encoder.boundary);
  Eol();
  AppendFormat("Content-Type: Application/%s; ", binHex ? "mac-binhex40" : "octet-stream");
  AppendNameParameter("name", base);
  Eol();
  AppendFormat("Content-Description: \"%s %s encoded by %s\"", base, binHex ? "binhex" : "base64",
               PROGRAM_NAME);
  Eol();
  if (!binHex) {
    AppendText("Content-Transfer-Encoding: BASE64");
    Eol();
  }
  AppendText("Content-Disposition: attachment; ");
  AppendNameParameter("filename", base);
  Eol();
  Eol();
  if (binHex) {
    Eol();
    AppendText("(This file must be converted with BinHex 4.0)");
    Eol();
    AppendText(":");
  }
}

// The name of the shell archive's file variable, quoted for sh when it holds anything but
// letters, digits and . _ - + (decision: a name with blanks must not break the script).
void ShellWord(const char* name, char* dest, size_t room) {
  bool plain = *name != '\0';
  for (const char* p = name; *p; ++p)
    if (!std::isalnum(static_cast<unsigned char>(*p)) && !std::strchr("._-+", *p)) plain = false;
  if (plain) {
    std::snprintf(dest, room, "%s", name);
    return;
  }
  size_t n = 0;
  auto put = [&](char c) {
    if (n + 1 < room) dest[n++] = c;
  };
  put('\'');
  for (const char* p = name; *p; ++p) {
    if (*p == '\'') {
      put('\'');
      put('\\');
      put('\'');
      put('\'');
    } else {
      put(*p);
    }
  }
  put('\'');
  dest[n] = '\0';
}

}  // namespace

void AppendText(const char* text) { AppendOutput(text, std::strlen(text)); }

uint32_t HeaderEstimate(int style) {
  const uint32_t e = static_cast<uint32_t>(g_encoder.eolLength);
  uint32_t b;
  switch (style) {
    case 3:
      b = g_encoder.method == ENCODE_MIME     ? 111 + 4 * e
          : g_encoder.method == ENCODE_BINHEX ? 306 + 9 * e
                                              : 23;
      break;
    case 4: b = 27; break;
    case 5: b = 48; break;
    case 6: b = 90 + e; break;
    case 7: b = 95 + e; break;
    case 8: b = 29; break;
    case 9: b = 96; break;
    case 10: b = 275; break;
    case 11: b = 145; break;
    case 12: b = 125; break;
    case 13: b = 53; break;
    case 14: b = 66 + e; break;
    case 16: b = 67; break;
    case 17: b = 174 + 5 * e; break;
    case 20: b = 0; break;
    default: return 0;
  }
  return b + e;
}

uint32_t TrailerEstimate(int style) {
  const uint32_t e = static_cast<uint32_t>(g_encoder.eolLength);
  const uint32_t c = g_settings.encodechecksum ? 1 : 0;
  uint32_t a;
  switch (style) {
    case 3:
      a = g_encoder.method == ENCODE_MIME ? 0 : g_encoder.method == ENCODE_BINHEX ? 26 + 2 * e : 3;
      break;
    case 4: a = 25; break;
    case 5: a = 38; break;
    case 6: a = 3; break;
    case 7: a = 61; break;
    case 8: a = 3; break;
    case 9: a = 61; break;
    case 10: a = 400; break;
    case 11: a = 59; break;
    case 12: a = 61; break;
    case 13: a = 53; break;
    case 14: a = 27; break;
    case 16: a = 65; break;
    case 17: a = e; break;
    case 20: a = 0; break;
    default: return 0;
  }
  return a + e + c * (e + 57);
}

void WritePartHeader(const char* inputPath, int k, int n) {
  g_encoder.sectionSum = 0;
  g_encoder.sectionCount = 0;
  const char* base = FileNamePart(inputPath);
  char shortName[MAX_PATH], quoted[MAX_PATH + 2], stem[MAX_PATH];
  EncodeShortName(inputPath, shortName, sizeof shortName);
  EncodeQuotedName(inputPath, quoted, sizeof quoted);
  const int method = g_encoder.method;
  char subject[MAIL_SUBJECT_ROOM];
  subject[0] = '\0';
  const char* E = g_encoder.eol;

  switch (g_encoder.style) {
    case 3:
      if (method == ENCODE_MIME) MimeHeaders(base, false);
      else if (method == ENCODE_BINHEX) MimeHeaders(base, true);
      break;
    case 4: {
      char shortStem[MAX_PATH];
      BaseNameWithoutExtension(shortName, shortStem, sizeof shortStem);
      shortStem[CharacterBoundary(shortStem, ARCHIVE_STEM_LIMIT)] = '\0';
      AppendFormat("Archive-name: %s/part%02d%sBEGIN--cut here--cut here--%s", shortStem, k, E, E);
      break;
    }
    case 5: AppendFormat("------------ Part %d of %d ------------%s", k, n, E); break;
    case 6:
      std::snprintf(subject, sizeof subject, "Subject: %s (%d/%d)%s%s", shortName, k, n, E, E);
      AppendText(subject);
      AppendFormat("BEGIN --- CUT HERE --- Cut Here --- cut here --- %s%s", shortName, E);
      break;
    case 7:
      std::snprintf(subject, sizeof subject, "Subject: %s [part %d/%d]%s%s", shortName, k, n, E, E);
      AppendText(subject);
      AppendFormat("BEGIN------------------>  cut here  <------------------------%s", E);
      break;
    case 8:
      std::snprintf(subject, sizeof subject, "Subject: %s [%d/%d]%s%s", shortName, k, n, E, E);
      AppendText(subject);
      break;
    case 9:
      BaseNameWithoutExtension(inputPath, stem, sizeof stem);
      std::snprintf(subject, sizeof subject, "Subject: %s [%d/%d]%s%s", stem, k, n, E, E);
      AppendText(subject);
      AppendFormat("BEGIN----------------------CUT HERE--------------------------%s", E);
      break;
    case 10: {
      char word[2 * MAX_PATH + 8];
      ShellWord(shortName, word, sizeof word);
      AppendFormat("#!/bin/sh%s#%s# This is a shell archive. Cut everything off before%s", E, E, E);
      AppendFormat("# the #!/bin/sh and feed the rest to /bin/sh%s#%s", E, E);
      AppendFormat("part=%d%sfile=%s%s", k, E, word, E);
      // Fix: strip only this section's own frame lines (its first and last line), not every
      // data line that happens to start with BEGIN or END.
      AppendFormat("sed -e '1d' -e '$d' << \\End_of_Section > \"$file.uue.$part\"%s", E);
      AppendFormat("BEGIN------------ %s ------------ part %d/%d ---%s", shortName, k, n, E);
      break;
    }
    case 11:
      AppendFormat("X-File-Name: %s%sX-Part: %d%sX-Part-Total: %d%s%s", quoted, E, k, E, n, E, E);
      AppendFormat("BEGIN------------------------cut here------------------------%s", E);
      break;
    case 12:
      AppendFormat("%s    section  %d/%d   KOLTAR 2.0 by Orvanta, Inc.%s%s", shortName, k, n, E, E);
      AppendFormat("BEGIN----------------------CUT HERE--------------------------%s", E);
      break;
    case 13: AppendFormat("section %d/%d   file %s   [ Wincode v2.3 ]%s%s", k, n, shortName, E, E); break;
    case 14:
      AppendFormat("POST V1.2.0 %s (Part %d/%d)%s%sBEGIN -- Cut Here -- cut here%s", shortName, k, n, E, E, E);
      break;
    case 16: AppendFormat("BEGIN --- CUT HERE --- Cut Here --- cut here --- %s %d/%d%s", shortName, k, n, E); break;
    case 17:
      AppendFormat("Subject: %s, Part %03d of %03d (%sencoded)%s%s", shortName, k, n, MethodName(method), E, E);
      AppendFormat("The following line should contain ASCII characters 0x20-0x5F%s", E);
      AppendFormat("%s%s%s", g_encodeAlphabet, E, E);
      break;
    case 20: {
      char lower[8];
      std::snprintf(lower, sizeof lower, "%s", MethodName(method));
      for (char* p = lower; *p; ++p) *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
      AppendFormat("section %d of %sencode 5.24 of file %s    by Orvanta, Inc.%s%s", k, lower, shortName, E, E);
      break;
    }
    default: break;
  }

  if (k == 1 && (method == ENCODE_UU || method == ENCODE_XX)) {
    const int style = g_encoder.style;
    const bool useQuoted = style == 5 || style == 9 || style == 11;
    char line[MAX_PATH + 16];
    std::snprintf(line, sizeof line, "begin 644 %s", useQuoted ? quoted : shortName);
    AppendCoveredLine(line);
  }

  const int style = g_encoder.style;
  if (style >= 6 && style <= 9)
    std::snprintf(g_encoder.subject, sizeof g_encoder.subject, "%s", subject);
  else
    std::snprintf(g_encoder.subject, sizeof g_encoder.subject, "* %s *; %s; %s; %d of %d", PROGRAM_NAME,
                  MethodName(method), base, k, n);
}

void WritePartTrailer(int k, int n, const char* baseName) {
  const int method = g_encoder.method;
  const char* E = g_encoder.eol;
  char shortName[MAX_PATH];
  EncodeShortName(g_encoder.inputPath, shortName, sizeof shortName);
  (void)baseName;

  if (k == n) {
    if (method == ENCODE_UU || method == ENCODE_XX) {
      AppendCoveredLine("end");
    } else if (method == ENCODE_MIME) {
      CloseMimeBoundary();
    } else if (method == ENCODE_BINHEX) {
      FinishBinHexStream();
      AppendFormat(":%s", E);
      CloseMimeBoundary();
    }
  }

  if (g_encoder.writeSumLines) {
    if (k != n) Eol();
    const char* wording = k == 1 && n == 1 ? "\"begin\" to \"end\")"
                          : k == 1         ? "\"begin\" to last encoded line)"
                          : k == n         ? "first encoded line to \"end\")"
                                           : "first to last encoded line)";
    AppendFormat("sum -r/size %u/%ld section (from %s%s", static_cast<unsigned>(g_encoder.sectionSum),
                 static_cast<long>(g_encoder.sectionCount), wording, E);
    if (k == n)
      AppendFormat("sum -r/size %u/%ld entire input file%s", static_cast<unsigned>(g_encoder.wholeSum),
                   static_cast<long>(g_encoder.inputSize), E);
  }

  switch (g_encoder.style) {
    case 4: AppendFormat("END--cut here--cut here%s", E); break;
    case 5: AppendFormat("-------- End of part %d of %d --------%s", k, n, E); break;
    case 6:
    case 8: AppendFormat("-- %s", E); break;
    case 7: AppendFormat("END-------------------->  cut here  <------------------------%s", E); break;
    case 9: AppendFormat("END------------------------CUT HERE--------------------------%s", E); break;
    case 10:
      AppendFormat("END-------------- %s ------------ part %d/%d ---%s", shortName, k, n, E);
      AppendFormat("End_of_Section%secho \"$file, part $part extracted.\"%s", E, E);
      // Fix: count the pieces without splitting names at blanks, and join them in numeric
      // order (a glob sorts part 10 before part 2).
      AppendFormat("n=0; for f in \"$file\".uue.[0-9]*; do [ -f \"$f\" ] && n=`expr $n + 1`; done%s", E);
      AppendFormat("if [ $n = %d ]; then %s", n, E);
      AppendFormat("i=1; while [ $i -le %d ]; do cat \"$file.uue.$i\"; i=`expr $i + 1`; done | uudecode%s", n, E);
      AppendFormat("if [ $? -gt 0 ]; then%s  echo Error encountered when uudecoding pieces...%sexit 1%sfi%s", E, E,
                   E, E);
      AppendFormat("echo \"$file successfully uudecoded. Removing uuencoded pieces.\"%s", E);
      AppendFormat("rm \"$file\".uue.[0-9]*%sfi%sexit 0%s", E, E, E);
      break;
    case 11: AppendFormat("END------------------------cut here--------------------------%s", E); break;
    case 12: AppendFormat("END------------------------CUT HERE--------------------------%s%s", E, E); break;
    case 13: AppendFormat("section %d/%d   file %s   [ Wincode v2.3 ]%s%s%s", k, n, shortName, E, E, E); break;
    case 14: AppendFormat("END -- Cut Here -- cut here%s%s", E, E); break;
    case 16: AppendFormat("END --- CUT HERE --- Cut Here --- cut here --- %s %d/%d%s%s", shortName, k, n, E, E); break;
    case 17: AppendFormat("%s%s%s", E, E, E); break;
    case 20: AppendFormat("%s%s", E, E); break;
    default: break;
  }
}

bool MimeClosingText(char* dest) {
  dest[0] = '\0';
  if (g_encoder.style != STYLE_SINGLE || (g_encoder.method != ENCODE_MIME && g_encoder.method != ENCODE_BINHEX))
    return false;
  std::snprintf(dest, MIME_CLOSING_ROOM, "%s--%s--", g_encoder.eol, g_encoder.boundary);
  return true;
}
