#include "decode/part_table.h"

#include <cstring>

#include "core/platform.h"

PartRecord g_partTable[MAX_PARTS];
int g_partTotal = 0;
PartRecord* g_currentPart = &g_partTable[0];

void ClearPartTable() {
  std::memset(g_partTable, 0, sizeof g_partTable);
  g_partTotal = 0;
  g_currentPart = &g_partTable[0];
}

void DeletePartFiles() {
  for (PartRecord& record : g_partTable) {
    if (record.fileName[0] != '\0') DeleteFileA(record.fileName);
    record.fileName[0] = '\0';
  }
}
