// The open dialog for inputs (askuu) and the helpers of output naming; MakeOutFile itself
// is declared with the other engine-facing calls in core/ui.h.
#pragma once
#include <cstddef>

#include "core/platform.h"

#include <commdlg.h>

enum FileDialogMode { MODE_ENCODE = 1, MODE_DECODE = 2, MODE_CONCATENATE = 3 };
enum { OPEN_FILE_BUFFER_SIZE = 32768, CUSTOM_FILTER_ROOM = 256, FILE_TITLE_ROOM = 256 };

// Lets the user choose input files. One file: its path goes into `name` (260) and it is
// returned opened for reading. Several: they go into the input list, UM_NEXT_INPUT is
// posted and -1 returned. Cancelled or failed: -1.
int askuu(HWND owner, int mode, char* name);

// Appends the files of a multiple selection (a folder, then NUL-separated names from
// `fileOffset`, then an empty name) to the input list; those that do not fit in the list
// or in a path are reported. Returns the number added.
int AddChosenFiles(HWND owner, const char* buffer, size_t fileOffset);

// The user's folder for the outputs and inputs of `mode` (encodedir or decodedir when
// chosen in the settings), or null for "the same folder as the input".
const char* ChosenFolder(int mode);
// The fields the open and save dialogs fill alike; `customFilter` holds CUSTOM_FILTER_ROOM
// and `fileTitle` FILE_TITLE_ROOM characters. Filter index 1, explorer style.
OPENFILENAMEA FileDialogFields(HWND owner, int mode, const char* filters, char* customFilter,
                               char* file, DWORD fileRoom, char* fileTitle, const char* title);

// "%s\%s" of a folder and a name into `dest`; false (and nothing usable) when it does not fit.
bool JoinPath(const char* folder, const char* name, char* dest, size_t room);
