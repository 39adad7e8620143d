#include "decode/binhex_decode.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/name_charsets.h"
#include "core/names.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/decode_context.h"
#include "encode/binhex_encode.h"

namespace {

const char kHeaderInfo[] =
    "BinHex Header Information:\r\n\r\nFile Name:\t%s\r\nFile Type: \t%s\r\nFile Creator:\t%s\r\n"
    "File Flags: \t%X\r\nData size: \t%ld\r\nResource size:\t%ld";
const char kHeaderCrcWarning[] =
    "Warning! Calculated header CRC of %x does not match the file header CRC of %x!\t\t Possible corrupt input file.";
const char kPrematureEnd[] = "BinHex: Premature End of File in %s.\r\n%s Length Specified was %ld Bytes;\r\n%s";
const char kColonFound[] = "Delimiter ':' Found After %ld Bytes.";
const char kEofFound[] = "EOF Found After %ld Bytes.";
const char kHeaderCut[] = "BinHex: Premature End of File in %s.\r\nThe header is incomplete.";
const char kIgnoringResource[] = "Ignoring Resource Fork in %s ...";
const char* const kForkNames[] = {"Data", "Resource"};

enum { GROUP_SYMBOLS = 4, GROUP_BYTES = 3, RUN_MARK = 0x90, TYPE_LENGTH = 4 };
enum Fork { FORK_DATA = 0, FORK_RESOURCE = 1, FORK_DONE = 2 };

// The reader of one BinHex file; fresh for each header.
struct Reader {
  int input;
  bool anyway;
  unsigned char group[GROUP_BYTES];
  int position;     // next byte of the group to hand out, 0 = read a new group
  int colonAt;      // symbol position of a colon in the group, 0 = none
  int endAt;        // the same for the end of input
  unsigned char last;
  int repeatsOwed;
  int fork;
  uint32_t forkLength;
  uint32_t count;
  uint16_t crc;
  uint16_t dataCrc;
  uint32_t resourceLength;
  int colons;   // colons met since the header began: the opening one, then the closing one
  bool ended;   // the end of input has been met
  int invalidByte;      // the last invalid character read
  bool invalidPending;  // met after bytes of the same call, which went out first
  bool readFailed;      // the input could not be read: no character to blame
};
Reader reader;

const char* InputBaseName() { return FileNamePart(DecodeInputName()); }

void FeedCrc(unsigned char b) { reader.crc = UpdateBinHexCrc(b, reader.crc); }

// The two zero bytes that close every CRC'd section; gives the section's CRC.
uint16_t CloseCrc() {
  FeedCrc(0);
  FeedCrc(0);
  return reader.crc;
}

void StartReader(int input) {
  std::memset(&reader, 0, sizeof reader);
  reader.input = input;
}

// A group cut short by a colon or the end has reached the cut: the result, and a new group next.
int CutGroup(int* at, int result) {
  *at = 0;
  reader.position = 0;
  return result;
}

// Reads one group of four symbols into the reader; 0, or a negative result to hand on.
int ReadGroup() {
  reader.colonAt = reader.endAt = 0;
  int symbols[GROUP_SYMBOLS] = {0, 0, 0, 0};
  for (int i = 0; i < GROUP_SYMBOLS; ++i) {
    const int s = BinHexReadSymbol();
    if (s == BINHEX_INVALID || (i == 0 && s < 0)) return s;
    if (s < 0) {
      (s == BINHEX_COLON ? reader.colonAt : reader.endAt) = i;
      break;
    }
    symbols[i] = s;
  }
  reader.group[0] = static_cast<unsigned char>(symbols[0] << 2 | symbols[1] >> 4);
  reader.group[1] = static_cast<unsigned char>(symbols[1] << 4 | symbols[2] >> 2);
  reader.group[2] = static_cast<unsigned char>(symbols[2] << 6 | symbols[3]);
  return 0;
}

// Reads `count` bytes into `dest`; 0, or the first negative result.
int ReadBytes(unsigned char* dest, int count) {
  for (int i = 0; i < count; ++i) {
    const int b = BinHexReadByte();
    if (b < 0) return b;
    dest[i] = static_cast<unsigned char>(b);
  }
  return 0;
}

// Reads a number of `count` bytes, most significant first; 0, or a negative result.
int ReadNumber(int count, uint32_t* value) {
  *value = 0;
  for (int i = 0; i < count; ++i) {
    const int b = BinHexReadByte();
    if (b < 0) return b;
    *value = *value << 8 | static_cast<uint32_t>(b);
  }
  return 0;
}

struct HeaderFields {
  char name[BINHEX_NAME_ROOM];
  char type[TYPE_LENGTH + 1];
  char creator[TYPE_LENGTH + 1];
  uint32_t flags;
  uint32_t dataLength;
  uint32_t resourceLength;
};

// The name: a length byte, the characters and the version byte. The name field holds 63
// characters; a longer name is read in full (the stream and the CRC go on past it) and
// cut to its first 63.
int ReadName(char* name) {
  const int length = BinHexReadByte();
  if (length < 0) return length;
  unsigned char characters[UINT8_MAX + 1];
  const int r = ReadBytes(characters, length + 1);
  if (r < 0) return r;
  const int kept = length < BINHEX_MAX_NAME ? length : BINHEX_MAX_NAME;
  std::memcpy(name, characters, static_cast<size_t>(kept));
  name[kept] = '\0';
  return 0;
}

int ReadHeaderFields(HeaderFields* h) {
  int r = ReadName(h->name);
  if (r == 0) r = ReadBytes(reinterpret_cast<unsigned char*>(h->type), TYPE_LENGTH);
  if (r == 0) r = ReadBytes(reinterpret_cast<unsigned char*>(h->creator), TYPE_LENGTH);
  if (r == 0) r = ReadNumber(2, &h->flags);
  if (r == 0) r = ReadNumber(4, &h->dataLength);
  if (r == 0) r = ReadNumber(4, &h->resourceLength);
  return r;
}

// The Mac name (Mac Roman) in the program's code page, for the user to read.
void ShowHeader(HWND owner, const HeaderFields& h, uint16_t computed, uint16_t stored) {
  char utf8[DECODE_NAME_ROOM], shown[DECODE_NAME_ROOM];
  MacRomanToUtf8(h.name, utf8, sizeof utf8);
  NameFromPosting(utf8, shown, sizeof shown);
  ShowMessage(owner, MB_OK, kHeaderInfo, shown, h.type, h.creator, static_cast<unsigned>(h.flags & 0xFFFFu),
              static_cast<long>(h.dataLength), static_cast<long>(h.resourceLength));
  if (computed != stored) ShowMessage(owner, MB_ICONEXCLAMATION, kHeaderCrcWarning, computed, stored);
}

void SetPrematureEnd(int result) {
  char found[64];
  std::snprintf(found, sizeof found, result == BINHEX_COLON ? kColonFound : kEofFound,
                static_cast<long>(reader.count));
  SetDecodeError(kPrematureEnd, InputBaseName(), kForkNames[reader.fork], static_cast<long>(reader.forkLength),
                 found);
}

// The end of a fork: closes its CRC and moves on. Returns FORK_RESOURCE when the resource
// fork follows, FORK_DONE when it has ended too (the closing colon is then consumed), or
// the negative result that kept the data fork's CRC from being read.
int FinishFork() {
  const uint16_t computed = CloseCrc();
  uint32_t stored = 0;
  if (reader.fork == FORK_DATA) {
    // A stream cut right after the data has no CRC to check them by: it ends prematurely.
    const int r = ReadNumber(2, &stored);
    if (r < 0) return r;
    reader.fork = FORK_RESOURCE;
    ShowStatus(kIgnoringResource, InputBaseName());
    reader.dataCrc = computed;
    g_decode.wholeExpectedChecksum = stored;
    reader.forkLength = reader.resourceLength;
    reader.count = 0;
    reader.crc = 0;
    return FORK_RESOURCE;
  }
  reader.fork = FORK_DONE;
  // The resource fork's CRC is not checked. The rest of the group was read with it; the
  // closing colon is read unless a group already met it, so that nothing after the colon
  // is taken from the input.
  ReadNumber(2, &stored);
  reader.position = 0;
  if (reader.colons < 2 && !reader.ended) BinHexReadSymbol();
  g_decode.wholeCalculatedChecksum = reader.dataCrc;
  return FORK_DONE;
}

// A failed read of the input, reported as such: no character of it was read to blame.
int ReportReadFailure(HWND owner, int* nextState) {
  ShowMessage(owner, MB_ICONHAND, kReadFailure, g_decode.lineNumber, DecodeInputName());
  *nextState = CRITICALERROR;
  return 0;
}

// The refusal of an invalid character, its text set again for the caller's turn.
int RefuseInvalid(int* nextState) {
  reader.invalidPending = false;
  if (!reader.anyway) SetDecodeError(kInvalidDataByte, reader.invalidByte);
  *nextState = BADFINISH;
  return -1;
}

}  // namespace

