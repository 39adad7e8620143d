// What the engines ask of the user interface: reports, status, progress, message pumping,
// the cancel request and output files. The program links the window-based versions
// (app/); the engine tests link a scripted stand-in that records every report and
// answers every question as the test says. Engine code does not know which it runs with.
#pragma once
#include "core/platform.h"

enum { MESSAGE_ROOM = 383, ERROR_MESSAGE_ROOM = 511 };

// Formats the text (wsprintf rules, cut to MESSAGE_ROOM) and shows it in a message box
// captioned with the product name. Returns the button pressed.
int ShowMessage(HWND owner, UINT flags, const char* format, ...);
// As ShowMessage, with "\r\n" and the system's text for `error` appended (room 511).
int ShowErrorMessage(HWND owner, DWORD error, UINT flags, const char* format, ...);
void ShowStatus(const char* format, ...);
void ShowJobStatus(int operation, int encodingType, const char* input, const char* output,
                   int part, int total);
// Sets the progress bar (0 to 100); steps between the ends show at a later pump, at most
// every PROGRESS_INTERVAL_MS (core/pump_timer.h).
void SetProgress(int position);
// Serves up to `count` waiting window messages without waiting for any; the engines then
// test g_job.cancelRequested (core/job_state.h). The engines call it at part and file
// boundaries.
void PumpMessages(int count);
// After each unit of work (a line, a block): PumpMessages(4) when a pump is due by time
// (core/pump_timer.h), else nothing. Cheap enough to call per line.
void PumpMessagesWhenDue();
// Sets `cursor` (null: the program's wait cursor) and saves the one it replaces.
void SetWaitCursor(HCURSOR cursor);
void RestoreCursor();
// The window that owns the engines' reports.
HWND MainWindow();

// What MakeOutFile may ask: no name (an interactive job is still asked before an existing
// file is replaced, as the settings say); the save dialog (unless usedefaultnames) and whether
// to overwrite an existing file; or nothing at all, the user having agreed to replace the file
// already (the parts of a split output are asked about together, before the first is written).
enum { ASK_NOTHING = 0, ASK_NAME = 1, ASK_AGREED = 2 };
// Settles the name of an output file and opens it for writing. `name` holds 260 characters:
// in, the proposed path; out, the path created. `ask` is one of the values above. Returns a
// stream handle, -2 when the file cannot be created, -3 when the user cancelled or declined.
int MakeOutFile(HWND owner, char* name, int mode, int ask);
// Before the first of `count` outputs with fixed names (the parts of a split output) is
// written: the existing files among them are asked about in one question, as MakeOutFile
// would ask about each. Returns ASK_AGREED (replace them), ASK_NOTHING (none exists), -3 when
// the user declined or -2 when a run without questions may not replace them (reported).
int ConfirmReplacingOutputs(HWND owner, const char* const* names, int count, int mode);
