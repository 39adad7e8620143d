// The status line, the progress bar, the message pump, cursors and window placement.
#include "core/platform.h"

#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/name_tables.h"
#include "app/program.h"
#include "app/window_place.h"
#include "core/job_state.h"
#include "core/names.h"
#include "core/pump_timer.h"
#include "core/ui.h"
#include "encode/header_styles.h"

namespace {

HCURSOR g_savedCursor;
PumpTimer g_pumpTimer;
int g_progressShown = -1;
int g_progressWanted = 0;
uint32_t g_progressShownAt = 0;

enum { PUMP_BATCH = 4, PROGRESS_FULL = 100 };

uint32_t Ticks() { return GetTickCount(); }

void ShowProgress(int position, uint32_t now) {
  SendMessageA(g_program.progressBar, PBM_SETPOS, position, 0);
  g_progressShown = position;
  g_progressShownAt = now;
}

bool Given(const char* path) { return path && *path; }

// Appends to a status text, cutting at MESSAGE_ROOM.
void AppendStatus(char* text, const char* format, ...) {
  size_t used = std::strlen(text);
  va_list args;
  va_start(args, format);
  std::vsnprintf(text + used, MESSAGE_ROOM + 1 - used, format, args);
  va_end(args);
}

}  // namespace

void ShowStatus(const char* format, ...) {
  char text[MESSAGE_ROOM + 1];
  va_list args;
  va_start(args, format);
  if (std::vsnprintf(text, sizeof text, format, args) < 0) text[0] = '\0';
  va_end(args);
  SetWindowTextA(g_program.statusText, text);
}

void ShowJobStatus(int operation, int encodingType, const char* input, const char* output, int part,
                   int total) {
  char text[MESSAGE_ROOM + 1] = "";
  if (Given(output)) {
    AppendStatus(text, "%s %s - Type %s", EncodingTypeName(encodingType), OperationName(operation),
                 HeaderStyleName(g_job.headerStyle));
    if (part >= 1 && total < 1)
      AppendStatus(text, " - Part %d", part);
    else if (total > 1)
      AppendStatus(text, " - Part %d of %d", part, total);
  }
  if (Given(input) && !Given(output)) AppendStatus(text, "%s", input);
  if (Given(input) && Given(output))
    AppendStatus(text, "\r\n%s --> %s", FileNamePart(input), FileNamePart(output));
  SetWindowTextA(g_program.statusText, text);
}

// The bar repaints at once when set, which under Wine costs milliseconds: a fast job's steps
// would cost more than its work, and one a pump (every PUMP_INTERVAL_MS) a fifth of a long
// job's time. So a step between the ends waits for a pump at least PROGRESS_INTERVAL_MS
// after the last step shown, and the empty and the full bar show at once.
void SetProgress(int position) {
  g_progressWanted = position;
  if (position <= 0 || position >= PROGRESS_FULL) ShowProgress(position, Ticks());
}

// A quit message taken here would end no loop, so it is put back for the message loop.
void PumpMessages(int count) {
  const uint32_t now = Ticks();
  g_pumpTimer.Pumped(now);
  if (g_progressWanted != g_progressShown && static_cast<uint32_t>(now - g_progressShownAt) >= PROGRESS_INTERVAL_MS)
    ShowProgress(g_progressWanted, now);
  MSG message;
  for (int i = 0; i < count && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void PumpMessagesWhenDue() {
  if (g_pumpTimer.Due(Ticks)) PumpMessages(PUMP_BATCH);
}

// Only the first cursor replaced is kept, so nested waits restore the original one.
void SetWaitCursor(HCURSOR cursor) {
  if (!cursor) cursor = g_program.waitCursor ? g_program.waitCursor
                                              : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
  HCURSOR previous = SetCursor(cursor);
  if (!g_savedCursor) g_savedCursor = previous;
}

void RestoreCursor() {
  if (!g_savedCursor) return;
  SetCursor(g_savedCursor);
  g_savedCursor = nullptr;
}

HWND MainWindow() { return g_program.mainWindow; }

void CenterWindow(HWND window) {
  RECT place;
  GetWindowRect(window, &place);
  int x = (GetSystemMetrics(SM_CXSCREEN) - (place.right - place.left)) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - (place.bottom - place.top)) / 3;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
