#include "app/name_tables.h"

#include <iterator>

namespace {
const char* const kOperationNames[] = {"", "Encode", "Decode", "Concatenate"};
const char* const kEncodingTypeNames[] = {"Auto", "UU", "XX", "MIME", "BinHex", "yEnc"};

template <size_t N>
const char* NameAt(const char* const (&table)[N], int index) {
  return index >= 0 && static_cast<size_t>(index) < N ? table[index] : "";
}
}  // namespace

const char* OperationName(int operation) { return NameAt(kOperationNames, operation); }
const char* EncodingTypeName(int type) { return NameAt(kEncodingTypeNames, type); }
