#include "decode/decode_file.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/job_state.h"
#include "core/name_charsets.h"
#include "core/names.h"
#include "core/settings.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/binhex_decode.h"
#include "decode/checksum_verify.h"
#include "decode/decode_context.h"
#include "decode/decode_tables.h"
#include "decode/header_detect.h"
#include "decode/join_parts.h"
#include "decode/line_classify.h"
#include "decode/line_decoder.h"
#include "decode/line_fit.h"
#include "decode/line_runs.h"
#include "decode/line_scan.h"
#include "decode/partial_messages.h"
#include "decode/recovery_questions.h"
#include "decode/used_regions.h"
#include "decode/yenc_decode.h"
#include "encode/alphabets.h"
#include "encode/header_styles.h"

namespace {

const char kZeroSized[] = "No point in decoding a zero-sized file %s.";
const char kInconsistentFormats[] = "Line %ld: Inconsistent File Formats.\r\nExpected Type %s, Got Type %s.";
const char kDuplicatePart[] = "Line %ld: Duplicate Part %d.";
const char kInconsistentTotal[] = "Line %ld: Inconsistent # of Total Parts\r\nfor Part %d: Expected %d, Got %d.";
const char kMissingColon[] = "Missing Starting Colon ':' in %s.";
const char kCantWrite[] = "Can't Write to %s because";
const char kShortWrite[] = "Tried to write %d bytes; actually wrote %d bytes!";
const char kInconsistentTrailer[] = "Line %ld: Inconsistent Trailer!\r\nExpected Part %d of %d, Got Part %d of %d";
const char kMimeMultipleOf4[] =
    "MIME data violates the integral multiple of 4 rule. The decoded file may be corrupted.\r\n\r\nContinue anyway?";
const char kBinaryData[] =
    "File %s contains binary data and very likely cannot be decoded. Do you wish to try anyway?";
const char kMissingBegin[] = "Missing 'begin' Statement in %s.";
const char kMissingBoth[] = "Missing 'begin' and 'end' Statements in %s.";
const char kSkippedRemark[] = "\r\n\r\nPossibly not all data included in decoding.";
const char kAttemptedRemark[] = "\r\n\r\nDecode attempted in spite of integrity errors.";
const char kInvalidLine[] = "Input File: %s\r\nLine %ld: Invalid %s Encoded Data!\r\n%s";
const char kOffendingLine[] = "\r\nOffending Line Follows within Curly Brackets:\r\n\r\n{ %s }";
const char kCannotFind[] = "Unable to Determine File Format for %s.\r\nCannot Find %s.";
const char kPieceTogether[] =
    "Unable to Determine File Format for %s.\r\nYou must manually piece together the files in\r\n"
    "sequential order and strip out any email or\r\nusenet header data before you can retry decoding.%s";
const char kBinaryNote[] =
    "\r\nGiven the file had binary data, please ensure the \r\nfile was saved as straight ASCII text.";
const char kLookingForHeader[] = "Looking for %s Header in %s ...";
const char kLookingForSeparator[] = "Looking for %s Separator in %s ...";
const char kLookingForData[] = "Looking for %s Start of Data in %s ...";
const char kAtEnd[] = "At End Of Processing for %s";
const char kUnexpectedEof[] = "Unexpected EOF (%s).";
const char kChecksumErrorRemark[] = "\r\n\r\nChecksum error in %s.";
const char kPathTooLong[] = "Can't Write to %s\\%s:\r\nthe path is longer than %d characters.";

enum { PUMP_COUNT = 4, PASS_RESTART = 100, PROBLEM_ROOM = 1024, FULL_PERCENT = 100, STUCK_TURNS = 64 };
// Lines decoded in one run straight from the input's buffer, between pumps.
enum { RUN_LINES = 32 };
// Passes over one input after the first, each for the files of the kind the pass before it
// left (single files, the parts of a posting); a third covers a posting found only then.
enum { MAX_LATER_PASSES = 2 };

struct Run {
  HWND window;
  int input;
  int interactive;
  int initialFormat;
  bool readNext;
  int turnsWithoutReading;
  // The alt.binaries style whose "1 of 1" header restarted the run as a single file, and
  // whether the run has gone back to it because the single-file pass found nothing.
  int oneOfOneStyle;
  bool oneOfOneRetried;
  long long bytesReadBefore;  // the input position at the last turn, for the stuck test
  // Text passed over inside the data of a single file since its last data line, and
  // whether any of it framed the parts of a posting (a cut line, headers, a signature).
  int passedOver = 0;
  bool passedOverFramed = false;
  // The part that the frames passed over last named (the data starts with part 1), and
  // whether a frame named a part out of step, so that a part is missing in between.
  int framedPart = 1;
  bool framesOutOfStep = false;
  bool blanksInData = false;  // the data uses blanks, which a mail system may strip at line ends
  // The header was found in a Subject line (a frame glued onto it): the rest of the mail
  // header, up to its blank line, comes before the data.
  bool inMailHeader = false;
  // A file of this input has been finished: the next header starts a new file's sums.
  bool fileFinished = false;
  // Messages seen in this pass ("From " and "Subject:" lines), and whether the current one
  // named a part of a posting: a begin line there starts that part, not a file of its own.
  int messages = 0;
  long long messageStart = 0;
  bool partHeaderInMessage = false;
  // A file of the kind this pass does not decode was passed over: a later pass decodes it.
  bool otherKindPassedOver = false;
  int laterPass = 0;
  int jobForcedStyle = 0;
  UsedRegions used;
  long long lineStart = 0;  // where the line being handled starts
  bool lineUsed = false;    // a file took the line up
  bool partialsFound = false;  // message/partial messages, which a reader of their own takes
  // The part last finished in its file, which the next part of the posting may follow.
  const PartRecord* followable = nullptr;
  int outputsBefore = 0;       // files that runs before this one finished, for the report
};
Run run;

const char* InputBaseName() { return FileNamePart(DecodeInputName()); }

// After a line: pumps when due by time. Part boundaries pump at once.
void Pump() { PumpMessagesWhenDue(); }

// Closes the output on the way to a failure, which deletes it.
void CloseOutput() {
  if (g_decode.output >= 0) StreamClose(g_decode.output);
  g_decode.output = -1;
}

void CloseInput() {
  if (g_decode.input >= 0) StreamClose(g_decode.input);
  g_decode.input = -1;
}

// Closes both streams and deletes every part file; for every ending but success.
void Abandon() {
  CloseInput();
  CloseOutput();
  DeletePartFiles();
}

void Remark(const char* remark) {
  g_job.qualifiedResult = true;
  std::snprintf(g_job.resultRemark, sizeof g_job.resultRemark, "%s", remark);
}

void SetStateWithoutReading(int state) {
  run.readNext = false;
  SetDecodeState(state);
}

// Closes a finished output; false (reported, the run on its way to CRITICALERROR, which
// deletes it) when its last bytes could not be written.
bool FinishOutput() {
  if (g_decode.output < 0) return true;
  PartRecord* record = g_currentPart;
  const bool ended = !record->ranged || EndPartFile(*record, g_decode.output);
  const bool held = ended && record->ranged && HoldPartFile(*record, g_decode.output);
  const bool closed = held || (StreamClose(g_decode.output) != FALSE && ended);
  g_decode.output = -1;
  if (closed && record->ranged) run.followable = record;
  if (closed) return true;
  ShowErrorMessage(run.window, GetLastError(), MB_ICONHAND, kWriteFailure, g_currentPart->fileName);
  SetStateWithoutReading(CRITICALERROR);
  return false;
}

void ShowStatusOnce(const char* format, int style) {
  if (g_decode.statusShown) return;
  ShowStatus(format, HeaderStyleName(style), InputBaseName());
  g_decode.statusShown = true;
}

void SetSearchState(int state) {
  SetDecodeState(state);
  g_decode.statusShown = false;
}

// The job state carries what the run found to the status line and the final report: the
// format, the header style, the number of parts and the output's path.
void PublishToJob() {
  g_job.encodingType = g_decode.format;
  g_job.headerStyle = g_decode.style;
  g_job.partCount = g_partTotal > 1 ? g_partTotal : 1;
  std::snprintf(g_job.outputPath, sizeof g_job.outputPath, "%s", g_decode.outputName);
}

void RefreshJobStatus() {
  PublishToJob();
  ShowJobStatus(OP_DECODE, g_decode.format, DecodeInputName(), g_decode.outputName, g_decode.part, g_partTotal);
}

void RunSetup(HWND window, int input, int interactive) {
  std::memset(&g_decode, 0, sizeof g_decode);
  run = Run{};
  run.window = window;
  run.input = input;
  run.interactive = interactive;
  run.initialFormat = g_job.encodingType;
  run.readNext = true;
  g_decode.input = input;
  g_decode.output = -1;
  g_decode.forcedStyle = g_settings.decodeautodetect ? 0 : DecodeStyleInRange();
  run.jobForcedStyle = g_decode.forcedStyle;
  g_decode.binaryData = 0;
  g_decode.tryAll = false;
}

void ReportPathTooLong(const char* path, int limit) {
  const char* name = FileNamePart(path);
  const std::string folder(path, name > path ? static_cast<size_t>(name - path - 1) : 0);
  ShowMessage(run.window, MB_ICONHAND, kPathTooLong, folder.c_str(), name, limit);
}

// The decoded file goes beside the input whatever the current directory is; with a chosen
// output folder MakeOutFile replaces the folder. False (reported) when the path is too long.
bool SetOutputName(const char* name) {
  const char* input = DecodeInputName();
  const size_t folder = static_cast<size_t>(FileNamePart(input) - input);
  const int n = std::snprintf(g_decode.outputName, sizeof g_decode.outputName, "%.*s%s",
                              static_cast<int>(folder), input, name);
  if (n >= 0 && static_cast<size_t>(n) < sizeof g_decode.outputName) return true;
  ReportPathTooLong(g_decode.outputName, DECODE_NAME_ROOM - 1);
  return false;
}

// --- text inside the data of a single file ---------------------------------------------

void StartFileData() {
  run.passedOver = 0;
  run.passedOverFramed = false;
  run.framedPart = 1;
  run.framesOutOfStep = false;
  run.blanksInData = false;
}

void NoteFrame(const char* line) {
  run.passedOverFramed = true;
  const int part = PartNamedByFrame(line);
  if (part == 0) return;
  if (part != run.framedPart && part != run.framedPart + 1) run.framesOutOfStep = true;
  run.framedPart = part;
}

// A UU or XX line of a single file that cannot be data is passed over: the text between the
// parts of a posting saved in one piece, or prose that found its way into the data. It is
// not summed either, so the section checksum still holds. Damaged data is left to the
// invalid-line answers, which keep the bytes after it in place.
bool PassesOverRefusedLine() {
  if (g_decode.style != STYLE_SINGLE || !DecodingUuOrXx()) return false;
  if (FitOfRefusedLine(g_decode.line, g_decode.table, run.blanksInData) != LINE_NOT_DATA) return false;
  ++run.passedOver;
  if (IsFramingText(g_decode.line)) NoteFrame(g_decode.line);
  return true;
}

// The data goes on (or ends) after passed-over text: text that framed no parts, or frames
// that skip a part, stood where data may have been lost.
void EndPassedOverText() {
  if (run.passedOver > 0 && (!run.passedOverFramed || run.framesOutOfStep)) Remark(kSkippedRemark);
  run.framesOutOfStep = false;
  run.passedOver = 0;
  run.passedOverFramed = false;
}


// Returns false (after telling the user) for an empty input, or one whose folder leaves no
// room for an output name.
bool PassSetup() {
  g_decode.beginSeen = g_decode.endSeen = g_decode.dataSeen = false;
  g_decode.restartedByHeader = false;
  g_decode.errorText[0] = '\0';
  g_decode.formatDecided = false;
  g_decode.style = STYLE_TO_BE_DETERMINED;
  g_decode.previousState = LOOKFORHEADERTYPE;
  SetDecodeState(LOOKFORHEADERTYPE);
  ClearPartTable();
  run.followable = nullptr;
  // Every pass starts from the format the job chose, not from what an earlier pass guessed.
  g_decode.format = run.initialFormat;
  SelectDecodeTable(g_decode.format);
  g_decode.bytesRead = 0;
  g_decode.inputSize = StreamFileSize(run.input);
  if (g_decode.inputSize <= 0) {
    ShowMessage(run.window, MB_ICONHAND, kZeroSized, DecodeInputName());
    return false;
  }
  g_decode.lastProgress = -1;
  g_decode.nextProgressAt = 0;
  g_decode.part = g_decode.headerTotal = 0;
  g_decode.nameFound = false;
  g_decode.wholeExpectedChecksum = g_decode.wholeCalculatedChecksum = 0;
  g_decode.wholeExpectedSize = g_decode.actualSize = 0;
  // Even the placeholder name lies beside the input, never in the current directory.
  if (!SetOutputName(UNKNOWN_FILE_NAME)) return false;
  g_decode.lineNumber = 0;
  run.fileFinished = false;
  if (run.laterPass == 0) g_job.outputCount = run.outputsBefore;
  run.messages = 0;
  run.partHeaderInMessage = false;
  run.otherKindPassedOver = false;
  run.lineStart = 0;
  run.lineUsed = false;
  g_decode.output = -1;
  g_decode.statusShown = false;
  g_decode.line[0] = '\0';
  run.readNext = true;
  StartFileData();
  return true;
}

void RestartFromTop() { StreamSeek(run.input, 0, FILE_BEGIN); }

// BinHex and yEnc read their data from the input themselves, not line by line here.
bool ReadsItsOwnInput() { return g_decode.format == TYPE_BINHEX || g_decode.format == TYPE_YENC; }

// --- LOOKFORHEADERTYPE -----------------------------------------------------------------

int AcceptedStyle(int r) {
  if (g_decode.forcedStyle != 0) {
    if (r != g_decode.forcedStyle) return 0;
    g_decode.style = r;
    return r;
  }
  if (r != 0 && g_decode.style == STYLE_TO_BE_DETERMINED) g_decode.style = r;
  return r;
}

// What belongs to one file of an input: its format and decode table, its begin and end
// flags, its names, its part record and checksums, the base64 group and the answer to its
// invalid lines. A file found after a finished one starts from FreshFileState, so that
// nothing of the finished file (a MIME or BinHex format, a name, a sum) carries over.
struct FileState {
  DecodeContext decode;  // only the fields ForEachFileField names
  PartRecord record;
};

// Applies `copy` to each field of a file's state and its place in the run: the one list of
// what belongs to a file.
template <typename Copy>
void ForEachFileField(FileState& f, Copy copy) {
  copy(f.decode.format, g_decode.format);
  copy(f.decode.table, g_decode.table);
  copy(f.decode.formatDecided, g_decode.formatDecided);
  copy(f.decode.beginSeen, g_decode.beginSeen);
  copy(f.decode.endSeen, g_decode.endSeen);
  copy(f.decode.dataSeen, g_decode.dataSeen);
  copy(f.decode.nameFound, g_decode.nameFound);
  copy(f.decode.outputName, g_decode.outputName);
  copy(f.record, *g_currentPart);
  copy(f.decode.wholeExpectedChecksum, g_decode.wholeExpectedChecksum);
  copy(f.decode.wholeExpectedSize, g_decode.wholeExpectedSize);
  copy(f.decode.wholeCalculatedChecksum, g_decode.wholeCalculatedChecksum);
  copy(f.decode.actualSize, g_decode.actualSize);
  copy(f.decode.answer, g_decode.answer);
  copy(f.decode.mimeCount, g_decode.mimeCount);
  copy(f.decode.groupPosition, g_decode.groupPosition);
  copy(f.decode.groupBits, g_decode.groupBits);
}

template <typename T>
void CopyField(T& to, const T& from) {
  std::memcpy(&to, &from, sizeof to);
}

FileState CurrentFileState() {
  FileState f{};
  ForEachFileField(f, [](auto& mine, auto& run) { CopyField(mine, run); });
  return f;
}

void SetFileState(FileState f) {
  ForEachFileField(f, [](auto& mine, auto& run) { CopyField(run, mine); });
}

// The state of a file before any of its lines: the job's format, no flags, no sums, the
// placeholder name beside the input.
FileState FreshFileState() {
  FileState f{};
  f.decode.format = run.initialFormat;
  f.decode.table = DecodeTableFor(run.initialFormat);
  const char* input = DecodeInputName();
  std::snprintf(f.decode.outputName, sizeof f.decode.outputName, "%.*s%s",
                static_cast<int>(FileNamePart(input) - input), input, UNKNOWN_FILE_NAME);
  return f;
}

// A begin line that names a file; the name found so far stays.
bool IsParsedBeginLine(const char* line) {
  if ((line[0] | 0x20) != 'b' || !StartsWithAnyCase(line, "begin ")) return false;  // tried on every data line
  char name[DECODE_NAME_ROOM];
  const bool nameFound = g_decode.nameFound;
  const bool begin = ParseBeginLine(line, name, sizeof name);
  g_decode.nameFound = nameFound;
  return begin;
}

// A header between the files of an input that belongs to the other kind than the pass
// decodes: the part of a posting (and the begin line of its message) among single files,
// or a single file among the messages of a mailbox whose posting the pass collects.
bool IsOtherKind(int found, int total) {
  if (found == 0 || run.jobForcedStyle != 0 || g_decode.tryAll) return false;
  if (g_decode.style == STYLE_SINGLE && run.fileFinished) {
    if (found != STYLE_SINGLE && total != 1) {  // a total not stated is not "1 of 1"
      run.partHeaderInMessage = true;
      return true;
    }
    return run.partHeaderInMessage && IsParsedBeginLine(g_decode.line);
  }
  const bool collectingParts = g_decode.style != STYLE_TO_BE_DETERMINED && g_decode.style != STYLE_SINGLE;
  if (!collectingParts || run.messages == 0) return false;
  return found == STYLE_SINGLE || (!run.partHeaderInMessage && IsParsedBeginLine(g_decode.line));
}

// After a finished file the header test runs on a fresh file's state (a begin line adds
// itself to its sums, a MIME or BinHex header sets its format): a header starts the next
// file with it, any other line leaves the finished file's state for the report. A header
// of the other kind is left for a later pass, and the state as it was.
int DetectNextHeader(int* part, int* total) {
  const bool mailboxParts = run.messages > 0 && g_decode.style != STYLE_SINGLE;
  if (!run.fileFinished && !mailboxParts)
    return DetectHeader(g_decode.line, run.input, part, total, g_decode.headerName);
  const FileState kept = CurrentFileState();
  const int keptTotal = g_partTotal;
  if (run.fileFinished) {
    SetFileState(FreshFileState());
    g_partTotal = 0;  // a fresh file knows no number of parts yet
  }
  const int found = DetectHeader(g_decode.line, run.input, part, total, g_decode.headerName);
  g_partTotal = keptTotal;
  if (IsOtherKind(found, *total)) {
    run.otherKindPassedOver = true;
    SetFileState(kept);
    return 0;
  }
  if (!run.fileFinished) return found;
  if (found != 0 && (g_decode.forcedStyle == 0 || found == g_decode.forcedStyle)) {
    run.fileFinished = false;
    StartFileData();
  } else {
    SetFileState(kept);
  }
  return found;
}

int LookForHeader() {
  int part = 0, total = 0;
  const int found = DetectNextHeader(&part, &total);
  if (found != 0 && g_decode.forcedStyle == 0 && g_decode.style != STYLE_TO_BE_DETERMINED &&
      found != g_decode.style && !g_decode.restartedByHeader) {
    SetDecodeError(kInconsistentFormats, g_decode.lineNumber, HeaderStyleName(g_decode.style),
                   HeaderStyleName(found));
    SetStateWithoutReading(BADFINISH);
    return 0;
  }
  const int r = (part >= 1 && part <= MAX_PARTS) ? AcceptedStyle(found) : 0;
  if (r == 0) {
    ShowStatusOnce(kLookingForHeader, g_decode.forcedStyle);
    Pump();
    return 0;
  }
  g_decode.part = part;
  g_decode.headerTotal = total;
  run.inMailHeader = false;
  if (r != STYLE_SINGLE && run.messages > 0) {
    // The message's own header lines (its Subject names the part too) go with the part.
    run.used.Note(run.messageStart, run.lineStart, true);
    run.partHeaderInMessage = true;
  }
  PartRecord* record = &g_partTable[part - 1];
  g_currentPart = record;
  if (!g_decode.restartedByHeader && g_decode.dataSeen && record->partNumber != 0 && g_decode.style != STYLE_SINGLE) {
    SetDecodeError(kDuplicatePart, g_decode.lineNumber, part);
    SetDecodeState(BADFINISH);
    return 0;
  }
  record->partNumber = part;
  switch (r) {
    case STYLE_SINGLE:
      g_decode.beginSeen = true;
      if (g_decode.format == TYPE_MIME) {
        g_decode.formatDecided = true;
        SetSearchState(FINDSTARTOFDATA);
      } else if (ReadsItsOwnInput()) {
        g_decode.formatDecided = true;
        run.readNext = false;
        SetSearchState(PREPAREHEADER);
      } else {
        SetSearchState(PREPAREHEADER);
      }
      break;
    case STYLE_SIMTEL: case STYLE_SHAR: case STYLE_WINCODE: case STYLE_XMITBIN: case STYLE_SQUIRREL:
    case STYLE_REM:
      run.inMailHeader = StartsWithAnyCase(g_decode.line, "Subject:");
      SetSearchState(FINDSTARTOFDATA);
      break;
    case STYLE_YENC_PARTS:
      run.readNext = false;
      SetSearchState(PREPAREHEADER);
      break;
    case STYLE_ALT_BINARIES_1: case STYLE_ALT_BINARIES_2: case STYLE_ALT_BINARIES_3: case STYLE_ALT_BINARIES_4:
      if (part == 1 && total == 1 && !g_decode.tryAll && !run.oneOfOneRetried) {
        g_decode.forcedStyle = STYLE_SINGLE;
        run.oneOfOneStyle = r;
        return PASS_RESTART;
      }
      SetSearchState(FINDSEPARATOR);
      break;
    default:
      SetSearchState(FINDSEPARATOR);
      break;
  }
  PumpMessages(PUMP_COUNT);
  return 0;
}

// --- FINDSEPARATOR, FINDSTARTOFDATA, PARSEBEGINLINE ------------------------------------

bool IsAltBinaries(int style) { return style >= STYLE_ALT_BINARIES_1 && style <= STYLE_ALT_BINARIES_4; }

// A begin line where the header's style promised its separator: the header said more than
// the text follows, and the begin ... end block is decoded as a single file (in a new pass,
// which drops what ParseBeginLine recorded here).
bool IsBeginLineInstead(const char* line) {
  char name[DECODE_NAME_ROOM];
  const bool begin = StartsWithAnyCase(line, "begin ") || StartsWithAnyCase(line, "begin\t");
  return begin && !g_decode.tryAll && g_decode.forcedStyle == 0 && ParseBeginLine(line, name, sizeof name);
}

// A header of its own style where an alt.binaries frame was expected (a yEnc part under a
// subject with a designation): the header is looked at again, and its style decides.
bool RestartAtOtherHeader() {
  if (g_decode.tryAll || !IsAltBinaries(g_decode.style)) return false;
  int part = 0, total = 0;
  char name[DECODE_NAME_ROOM];
  const int found = DetectHeader(g_decode.line, run.input, &part, &total, name);
  if (found == 0) return false;
  run.readNext = false;
  g_decode.restartedByHeader = true;
  g_decode.style = STYLE_TO_BE_DETERMINED;
  g_decode.forcedStyle = found;
  SetSearchState(LOOKFORHEADERTYPE);
  return true;
}

int FindSeparator() {
  ShowStatusOnce(kLookingForSeparator, g_decode.style);
  if (IsSeparatorLine(g_decode.line, run.input)) {
    SetSearchState(FINDSTARTOFDATA);
  } else if (IsBeginLineInstead(g_decode.line)) {
    g_decode.forcedStyle = STYLE_SINGLE;
    return PASS_RESTART;
  } else {
    RestartAtOtherHeader();
  }
  Pump();
  return 0;
}

void FindStartOfData() {
  ShowStatusOnce(kLookingForData, g_decode.style);
  if (run.inMailHeader) {
    run.inMailHeader = !IsBlankLine(g_decode.line);
  } else if (StartsWith(g_decode.line, "=ybegin") && RestartAtOtherHeader()) {
    // after a blank line taken for the alt.binaries separator
  } else if (!IsBlankLine(g_decode.line)) {
    run.readNext = false;
    const bool noBeginLine = g_decode.format == TYPE_MIME || g_decode.format == TYPE_BINHEX;
    SetSearchState(noBeginLine ? PREPAREHEADER : PARSEBEGINLINE);
  }
  Pump();
}

void ParseBeginLineState() {
  run.readNext = false;
  if (g_decode.part == 1) {
    run.readNext = true;
    if (!ParseBeginLine(g_decode.line, g_decode.headerName, sizeof g_decode.headerName)) {
      SetSearchState(LOOKFORHEADERTYPE);
      return;
    }
    g_decode.beginSeen = true;
  }
  SetSearchState(PREPAREHEADER);
}

// --- PREPAREHEADER ---------------------------------------------------------------------

bool TakeHeaderName() {
  // Parts framed without a begin line (base64 in a multi-part style) name the file only in
  // their header; that name is better than none.
  const bool unnamed = std::strcmp(FileNamePart(g_decode.outputName), UNKNOWN_FILE_NAME) == 0;
  if (unnamed && std::strcmp(g_decode.headerName, UNKNOWN_FILE_NAME) != 0 && g_decode.headerName[0])
    g_decode.nameFound = true;
  if (!g_decode.nameFound) return true;
  g_decode.nameFound = false;
  char name[DECODE_NAME_ROOM];
  const char* given = g_job.outputNameGiven;
  // A header's name is in the posting's character set; a given name is the program's own.
  if (given[0]) std::snprintf(name, sizeof name, "%s", given);
  else NameFromPosting(g_decode.headerName, name, sizeof name);
  CleanFileName(name);
  return SetOutputName(name);
}

// Opens the output of a single file through MakeOutFile; the stream, or its failure.
int OpenSingleOutput(PartRecord* record) {
  char path[PATH_ROOM];
  std::snprintf(path, sizeof path, "%s", g_decode.outputName);
  const int ask = g_job.outputNameGiven[0] ? 0 : run.interactive;
  const int s = MakeOutFile(run.window, path, OP_DECODE, ask);
  if (s < 0) return s;
  std::memcpy(g_decode.outputName, path, sizeof path);
  const size_t length = std::strlen(path);
  if (length >= sizeof record->fileName) {
    // The record could not name the file for its deletion after a failure.
    StreamClose(s);
    DeleteFileA(path);
    ReportPathTooLong(path, PART_NAME_ROOM - 1);
    return RESULT_REPORTED;
  }
  std::memcpy(record->fileName, path, length + 1);
  record->ranged = false;
  return s;
}

// A part that comes right after the part before it goes into that part's file, so that the
// parts of a posting in order are joined without a copy.
int OpenPartOutput(PartRecord* record) {
  const PartRecord* previous = record > g_partTable && run.followable == record - 1 ? run.followable : nullptr;
  run.followable = nullptr;
  // Beside the output, so that the file that may take its place is made as a file there is.
  const int s = OpenPartFile(*record, previous, g_decode.outputName);
  if (s >= 0) return s;
  if (record->fileName[0]) ShowErrorMessage(run.window, GetLastError(), MB_ICONHAND, kCantWrite, record->fileName);
  else ShowErrorMessage(run.window, GetLastError(), MB_ICONHAND, kTempFileFailed, g_decode.part);
  return -2;
}

int PrepareHeader() {
  run.readNext = false;
  g_decode.statusShown = false;
  if (g_partTotal == 0) {
    g_partTotal = g_decode.headerTotal;
  } else if (g_decode.headerTotal != g_partTotal) {
    SetDecodeError(kInconsistentTotal, g_decode.lineNumber, g_decode.part, g_partTotal, g_decode.headerTotal);
    SetDecodeState(BADFINISH);
    return 0;
  }
  if (g_decode.format == TYPE_BINHEX) {
    const int r = BinHexReadHeader(run.window, run.interactive);
    if (r != BINHEX_HEADER_READ) {
      if (r == BINHEX_NO_COLON) SetDecodeError(kMissingColon, InputBaseName());
      SetDecodeState(BADFINISH);
      return 0;
    }
    g_decode.nameFound = true;
  }
  if (!TakeHeaderName()) {
    SetDecodeState(CRITICALERROR);
    return 0;
  }
  PartRecord* record = g_currentPart;
  const bool single = g_decode.style == STYLE_SINGLE;
  const int s = single ? OpenSingleOutput(record) : OpenPartOutput(record);
  if (s == RESULT_DECLINED && single) return RESULT_DECLINED;
  if (s < 0) {
    SetDecodeState(CRITICALERROR);
    return 0;
  }
  g_decode.output = s;
  SetDecodeState(DECODELINES);
  g_decode.mimeCount = 0;
  g_decode.answer = ANSWER_NONE;
  RefreshJobStatus();
  return 0;
}

// --- DECODELINES -----------------------------------------------------------------------

int InvalidLineAnswer() {
  // Without questions a UU or XX line is judged on its own, so that a later line that is
  // no data at all is still passed over.
  if (!run.interactive) return DecodingUuOrXx() ? ANSWER_DECODE_LINE : ANSWER_DECODE_ALL;
  char problem[PROBLEM_ROOM];
  int n = std::snprintf(problem, sizeof problem, kInvalidLine, InputBaseName(), g_decode.lineNumber,
                        MethodName(g_decode.format), g_decode.errorText);
  if (g_decode.format != TYPE_BINHEX && n >= 0 && static_cast<size_t>(n) < sizeof problem) {
    char line[LINE_ROOM];
    std::snprintf(line, sizeof line, "%s", g_decode.line);
    CutAtLineEnd(line);
    std::snprintf(problem + n, sizeof problem - static_cast<size_t>(n), kOffendingLine, line);
  }
  return AskAboutInvalidLine(run.window, problem);
}

// What decoding a line changes before it may fail: the base64 group carried between lines
// and the current part's running sums. A refused line is retried or skipped from the state
// it started with, so that its partial walk does not shift the lines after it.
struct LineStart {
  long mimeCount;
  int groupPosition;
  unsigned char groupBits;
  uint32_t checksum;
  int32_t size;
};

LineStart SaveLineStart() {
  return LineStart{g_decode.mimeCount, g_decode.groupPosition, g_decode.groupBits, g_currentPart->calculatedChecksum,
                   g_currentPart->calculatedSize};
}

void RestoreLineStart(const LineStart& start) {
  g_decode.mimeCount = start.mimeCount;
  g_decode.groupPosition = start.groupPosition;
  g_decode.groupBits = start.groupBits;
  g_currentPart->calculatedChecksum = start.checksum;
  g_currentPart->calculatedSize = start.size;
}

int DecodeOne(unsigned char* out, bool anyway, int* nextState, bool* blanks = nullptr) {
  if (g_decode.format == TYPE_YENC) return YencDecodeChunk(run.input, out, g_currentPart, nextState);
  if (g_decode.format == TYPE_BINHEX)
    return BinHexDecodeChunk(run.window, run.input, out, run.interactive, anyway, g_currentPart, nextState);
  return DecodeEncodedLine(g_decode.line, out, g_currentPart, anyway, blanks);
}

// Applies the Decode Error answer to a refused line; the bytes to write, or -1.
int HandleInvalidLine(unsigned char* out, int* nextState) {
  if (g_decode.answer == ANSWER_SKIP_ALL) return 0;
  const int answer = InvalidLineAnswer();
  g_decode.answer = answer;
  switch (answer) {
    case ANSWER_SKIP_LINE:
    case ANSWER_SKIP_ALL:
      Remark(kSkippedRemark);
      return 0;
    case ANSWER_DECODE_LINE:
    case ANSWER_DECODE_ALL: {
      Remark(kAttemptedRemark);
      const int n = DecodeOne(out, true, nextState);
      // Before the format is known no decoder can take the line; it is passed over until a
      // line decides the format.
      if (n < 0 && g_decode.format == TYPE_AUTO) {
        Remark(kSkippedRemark);
        return 0;
      }
      return n;
    }
    default:  // ANSWER_ABORT, and any answer the decoder does not know
      g_decode.answer = ANSWER_ABORT;
      g_job.cancelRequested = true;
      run.readNext = false;
      return 0;
  }
}

// Where a line is decoded: straight into the output's buffer when it has the room, which
// spares a copy of every line, else into `local`. Yenc and BinHex read their own input
// and are left to the copy.
unsigned char* DecodedLinePlace(unsigned char* local) {
  if (g_decode.output < 0 || ReadsItsOwnInput()) return local;
  unsigned char* room = StreamWriteRoom(g_decode.output, DECODED_LINE_ROOM);
  return room ? room : local;
}

void WriteDecoded(const unsigned char* out, int n) {
  const int written = g_decode.output >= 0 ? StreamWriteBlock(g_decode.output, out, static_cast<unsigned>(n)) : -1;
  if (written == n) return;
  ShowMessage(run.window, MB_ICONHAND, kShortWrite, n, written < 0 ? 0 : written);
  SetStateWithoutReading(CRITICALERROR);
}

// The data decides the format by the method "by data", and whenever nothing else has:
// a mailbox input decoded by the method "by name" has a temporary file's name.
bool FormatStillToDecide() {
  const bool byData = g_settings.decodemethod == DECODE_BY_DATA || g_decode.format == TYPE_AUTO;
  return byData && !g_decode.formatDecided;
}

// After a data line, the lines of its shape that the input's buffer holds are decoded in runs
// (line_runs.h), keeping what the loop's turns would have kept of them: the regions used,
// the line count, the bytes read, the blanks seen. A pump follows each run, as it follows
// each line.
void DecodeFollowingWholeLines() {
  if (g_decode.state != DECODELINES || !run.readNext || g_decode.output < 0 || FormatStillToDecide()) return;
  if (!StartsRunOfWholeLines(g_decode.line, g_decode.lineLength)) return;
  for (;;) {
    const WholeLineRun taken = DecodeWholeLines(run.input, g_decode.output, g_decode.line, g_decode.lineLength,
                                                run.used, g_currentPart, RUN_LINES);
    if (taken.lines == 0) return;
    run.used.Note(run.lineStart, taken.lastStart, run.lineUsed);
    run.lineStart = taken.lastStart;
    g_decode.lineNumber += taken.lines;
    g_decode.bytesRead += taken.bytesRead;
    g_decode.errorText[0] = '\0';
    if (taken.blanks && g_decode.format == TYPE_UU) run.blanksInData = true;
    Pump();
    if (g_job.cancelRequested) return;
  }
}

void DecodeDataLine() {
  if (FormatStillToDecide()) {
    g_decode.formatDecided = GuessUuOrXx(g_decode.line);
    RefreshJobStatus();
  }
  g_decode.dataSeen = true;
  unsigned char local[DECODED_LINE_ROOM];
  unsigned char* out = DecodedLinePlace(local);
  int nextState = DECODELINES;
  const LineStart start = SaveLineStart();
  bool blanks = false;
  int n = DecodeOne(out, g_decode.answer == ANSWER_DECODE_ALL, &nextState, &blanks);
  if (n < 0 && g_decode.tryAll) {
    // Trying every style: a line this style cannot decode ends the pass, on to the next.
    SetStateWithoutReading(BADFINISH);
    return;
  }
  // A refused line is passed over, retried or skipped from the state it started with.
  if (n < 0) RestoreLineStart(start);
  if (n < 0 && PassesOverRefusedLine()) return;
  if (n >= 0 && blanks && g_decode.format == TYPE_UU) run.blanksInData = true;
  EndPassedOverText();
  if (n < 0) n = HandleInvalidLine(out, &nextState);
  if (g_decode.format == TYPE_BINHEX && nextState == PREPARETRAILER) g_decode.trailerPart = g_decode.trailerTotal = 1;
  if (ReadsItsOwnInput()) SetStateWithoutReading(nextState);
  if (n < 0) {
    SetStateWithoutReading(CRITICALERROR);
    return;
  }
  if (n > 0 && out != local) StreamWriteCommit(g_decode.output, static_cast<unsigned>(n));
  else if (n > 0) WriteDecoded(out, n);
  Pump();
  if (n > 0 && !g_job.cancelRequested) DecodeFollowingWholeLines();
}

// A begin line inside the data of a single UU or XX file: the file lost its end, and the
// line starts the next file (of the next message of a mailbox) rather than being passed over.
bool IsNextBeginLine() {
  if (g_decode.style != STYLE_SINGLE || g_decode.format == TYPE_MIME || ReadsItsOwnInput()) return false;
  return IsParsedBeginLine(g_decode.line);
}

void DecodeLines() {
  g_decode.errorText[0] = '\0';
  if (IsNextBeginLine()) {
    EndPassedOverText();
    Remark(kMissingEndRemark);
    SetStateWithoutReading(CLEANFINISH);
    return;
  }
  const int c = ClassifyDecodeLine(g_decode.line, g_decode.part, run.input, &g_decode.trailerPart,
                                   &g_decode.trailerTotal);
  g_decode.lastClass = c;
  const bool single = g_decode.style == STYLE_SINGLE;
  switch (c) {
    case DataLine:
      DecodeDataLine();
      break;
    case PartTrailer:
      SetDecodeState(PREPARETRAILER);
      if (AtEndOfInput(run.input)) {
        run.readNext = false;
        // The trailer is used up: a style whose trailer repeats its header (Wincode) must
        // not see it again as the header of a duplicate part.
        g_decode.line[0] = '\0';
      }
      break;
    case EndStatement:
      g_decode.endSeen = true;
      EndPassedOverText();
      // Wincode has read on to the next non-blank line, which still waits in the buffer.
      if (AtEndOfInput(run.input) && !(g_decode.style == STYLE_WINCODE && g_decode.line[0] != '\0')) {
        SetStateWithoutReading(PREPARETRAILER);
      } else if (single) {
        SetDecodeState(LOOKFORTOTALCHECKSUM);
      } else {
        SetDecodeState(LOOKFORPARTCHECKSUM);
        if (g_decode.style == STYLE_WINCODE) run.readNext = false;
      }
      break;
    case ChecksumLine:
      SetStateWithoutReading(single ? LOOKFORTOTALCHECKSUM : LOOKFORPARTCHECKSUM);
      break;
    default:  // BlankLine
      if (AtEndOfInput(run.input)) SetStateWithoutReading(PREPARETRAILER);
      else if (!single) SetDecodeState(LOOKFORPARTCHECKSUM);
      break;
  }
}

// --- checksum lines --------------------------------------------------------------------

// Reads "sum -r/size C/S" and gives back what follows the numbers after blanks.
const char* ParseChecksumLine(const char* line, uint32_t* checksum, int32_t* size) {
  long value = 0;
  bool found = false;
  const char* p = ParseNumber(line + 11, &value, &found);
  *checksum = static_cast<uint32_t>(value);
  if (*p) ++p;
  p = ParseNumber(p, &value, &found);
  *size = static_cast<int32_t>(value);
  return SkipBlanks(p);
}

// A section line: into the current part's record, when it says "section".
void TakeSectionSum(const char* line) {
  PartRecord* record = g_currentPart;
  const char* rest = ParseChecksumLine(line, &record->expectedChecksum, &record->expectedSize);
  if (!StartsWith(rest, "section")) record->expectedChecksum = 0, record->expectedSize = 0;
}

void LookForPartChecksum() {
  const int c = g_decode.lastClass;
  if (StartsWithAnyCase(g_decode.line, "sum -r/size")) {
    TakeSectionSum(g_decode.line);
    if (c == PartTrailer) SetStateWithoutReading(PREPARETRAILER);
    else if (c == EndStatement) SetDecodeState(LOOKFORTOTALCHECKSUM);
    else SetDecodeState(DECODELINES);
    return;
  }
  if (c == EndStatement) SetStateWithoutReading(g_decode.style == STYLE_WINCODE ? DECODELINES : PREPARETRAILER);
  else if (c == BlankLine) SetStateWithoutReading(PREPARETRAILER);
  else SetStateWithoutReading(DECODELINES);
}

void LookForTotalChecksum() {
  const int style = g_decode.style;
  if (!StartsWith(g_decode.line, "sum -r/size")) {
    // Blank lines that a mail system put between "end" and the checksum lines are passed over.
    if (style == STYLE_SINGLE && IsBlankLine(g_decode.line) && !AtEndOfInput(run.input)) return;
    SetStateWithoutReading(style == STYLE_SINGLE ? CLEANFINISH : DECODELINES);
    return;
  }
  uint32_t checksum = 0;
  int32_t size = 0;
  const char* rest = ParseChecksumLine(g_decode.line, &checksum, &size);
  if (style == STYLE_SINGLE && StartsWith(rest, "section")) {
    // A single file carries its section line first and its whole-file line second: read
    // every checksum line that follows "end".
    TakeSectionSum(g_decode.line);
    SetDecodeState(LOOKFORTOTALCHECKSUM);
    return;
  }
  const bool whole = style == STYLE_WINCODE || StartsWith(rest, "entire input file");
  g_decode.wholeExpectedChecksum = whole ? checksum : 0;
  g_decode.wholeExpectedSize = whole ? size : 0;
  if (style == STYLE_SINGLE) SetDecodeState(LOOKFORTOTALCHECKSUM);
  else SetDecodeState(style == STYLE_WINCODE ? DECODELINES : PREPARETRAILER);
}

// --- PREPARETRAILER, CLEANFINISH, BADFINISH, CRITICALERROR -----------------------------

void PrepareTrailer() {
  run.readNext = false;
  if (g_decode.trailerPart == g_decode.part && g_decode.trailerTotal == g_partTotal) {
    if (g_decode.style == STYLE_SINGLE) {
      SetDecodeState(CLEANFINISH);
    } else if (FinishOutput()) {
      SetSearchState(LOOKFORHEADERTYPE);
    } else {
      return;  // reported; the part file goes with the rest
    }
  } else {
    SetDecodeError(kInconsistentTrailer, g_decode.lineNumber, g_decode.part, g_partTotal, g_decode.trailerPart,
                   g_decode.trailerTotal);
    SetDecodeState(BADFINISH);
  }
  if (g_decode.format == TYPE_MIME && run.interactive && g_decode.mimeCount % 4 != 0 &&
      ShowMessage(run.window, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, kMimeMultipleOf4) != IDYES)
    SetDecodeState(BADFINISH);
}

long OutputFileSize(const char* path) {
  const int s = StreamOpenForReading(path, STREAM_BINARY);
  if (s < 0) return 0;
  const long size = static_cast<long>(GetFileSize(StreamOsHandle(s), nullptr));
  StreamClose(s);
  return size;
}

// A file finished before the end of its input is counted and its checksums are tested now:
// the next file starts from fresh sums, and the summary (or, without questions, the run's
// outcome) must still cover this one. The summary's checksum report covers the last file.
void TestFinishedFileChecksums() {
  if (!g_settings.decodetestchecksum) return;
  g_decode.actualSize = static_cast<int32_t>(OutputFileSize(g_decode.outputName));
  if (TestChecksums(nullptr) == 0) return;
  char remark[REMARK_ROOM];
  std::snprintf(remark, sizeof remark, kChecksumErrorRemark, FileNamePart(g_decode.outputName));
  Remark(remark);
}

void NoteFileFinishedInLoop() {
  NoteFinishedOutput(g_decode.outputName);
  TestFinishedFileChecksums();
}

void CleanFinishInLoop() {
  if (!FinishOutput()) return;
  // The finished file is no part file: a later failure in this input must not delete it.
  g_currentPart->fileName[0] = '\0';
  NoteFileFinishedInLoop();
  run.fileFinished = true;
  run.readNext = g_decode.format == TYPE_BINHEX;
  g_decode.state = LOOKFORHEADERTYPE;
  g_decode.forcedStyle = STYLE_SINGLE;
  g_decode.statusShown = false;
  StartFileData();
}

void RunState() {
  switch (g_decode.state) {
    case LOOKFORHEADERTYPE: break;  // handled by the caller: it may restart the pass
    case PARSEBEGINLINE: ParseBeginLineState(); break;
    case DECODELINES: DecodeLines(); break;
    case PREPARETRAILER: PrepareTrailer(); break;
    case CLEANFINISH: CleanFinishInLoop(); break;
    case FINDSTARTOFDATA: FindStartOfData(); break;
    case LOOKFORPARTCHECKSUM: LookForPartChecksum(); break;
    case LOOKFORTOTALCHECKSUM: LookForTotalChecksum(); break;
    case BADFINISH:
      CloseOutput();
      DeletePartFiles();
      g_decode.running = false;
      run.readNext = false;
      break;
    default:  // CRITICALERROR
      Abandon();
      g_decode.running = false;
      run.readNext = false;
      break;
  }
}

// The percentage is worked out only once the bytes read reach its next step, not with a
// division every line.
void ShowProgress() {
  if (g_decode.bytesRead < g_decode.nextProgressAt) return;
  long long percent = (g_decode.bytesRead * 100 + 100) / g_decode.inputSize;
  // Inputs shorter than 100 bytes would pass 100.
  if (percent > FULL_PERCENT) percent = FULL_PERCENT;
  if (percent != g_decode.lastProgress) {
    g_decode.lastProgress = static_cast<int>(percent);
    SetProgress(g_decode.lastProgress);
  }
  // The first byte count whose percentage is above this one (rounded up).
  g_decode.nextProgressAt = percent >= FULL_PERCENT ? LLONG_MAX : ((percent + 1) * g_decode.inputSize - 100 + 99) / 100;
}

// Reads the next line that no earlier pass used, counting every line read, after noting
// whether a file took up the bytes since the last line's start (lines that a header test
// read ahead among them, the characters a BinHex file read). Places are the stream's own:
// the byte count of a text line leaves out the LF of its CR LF.
int ReadNextLine() {
  long long start = StreamPosition(run.input);
  run.used.Note(run.lineStart, start, run.lineUsed);
  run.lineUsed = false;
  for (;; start = StreamPosition(run.input)) {
    const int n = StreamReadLine(run.input, g_decode.line, LINE_READ_SIZE);
    ++g_decode.lineNumber;
    if (n > 0) g_decode.bytesRead += n;
    if (n <= 0 || !run.used.Contains(start)) {
      run.lineStart = start;
      return n;
    }
  }
}

// A mailbox's "From " line starts a message, and so does a "Subject:" line (the messages
// the mailbox dialog joins start with one); inside data neither is such a line.
void NoteMessageStart() {
  if (g_decode.state == DECODELINES) return;
  if (!StartsWith(g_decode.line, "From ") && !StartsWithAnyCase(g_decode.line, "Subject:")) return;
  ++run.messages;
  run.messageStart = run.lineStart;
  run.partHeaderInMessage = false;
}

// One pass over the input; PASS_RESTART, RESULT_CANCELLED or RESULT_DECLINED, or 0 when
// the loop ended and the end of the pass decides.
int RunLoop() {
  while (g_decode.running) {
    if (g_job.cancelRequested) {
      Abandon();
      return RESULT_CANCELLED;
    }
    if (run.readNext) {
      const int n = ReadNextLine();
      g_decode.lineLength = n > 0 ? n : 0;
      if (n < 0) {
        g_decode.line[0] = '\0';
        ShowMessage(run.window, MB_ICONHAND, kReadFailure, g_decode.lineNumber, DecodeInputName());
        SetDecodeState(CRITICALERROR);
      } else if (n == 0) {
        g_decode.running = false;
      } else {
        NoteMessageStart();
      }
    }
    // BinHex reads its input by characters, not lines: a turn that consumed input is not stuck.
    const bool consumed = g_decode.bytesRead != run.bytesReadBefore;
    run.bytesReadBefore = g_decode.bytesRead;
    run.turnsWithoutReading = run.readNext || consumed ? 0 : run.turnsWithoutReading + 1;
    if (run.turnsWithoutReading > STUCK_TURNS) {
      // Every state reads or moves on within a few turns; one that does not is stuck.
      Abandon();
      ShowMessage(run.window, MB_ICONHAND, kUnexpectedEof, DecodeStateName(g_decode.state));
      return RESULT_FAILED;
    }
    run.readNext = true;
    if (g_decode.state != LOOKFORHEADERTYPE) run.lineUsed = true;
    if (g_decode.state == LOOKFORHEADERTYPE) {
      if (LookForHeader() == PASS_RESTART) return PASS_RESTART;
    } else if (g_decode.state == FINDSEPARATOR) {
      if (FindSeparator() == PASS_RESTART) return PASS_RESTART;
    } else if (g_decode.state == PREPAREHEADER) {
      if (PrepareHeader() == RESULT_DECLINED) {
        Abandon();
        return RESULT_DECLINED;
      }
    } else {
      RunState();
    }
    if (g_decode.state != LOOKFORHEADERTYPE) run.lineUsed = true;
    if (g_decode.input >= 0) ShowProgress();
  }
  return 0;
}

// --- end of a pass ---------------------------------------------------------------------

bool OffersEncoding() {
  return g_job.multiInput && !g_job.mailInputs && g_settings.decodemethod == DECODE_BY_DATA &&
         g_decode.forcedStyle == 0;
}

void SettleEndState() {
  const int state = g_decode.state;
  if (state == LOOKFORHEADERTYPE && g_decode.style != STYLE_TO_BE_DETERMINED) {
    SetProgress(FULL_PERCENT);
    SetDecodeState(CLEANFINISH);
  }
  if (g_decode.binaryData && g_decode.state == LOOKFORHEADERTYPE) {
    if (OffersEncoding()) {
      SetDecodeState(FINDSTARTOFDATA);
    } else if (g_decode.binaryData == 1 && run.interactive) {
      g_decode.binaryData = 2;
      if (ShowMessage(run.window, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, kBinaryData, InputBaseName()) != IDYES)
        SetDecodeState(CRITICALERROR);
    }
    return;
  }
  const bool failed = g_decode.state == BADFINISH || g_decode.state == CRITICALERROR;
  if (g_decode.errorText[0] || !DecodingUuOrXx() || failed) return;
  if (!g_decode.beginSeen && g_decode.endSeen) {
    SetDecodeError(kMissingBegin, InputBaseName());
    SetDecodeState(BADFINISH);
  } else if (g_decode.beginSeen && !g_decode.endSeen) {
    Remark(kMissingEndRemark);
    SetDecodeState(CLEANFINISH);
  } else if (!g_decode.beginSeen) {
    SetDecodeError(kMissingBoth, InputBaseName());
    SetDecodeState(BADFINISH);
  }
}

int FinishClean() {
  ShowStatus(kAtEnd, InputBaseName());
  const int result = JoinParts(run.window, g_partTotal, run.interactive, OP_DECODE);
  if (result == 0) {
    g_decode.actualSize = static_cast<int32_t>(OutputFileSize(g_decode.outputName));
    if (!run.fileFinished) NoteFinishedOutput(g_decode.outputName);
    // A single file was written in place: its record names the output, which stays.
    for (PartRecord& record : g_partTable) record.fileName[0] = '\0';
  } else {
    DeletePartFiles();
  }
  return result;
}

// The text that says why the pass failed, into the run's error text; false when the state
// has no such text.
bool FailureText() {
  const char* missing = nullptr;
  switch (g_decode.state) {
    case LOOKFORHEADERTYPE: missing = "Any Encoding Header Information"; break;
    case DECODELINES: missing = "End of Encoded Data"; break;
    case PREPARETRAILER: missing = "Trailer to Match Header"; break;
    case FINDSEPARATOR: missing = "Separator Indicating Start of Data"; break;
    case FINDSTARTOFDATA: missing = "Start of Encoded Data"; break;
    case BADFINISH: return true;
    default: return false;
  }
  SetDecodeError(kCannotFind, DecodeInputName(), missing);
  return true;
}

int RetryOrGiveUp() {
  if (!run.interactive) {
    Abandon();
    return RESULT_REPORTED;
  }
  if (g_decode.tryAll) {
    if (g_decode.forcedStyle >= LAST_STYLE) {
      ShowMessage(run.window, MB_ICONHAND, kPieceTogether, DecodeInputName(), g_decode.binaryData ? kBinaryNote : "");
      Abandon();
      return RESULT_REPORTED;
    }
    ++g_decode.forcedStyle;
    return PASS_RESTART;
  }
  if (OffersEncoding()) {
    const int which = AskEncodeOrDecode(run.window);
    if (which != WHICH_CODE_DECODE) {
      Abandon();
      return which == WHICH_CODE_ENCODE ? RESULT_ENCODE_INSTEAD : RESULT_CANCELLED;
    }
  }
  const int retry = AskHowToRetry(run.window, g_decode.errorText);
  // Anything but try-all or a style row gives up: a pass never runs with a style the
  // table does not have.
  if (retry != RETRY_TRY_ALL && (retry < STYLE_SINGLE || retry > LAST_STYLE)) {
    Abandon();
    return RESULT_REPORTED;
  }
  g_decode.tryAll = retry == RETRY_TRY_ALL;
  g_decode.forcedStyle = g_decode.tryAll ? STYLE_SINGLE : retry;
  return PASS_RESTART;
}

// A "1 of 1" header restarted the run as a single file but that pass found no header: the
// posting is framed by its style after all (base64 parts carry no header of their own).
bool BackToOneOfOneStyle() {
  if (run.oneOfOneStyle == 0 || run.oneOfOneRetried || g_decode.state != LOOKFORHEADERTYPE ||
      g_decode.style != STYLE_TO_BE_DETERMINED)
    return false;
  run.oneOfOneRetried = true;
  g_decode.forcedStyle = run.oneOfOneStyle;
  return true;
}

// The input held nothing but message/partial messages: the pass that found nothing else
// has nothing to report.
bool FoundOnlyPartialMessages() {
  return run.partialsFound && run.laterPass == 0 && g_decode.state == LOOKFORHEADERTYPE &&
         g_decode.style == STYLE_TO_BE_DETERMINED && !g_decode.errorText[0];
}

int EndPass() {
  if (!FinishOutput()) {
    Abandon();
    return RESULT_REPORTED;
  }
  if (BackToOneOfOneStyle()) return PASS_RESTART;
  if (FoundOnlyPartialMessages()) return RESULT_DONE;
  SettleEndState();
  switch (g_decode.state) {
    case CLEANFINISH: return FinishClean();
    case CRITICALERROR: Abandon(); return RESULT_REPORTED;
    default: break;
  }
  if (!FailureText()) {
    Abandon();
    ShowMessage(run.window, MB_ICONHAND, kUnexpectedEof, DecodeStateName(g_decode.state));
    return RESULT_FAILED;
  }
  return RetryOrGiveUp();
}

// After a clean pass that passed over files of the other kind: the pass's last file is
// tested like every finished one (the caller tests only the run's last), and the next pass
// starts from the job's settings, passing over what this one used. A later pass that finds
// nothing fails as any pass does: what the first one passed over must not go unreported.
bool StartsLaterPass() {
  if (!run.otherKindPassedOver || run.laterPass >= MAX_LATER_PASSES) return false;
  TestFinishedFileChecksums();
  run.used.Keep();
  ++run.laterPass;
  g_decode.forcedStyle = run.jobForcedStyle;
  run.oneOfOneStyle = 0;
  run.oneOfOneRetried = false;
  return true;
}

int DecodePasses() {
  for (;;) {
    if (!PassSetup()) {
      Abandon();
      return RESULT_REPORTED;
    }
    int r = RunLoop();
    if (r == 0) r = EndPass();
    if (r == PASS_RESTART) {
      CloseOutput();
      DeletePartFiles();
      run.used.DropUnkept();
    } else if (r != 0 || !StartsLaterPass()) {
      CloseInput();
      return r;
    }
    RestartFromTop();
  }
}

// The message that the parts of one message/partial id enclose, joined into a temporary
// file, is decoded as an input of its own, by the job's method; its files land beside the
// job's input and join the run's list.
int DecodeJoinedMessage(const char* path) {
  const int s = StreamOpenForReading(path, STREAM_TEXT);
  if (s < 0) {
    ShowMessage(run.window, MB_ICONHAND, kReadFailure, 0L, path);
    return RESULT_REPORTED;
  }
  const int format = run.initialFormat;
  const int outputs = g_job.outputCount;
  RunSetup(run.window, s, run.interactive);
  run.initialFormat = format;
  run.outputsBefore = outputs;
  return DecodePasses();
}

// After the rest of the input: every id whose parts are all there is decoded; one with
// parts missing is reported and makes the run fail.
int DecodeEnclosedMessages(PartialMessages& partials) {
  if (partials.Any() && g_job.outputCount > 0) TestFinishedFileChecksums();
  int result = RESULT_DONE;
  for (size_t i = 0; i < partials.Count(); ++i) {
    char path[PATH_ROOM];
    int r = partials.Join(run.window, i, path);
    if (r == RESULT_DONE) {
      r = DecodeJoinedMessage(path);
      DeleteFileA(path);
    }
    if (r == RESULT_CANCELLED || r == RESULT_DECLINED || r == RESULT_ENCODE_INSTEAD) return r;
    if (r != RESULT_DONE) result = r;
  }
  return result;
}

}  // namespace

int DecodeFile(HWND window, int input, int interactive) {
  RunSetup(window, input, interactive);
  PartialMessages partials;
  int result = g_job.inputHoldsNoPartials ? RESULT_DONE : partials.Collect(window, input, run.used);
  run.partialsFound = partials.Any();
  if (result == RESULT_DONE) result = DecodePasses();
  else Abandon();
  if (result == RESULT_DONE) result = DecodeEnclosedMessages(partials);
  ClosePartFiles();
  PublishToJob();
  return result;
}
