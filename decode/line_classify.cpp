#include "decode/line_classify.h"

#include <cstring>

#include "core/names.h"
#include "decode/decode_context.h"
#include "decode/decode_tables.h"
#include "decode/line_scan.h"
#include "encode/header_styles.h"

namespace {

const char kTenDashes[] = "----------";

bool IsLineEndOrBlank(char c) { return c == '\r' || c == '\n' || IsBlank(c); }
const char* AfterWordAndBlanks(const char* p) { return SkipBlanks(SkipWord(p)); }

// Reads on over blank lines into `line`; the first non-blank line (or the empty line at end
// of input) stays in the buffer.
void ReadOverBlankLines(char* line, int stream) {
  while (IsBlankLine(line) && line[0] != '\0') {
    if (ReadDecodeLine(stream, line) <= 0) {
      line[0] = '\0';
      return;
    }
  }
}

bool IsEndStatement(const char* line) {
  // An "end" that is the last text of the input, without a line end, counts too.
  const bool plain = StartsWithAnyCase(line, "end") && (IsLineEndOrBlank(line[3]) || line[3] == '\0');
  const bool starred = StartsWithAnyCase(line, "*end") && (IsLineEndOrBlank(line[4]) || line[4] == '\0');
  return (plain || starred) && !ContainsCutHere(line);
}

// "END" with "--" and "cut here" in the rest: every style's trailer.
bool IsGenericCutTrailer(const char* line) {
  return StartsWith(line, "END") && std::strstr(line + 3, "--") && FindAnyCase(line + 3, "cut here");
}

bool IsOwnCutTrailer(int style) {
  switch (style) {
    case STYLE_COMP_BINARIES: case STYLE_ALT_BINARIES_1: case STYLE_ALT_BINARIES_2:
    case STYLE_ALT_BINARIES_3: case STYLE_ALT_BINARIES_4: case STYLE_X_FILE: case STYLE_KOLTAR:
    case STYLE_POST_120: case STYLE_POST_201: case STYLE_XMITBIN:
      return true;
    default:
      return false;
  }
}

// A UU or XX line of the run's alphabet as long as its length character says: as many
// characters as its bytes need, or whole groups of four.
bool IsWholeDataLine(const char* line) {
  const signed char* table = g_decode.table;
  if (!table || (g_decode.format != TYPE_UU && g_decode.format != TYPE_XX)) return false;
  const unsigned char* text = reinterpret_cast<const unsigned char*>(line);
  const int bytes = table[text[0]];
  const int count = static_cast<int>(LineTextLength(line + 1));
  if (bytes < 0 || (count != (4 * bytes + 2) / 3 && count != (bytes + 2) / 3 * 4)) return false;
  for (int i = 1; i <= count; ++i)
    if (table[text[i]] < 0) return false;
  return true;
}

// A line starting "--" ends the part: a signature separator, a MIME boundary or any text
// after the data. A UU data line of 13 bytes (XX: 1 byte) starts with "--" too, so a line
// that is data of the run's method at its length stays data.
bool EndsPartAtDashes(const char* line) {
  return StartsWith(line, "--") && !IsWholeDataLine(line);
}

// Whether a line starting with `c` may be anything but data: every end statement, blank
// line, checksum line, boundary and trailer the classifier below knows starts with one of
// these (in any style). Most data lines start otherwise and are told at once.
bool MayBeOtherThanData(char c) {
  switch (c) {
    case 'e': case 'E': case '*':              // "end", "*end", "END" trailers
    case 's': case 'S':                        // "sum -r/size", "section"
    case '-': case '=':                        // boundaries, dashed trailers, "===="
    case ' ': case '\t': case '\r': case '\n': case '\0':  // blank lines
      return true;
    default:
      return false;
  }
}

// Trailers that carry a designation; true when the line is one and it parsed.
bool DesignatedTrailer(const char* line, int style, int* part, int* total) {
  const char* p = nullptr;
  switch (style) {
    case STYLE_SIMTEL:
      if (!StartsWith(line, "--------")) return false;
      p = AfterWordAndBlanks(line);
      if (!StartsWithAnyCase(p, "End of part")) return false;
      p += 7;
      break;
    case STYLE_SHAR:
      if (!StartsWith(line, "END--")) return false;
      p = AfterWordAndBlanks(AfterWordAndBlanks(line));
      if (!StartsWith(p, kTenDashes)) return false;
      p = AfterWordAndBlanks(p);
      break;
    case STYLE_WINCODE:
      if (!StartsWithAnyCase(line, "section")) return false;
      p = SkipBlanks(line + 7);
      break;
    case STYLE_SQUIRREL:
      if (!StartsWith(line, "------")) return false;
      p = AfterWordAndBlanks(line);
      if (!StartsWith(p, "end of")) return false;
      p = std::strstr(AfterWordAndBlanks(SkipBlanks(p + 6)), "part");
      if (!p) return false;
      break;
    default:
      return false;
  }
  return ParsePartDesignation(p, part, total) != 0;
}

enum { CONTINUE_CLASSIFYING = -1 };

int ClassifyBlank(char* line, int stream, int* trailerPart, int* trailerTotal) {
  switch (g_decode.format) {
    case TYPE_UU:
      if (line[0] == ' ' && (line[1] == '\r' || line[1] == '\n')) return DataLine;  // length zero
      if (g_decode.style != STYLE_WINCODE) return BlankLine;
      ReadOverBlankLines(line, stream);
      return line[0] == '\0' ? static_cast<int>(BlankLine) : CONTINUE_CLASSIFYING;  // only blank lines to the end
    case TYPE_XX:
      return BlankLine;
    case TYPE_MIME:
      // A blank line ends base64 data. Only a single file is part 1 of 1; after "end" the
      // Wincode states expect the next non-blank line in the buffer.
      if (g_decode.style == STYLE_SINGLE) *trailerPart = *trailerTotal = 1;
      if (g_decode.style == STYLE_WINCODE) ReadOverBlankLines(line, stream);
      return EndStatement;
    case TYPE_BINHEX:
      ReadOverBlankLines(line, stream);
      return line[0] == '\0' ? static_cast<int>(BlankLine) : CONTINUE_CLASSIFYING;
    default:
      // Before the format is known a blank line carries no data; passing it over keeps an
      // empty line after a begin line or at the end of input from stopping the run.
      return BlankLine;
  }
}

}  // namespace

