// The part table: 99 records, record n - 1 for part n. The encoder records
// the output files of the current job in it so that a failed or cancelled job deletes them
// all; the decoder records the temporary file of every part and joins them.
#pragma once
#include <cstdint>

enum { MAX_PARTS = 99, PART_NAME_ROOM = 256 };

struct PartRecord {
  int32_t partNumber;           // 0 = not seen (missing)
  uint32_t expectedChecksum;    // from the part's "sum -r/size" line; 0 = none
  uint32_t calculatedChecksum;  // sum -r of the part's encoded text
  int32_t expectedSize;         // from the part's "sum -r/size" line; 0 = none
  int32_t calculatedSize;       // length of the part's encoded text, one byte per line end
  char fileName[PART_NAME_ROOM];  // the part's file (encoder: its output); empty = none
};

extern PartRecord g_partTable[MAX_PARTS];
extern int g_partTotal;            // the run's total part count, 0 = not known
extern PartRecord* g_currentPart;  // the current record

// Sets every record's numbers to 0 and its file name to empty, without touching any file;
// the total to 0 and record 1 current.
void ClearPartTable();
// Deletes from disk every file named in a record and empties the name.
void DeletePartFiles();