int BinHexReadSymbol() {
  unsigned char c[2];
  for (;;) {
    const int n = StreamReadBlock(reader.input, c, 1);
    if (n == 0) {
      reader.ended = true;
      return BINHEX_END;
    }
    if (n < 0) {
      reader.readFailed = true;
      return BINHEX_INVALID;
    }
    ++g_decode.bytesRead;
    if (c[0] == ' ' || c[0] == '\t' || c[0] == '\r' || c[0] == '\n') continue;
    if (c[0] == ':') {
      ++reader.colons;
      return BINHEX_COLON;
    }
    const int value = g_decode.table ? g_decode.table[c[0]] : -1;
    if (value >= 0) return value;
    reader.invalidByte = c[0];
    if (!reader.anyway) SetDecodeError(kInvalidDataByte, c[0]);
    return BINHEX_INVALID;
  }
}

int BinHexReadGroupByte() {
  if (reader.position == 0) {
    const int r = ReadGroup();
    if (r < 0) {
      // An invalid character ends the group: what follows starts a new one.
      reader.position = 0;
      return r;
    }
  }
  if (reader.colonAt != 0 && reader.colonAt <= reader.position) return CutGroup(&reader.colonAt, BINHEX_COLON);
  if (reader.endAt != 0 && reader.endAt <= reader.position) return CutGroup(&reader.endAt, BINHEX_END);
  const int b = reader.group[reader.position];
  reader.position = (reader.position + 1) % GROUP_BYTES;
  return b;
}

