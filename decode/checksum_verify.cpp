#include "decode/checksum_verify.h"

#include <cstdint>
#include <cstdio>

#include "core/job_state.h"
#include "core/names.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/decode_context.h"
#include "encode/checksum.h"
#include "encode/crc32.h"
#include "encode/header_styles.h"

namespace {

const char kOutputSize[] = "Output File %s Size:\tExpected %ld\tCalculated %ld";
const char kOutputChecksum[] = "Output File %s Checksum:\tExpected %5u\tCalculated %5u";
const char kPartSize[] = "Part %d Size:\tExpected %ld\tCalculated %ld";
const char kPartChecksum[] = "Part %d Checksum:\tExpected %5u\tCalculated %5u";
const char kTesting[] = "Testing Checksum for %s ...";
const char kInconsistentSize[] = "Checksum Test of %s has Inconsistent File Size (%u vs. %u)";

enum { LINE_ROOM_CHECKSUM = 512, READ_BLOCK = 32768 };

bool checksumFound = false;

// Adds one formatted line to the list, when there is one.
template <typename... Args>
void AddLine(std::vector<std::string>* list, const char* format, Args... args) {
  if (!list) return;
  char line[LINE_ROOM_CHECKSUM];
  std::snprintf(line, sizeof line, format, args...);
  list->push_back(line);
}

const char* OutputBaseName() { return FileNamePart(g_decode.outputName); }

// The whole-file checksum of the run's format: CRC-32 for yEnc, sum -r otherwise.
uint32_t ContinueWholeChecksum(uint32_t sum, const unsigned char* block, size_t n) {
  if (g_decode.format == TYPE_YENC) return Crc32(sum, block, n);
  return SumBytes(static_cast<uint16_t>(sum), block, n);
}

// The decoder computed the whole-file checksum in the file's order already: BinHex, and a
// yEnc file of one part.
bool WholeChecksumIsFinal() {
  return g_decode.format == TYPE_BINHEX || (g_decode.format == TYPE_YENC && g_decode.style == STYLE_SINGLE);
}

// The whole-file checksum of the output file in the file's order; false when it cannot be read.
bool RecomputeWholeChecksum() {
  const int s = StreamOpenForReading(g_decode.outputName, STREAM_BINARY);
  if (s < 0) return false;
  ShowStatus(kTesting, OutputBaseName());
  uint32_t sum = 0;
  unsigned long count = 0;
  unsigned char block[READ_BLOCK];
  int n;
  while ((n = StreamReadBlock(s, block, READ_BLOCK)) > 0) {
    sum = ContinueWholeChecksum(sum, block, static_cast<size_t>(n));
    count += static_cast<unsigned long>(n);
    PumpMessagesWhenDue();  // a large output takes seconds: the window is painted, its status shown
  }
  StreamClose(s);
  if (count != static_cast<unsigned long>(g_decode.actualSize))
    ShowMessage(MainWindow(), MB_ICONEXCLAMATION, kInconsistentSize, g_decode.outputName,
                static_cast<unsigned>(g_decode.actualSize), static_cast<unsigned>(count));
  ShowStatus("");
  g_decode.wholeCalculatedChecksum = sum;
  return true;
}

int TestWholeFile(std::vector<std::string>* list) {
  int count = 0;
  if (g_decode.wholeExpectedSize > 0 && g_decode.wholeExpectedSize != g_decode.actualSize) {
    count = 1;
    AddLine(list, kOutputSize, OutputBaseName(), static_cast<long>(g_decode.wholeExpectedSize),
            static_cast<long>(g_decode.actualSize));
  }
  if (g_decode.wholeExpectedChecksum == 0) return count;
  checksumFound = true;
  // The decoder does not sum the output as it goes (parts may come in any order, and the sum
  // would cost every decode); the file is summed once here, and the list reuses the value.
  if (!list && !WholeChecksumIsFinal()) RecomputeWholeChecksum();
  if (g_decode.wholeCalculatedChecksum != g_decode.wholeExpectedChecksum) {
    ++count;
    AddLine(list, kOutputChecksum, OutputBaseName(), static_cast<unsigned>(g_decode.wholeExpectedChecksum),
            static_cast<unsigned>(g_decode.wholeCalculatedChecksum));
  }
  return count;
}

int TestPart(const PartRecord& record, int number, std::vector<std::string>* list) {
  int count = 0;
  if (record.expectedSize > 0) {
    checksumFound = true;
    if (record.expectedSize != record.calculatedSize) {
      ++count;
      AddLine(list, kPartSize, number, static_cast<long>(record.expectedSize), static_cast<long>(record.calculatedSize));
    }
  }
  if (record.expectedChecksum != 0) {
    checksumFound = true;
    if (record.expectedChecksum != record.calculatedChecksum) {
      ++count;
      AddLine(list, kPartChecksum, number, static_cast<unsigned>(record.expectedChecksum),
              static_cast<unsigned>(record.calculatedChecksum));
    }
  }
  return count;
}

}  // namespace

void ClearChecksumFound() { checksumFound = false; }
bool ChecksumFound() { return checksumFound; }

int TestChecksums(std::vector<std::string>* list) {
  int count = TestWholeFile(list);
  for (int n = 1; n <= g_partTotal && n <= MAX_PARTS; ++n) count += TestPart(g_partTable[n - 1], n, list);
  return count;
}
