// The file associations: the encoded-file extensions open in the program through its
// "Decode" verb and show its icon; the program's path is kept as the `fullpath` setting,
// where the shell extension finds the program.
#pragma once
#include "core/platform.h"

// Makes the associations under HKEY_CLASSES_ROOT for the running program and writes
// `fullpath`. Returns the number of registry entries that could not be made (0: all made).
int MakeFileAssociations(HWND owner);

// The same with the file types under `classes` (HKEY_CLASSES_ROOT for the program).
int MakeFileAssociationsIn(HKEY classes);

// Writes the extensions, file types, icons and "Decode" commands for `program` under
// `classes`. Returns the number of entries that could not be made.
int WriteFileAssociations(HKEY classes, const char* program);