bool StartsDataLine(char c) { return !MayBeOtherThanData(c); }

int ClassifyDecodeLine(char* line, int part, int stream, int* trailerPart, int* trailerTotal) {
  const int style = g_decode.style;
  *trailerPart = part;
  *trailerTotal = g_partTotal;
  // The yEnc reader takes its lines from the input itself and finds its own end.
  if (g_decode.format == TYPE_YENC) return DataLine;
  if (!MayBeOtherThanData(line[0])) return DataLine;
  if (IsEndStatement(line)) {
    AddLineToPartSum(line);
    if (style == STYLE_SINGLE) {
      *trailerPart = 1;
      *trailerTotal = 1;
    } else if (style == STYLE_WINCODE) {
      if (ReadDecodeLine(stream, line) <= 0) line[0] = '\0';
      ReadOverBlankLines(line, stream);
    } else if (style == STYLE_COMP_BINARIES || style == STYLE_REM) {
      g_partTotal = part;
      *trailerTotal = part;
    }
    return EndStatement;
  }
  if (IsBlankLine(line)) {
    const int c = ClassifyBlank(line, stream, trailerPart, trailerTotal);
    if (c != CONTINUE_CLASSIFYING) return c;
  }
  if (StartsWith(line, "sum -r/size")) return ChecksumLine;
  // A boundary or a signature ends base64 data, and so does the "====" of begin-base64.
  if (style == STYLE_SINGLE && g_decode.format == TYPE_MIME && (StartsWith(line, "--") || StartsWith(line, "===="))) {
    *trailerPart = 1;
    *trailerTotal = 1;
    return EndStatement;
  }
  if ((style == STYLE_ALT_BINARIES_1 || style == STYLE_ALT_BINARIES_3) && EndsPartAtDashes(line))
    return PartTrailer;
  if (IsOwnCutTrailer(style) && StartsWith(line, "END") && ContainsCutHere(line)) return PartTrailer;
  if (style == STYLE_AOL && StartsWith(line, "-----") && FindAnyCase(line + 5, "cut here")) return PartTrailer;
  if (style == STYLE_SQUIRREL && StartsWith(line, "------") && !StartsWith(AfterWordAndBlanks(line), "end of"))
    return DataLine;
  if (DesignatedTrailer(line, style, trailerPart, trailerTotal)) return PartTrailer;
  *trailerPart = part;
  *trailerTotal = g_partTotal;
  if (IsGenericCutTrailer(line)) return PartTrailer;
  return DataLine;
}

bool IsSeparatorLine(char* line, int stream) {
  switch (g_decode.style) {
    case STYLE_SINGLE: case STYLE_SIMTEL: case STYLE_SHAR: case STYLE_WINCODE: case STYLE_SQUIRREL:
    case STYLE_REM:
      return true;
    case STYLE_COMP_BINARIES: case STYLE_ALT_BINARIES_1: case STYLE_ALT_BINARIES_2:
    case STYLE_ALT_BINARIES_4: case STYLE_X_FILE: case STYLE_KOLTAR: case STYLE_POST_120:
    case STYLE_POST_201:
      if (StartsWith(line, "BEGIN") && (ContainsCutHere(line) || ContainsPart(line))) return true;
      break;
    case STYLE_ALT_BINARIES_3:
      if (IsBlankLine(line)) return true;
      break;
    case STYLE_BITFTP:
      if (StartsWithAnyCase(line, "The following line")) {
        if (ReadDecodeLine(stream, line) <= 0) line[0] = '\0';
        return true;
      }
      break;
    case STYLE_AOL:
      if (StartsWith(line, "-----") && FindAnyCase(line + 5, "cut here")) return true;
      break;
    default:
      break;
  }
  return StartsWith(line, "BEGIN") && std::strstr(line + 5, "--") && FindAnyCase(line + 5, "cut here");
}
