// The open dialog for inputs (askuu) and the helpers of output naming; MakeOutFile itself
// is declared with the other engine-facing calls in core/ui.h.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "core/platform.h"

#include <commdlg.h>

enum FileDialogMode { MODE_ENCODE = 1, MODE_DECODE = 2, MODE_CONCATENATE = 3 };
enum { OPEN_FILE_BUFFER_SIZE = 32768, CUSTOM_FILTER_ROOM = 256, FILE_TITLE_ROOM = 256 };

// Lets the user choose input files. One file: its path goes into `name` (260) and it is
// returned opened for reading. Several: they go into the input list, UM_NEXT_INPUT is
// posted and -1 returned. Cancelled or failed: -1.
int askuu(HWND owner, int mode, char* name);

// The paths of a multiple selection (a folder, then NUL-separated names from `fileOffset`,
// then an empty name); those that do not fit in the input list or in a path are reported.
std::vector<std::string> ChosenFiles(HWND owner, const char* buffer, size_t fileOffset);

// The folder for the outputs (and the dialogs) of `mode`: the user's folder (encodedir or
// decodedir) when the settings choose one; the documents folder for a running job whose input
// has no folder of its own (a message, the clipboard); otherwise null, beside the input.
const char* OutputFolder(int mode);
// The user's documents folder; empty when the system names none.
const char* DocumentsFolder();
// The fields the open and save dialogs fill alike; `customFilter` holds CUSTOM_FILTER_ROOM
// and `fileTitle` FILE_TITLE_ROOM characters. Filter index 1, explorer style.
OPENFILENAMEA FileDialogFields(HWND owner, int mode, const char* filters, char* customFilter,
                               char* file, DWORD fileRoom, char* fileTitle, const char* title);

// "%s\%s" of a folder and a name into `dest`; false (and nothing usable) when it does not fit.
bool JoinPath(const char* folder, const char* name, char* dest, size_t room);
