// The part table: 99 records, record n - 1 for part n. The encoder records
// the output files of the current job in it so that a failed or cancelled job deletes them
// all; the decoder records the temporary file of every part and joins them.
#pragma once
#include <cstdint>

#include "core/platform.h"

enum { MAX_PARTS = 99, PART_NAME_ROOM = 256 };

struct PartRecord {
  int32_t partNumber;           // 0 = not seen (missing)
  uint32_t expectedChecksum;    // from the part's "sum -r/size" line; 0 = none
  uint32_t calculatedChecksum;  // sum -r of the part's encoded text
  int32_t expectedSize;         // from the part's "sum -r/size" line; 0 = none
  int32_t calculatedSize;       // length of the part's encoded text, one byte per line end
  char fileName[PART_NAME_ROOM];  // the part's file (encoder: its output); empty = none
  // The decoder writes parts that come in order one after the other into one file, so that
  // joining them copies nothing. Its part's bytes are then the fileLength bytes (-1: up to
  // the end of the file) at fileOffset of fileName; without `ranged` they are the whole file.
  bool ranged;
  int64_t fileOffset;
  int64_t fileLength;
  // An input of a join, opened already to read its head and kept open for the join (an
  // open costs about 0.15 ms under Wine); null when none.
  HANDLE keptInput;
};

extern PartRecord g_partTable[MAX_PARTS];
extern int g_partTotal;            // the run's total part count, 0 = not known
extern PartRecord* g_currentPart;  // the current record

// Sets every record's numbers to 0 and its file name to empty, without touching any file
// but closing the inputs kept open; the total to 0 and record 1 current.
void ClearPartTable();
// Keeps the record's input open, at any position, for the join that reads it next.
void KeepInputOpen(PartRecord& record, HANDLE file);
// The input kept open for the record, the caller's from here on, or INVALID_HANDLE_VALUE.
HANDLE TakeKeptInput(PartRecord& record);
// Closes every input kept open and not taken: the user may move or delete them again.
void CloseKeptInputs();
// Deletes from disk every file named in a record and empties the name.
void DeletePartFiles();
// Empties the record's file name, deleting the file unless another record names it too.
void ReleasePartFile(PartRecord& record);

// Opens the file that the record's part is decoded into and records where its bytes start:
// right after the bytes of `previous` (the part before it, finished) in that part's file,
// when given and that file is still small enough for the offsets of the stream layer;
// else a new temporary file in the folder of the path `beside` (the temporary directory
// when that folder takes none). The stream, or -1 (the system's last error tells why; the
// path tried is in the record).
int OpenPartFile(PartRecord& record, const PartRecord* previous, const char* beside);
// Before the part's stream closes: records how many bytes the part left in its file, so
// that a later part may follow them. False when they could not be written.
bool EndPartFile(PartRecord& record, int stream);
// Whether the next part may follow this one in its file.
bool CanBeFollowed(const PartRecord& record);
// After EndPartFile: keeps the part's stream open for the part that may follow it, which
// OpenPartFile then takes; false (the stream is the caller's to close) when none may.
bool HoldPartFile(const PartRecord& record, int stream);
// Closes the stream held for a following part. Deleting, releasing or clearing the part
// files does so first; so must any other reader or mover of a part file (the join).
void ClosePartFiles();