int BinHexReadByte() {
  if (reader.repeatsOwed > 0) {
    --reader.repeatsOwed;
    FeedCrc(reader.last);
    return reader.last;
  }
  int b = BinHexReadGroupByte();
  if (b < 0) return b;
  if (b == RUN_MARK) {
    const int c = BinHexReadGroupByte();
    if (c < 0) return c;
    if (c == 0) {
      reader.last = RUN_MARK;
    } else {
      // The count includes the byte's first appearance, already handed out; a count of 1
      // repeats nothing more and gives the byte once again as the run's last.
      reader.repeatsOwed = c >= 2 ? c - 2 : 0;
      b = reader.last;
    }
  } else {
    reader.last = static_cast<unsigned char>(b);
  }
  FeedCrc(static_cast<unsigned char>(b));
  return b;
}

int BinHexReadHeader(HWND owner, int interactive) {
  StartReader(g_decode.input);
  if (BinHexReadSymbol() != BINHEX_COLON) return BINHEX_NO_COLON;
  HeaderFields h;
  std::memset(&h, 0, sizeof h);
  int r = ReadHeaderFields(&h);
  const uint16_t computed = CloseCrc();
  uint32_t stored = 0;
  if (r == 0) r = ReadNumber(2, &stored);
  if (r < 0) {
    if (reader.readFailed) SetDecodeError(kReadFailure, g_decode.lineNumber, DecodeInputName());
    else if (r != BINHEX_INVALID) SetDecodeError(kHeaderCut, InputBaseName());
    return BINHEX_BAD_HEADER;
  }
  g_currentPart->calculatedChecksum = computed;
  g_currentPart->expectedChecksum = stored;
  g_decode.wholeExpectedSize = static_cast<int32_t>(h.dataLength);
  g_decode.wholeExpectedChecksum = 0;
  reader.crc = 0;
  reader.fork = FORK_DATA;
  reader.forkLength = h.dataLength;
  reader.resourceLength = h.resourceLength;
  reader.count = 0;
  if (interactive) ShowHeader(owner, h, computed, static_cast<uint16_t>(stored));
  // Names from headers are UTF-8 or Windows-1252 to the decoder; a Mac name is neither.
  MacRomanToUtf8(h.name, g_decode.headerName, sizeof g_decode.headerName);
  g_decode.nameFound = true;
  return BINHEX_HEADER_READ;
}

int BinHexDecodeChunk(HWND owner, int stream, unsigned char* out, int, bool anyway, PartRecord*, int* nextState) {
  *nextState = DECODELINES;
  reader.input = stream;
  reader.anyway = anyway;
  if (reader.fork == FORK_DONE) {  // both forks are read: nothing more to hand out
    *nextState = PREPARETRAILER;
    return 0;
  }
  if (reader.invalidPending) return RefuseInvalid(nextState);
  int put = 0;
  for (int turn = 0; turn < BINHEX_CHUNK && reader.count < reader.forkLength; ++turn) {
    const int b = BinHexReadByte();
    if (reader.readFailed) return ReportReadFailure(owner, nextState);
    if (b == BINHEX_INVALID) {
      // The bytes decoded before the invalid character are good: they go out now, and
      // the refusal comes with the next call.
      if (put == 0) return RefuseInvalid(nextState);
      reader.invalidPending = true;
      return put;
    }
    if (b < 0) {
      SetPrematureEnd(b);
      *nextState = BADFINISH;
      return 0;
    }
    ++reader.count;
    if (reader.fork == FORK_DATA) out[put++] = static_cast<unsigned char>(b);
  }
  if (reader.count < reader.forkLength) return put;
  const int finished = FinishFork();
  if (reader.readFailed) return ReportReadFailure(owner, nextState);
  if (finished < 0) {
    // The data fork's CRC is cut off or damaged: the data cannot be trusted.
    if (finished == BINHEX_INVALID) SetDecodeError(kInvalidDataByte, reader.invalidByte);
    else SetPrematureEnd(finished);
    *nextState = BADFINISH;
    return 0;
  }
  if (finished == FORK_DONE) *nextState = PREPARETRAILER;
  return put;
}
