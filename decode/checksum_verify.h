// The checksum test after a decode: the expected sizes and checksums the input carried
// (its "sum -r/size" lines, the BinHex CRCs) against those computed while decoding.
#pragma once
#include <string>
#include <vector>

// The flag that the last test met any checksum data.
void ClearChecksumFound();
bool ChecksumFound();

// Compares the run's whole-file and part values; returns the number of mismatches. With no
// list, a whole-file sum -r that disagrees is recomputed from the output file (the parts
// may have been met out of order); with a list, one line per mismatch is added to it and
// nothing is recomputed.
int TestChecksums(std::vector<std::string>* list);
