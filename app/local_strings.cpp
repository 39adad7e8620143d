#include "app/local_strings.h"

#include <cstring>

#include "core/platform.h"

char* StrDup(const char* text) {
  size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(LocalAlloc(LMEM_FIXED, size));
  if (copy) std::memcpy(copy, text, size);
  return copy;
}

void StrFree(char* copy) {
  if (copy) LocalFree(copy);
}
