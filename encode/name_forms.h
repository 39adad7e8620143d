// The name forms derived from the input path for headers and trailers, and the
// output names with DefaultExtension. The base name and the stem
// are FileNamePart and BaseNameWithoutExtension of core/names.h.
#pragma once
#include <cstddef>

// Short name: the base name in the 8.3 form the file system reports, else the base name.
void EncodeShortName(const char* path, char* dest, size_t room);
// Quoted name: the base name between double quotes when it contains a space.
void EncodeQuotedName(const char* path, char* dest, size_t room);

// ".uue", ".xxe", ".mme", ".hqx" for types 1 to 4, "" for any other type.
const char* DefaultExtension(int type);

enum { OUTPUT_NAME_ROOM = 256 };
// The output name of part k of n (dest holds OUTPUT_NAME_ROOM): "the Clipboard",
// "%u E-mail Recipient%s", or the file name derived from the input path (or the user-given
// output name) with the method's extension. Returns dest.
char* ComposeEncodeOutputName(const char* inputPath, int method, int k, int n, char* dest);
