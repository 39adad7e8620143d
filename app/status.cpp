// The status line, the progress bar, the message pump, cursors and window placement.
#include "core/platform.h"

#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/name_tables.h"
#include "app/program.h"
#include "app/status.h"
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
uint32_t g_statusShownAt = 0;
bool g_statusTimerSet = false;
char g_pendingStatus[MESSAGE_ROOM + 1];

enum { PUMP_BATCH = 4, PROGRESS_FULL = 100 };

uint32_t Ticks() { return GetTickCount(); }

void ShowStatusNow(const char* text, uint32_t now) {
  if (g_statusTimerSet) KillTimer(g_program.mainWindow, STATUS_TIMER);
  g_statusTimerSet = false;
  SetWindowTextA(g_program.statusText, text);
  g_statusShownAt = now;
}

// A job sets the status several times a part (four when it decodes a posting), and under Wine
// each text is a round trip to the server and a repaint: a tenth of the work of a job of many
// small parts, for texts nobody could read. So, departing from showing every text as it
// comes, a text set while busy within STATUS_INTERVAL_MS of the last one shown waits, and
// the main window's timer shows the latest when the interval is over, in whatever loop serves
// messages then (a pump of the job or a message box). Out of a job every text shows at once,
// and entering and leaving the busy state empties the line at once, dropping a waiting text.
void SetStatusText(const char* text) {
  const uint32_t now = Ticks();
  const uint32_t since = now - g_statusShownAt;
  if (!g_job.busy || !g_program.mainWindow || since >= STATUS_INTERVAL_MS) {
    ShowStatusNow(text, now);
    return;
  }
  std::snprintf(g_pendingStatus, sizeof g_pendingStatus, "%s", text);
  if (!g_statusTimerSet)
    g_statusTimerSet = SetTimer(g_program.mainWindow, STATUS_TIMER, STATUS_INTERVAL_MS - since, nullptr) != 0;
  if (!g_statusTimerSet) ShowStatusNow(text, now);
}

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
  SetStatusText(text);
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
  SetStatusText(text);
}

void ClearStatus() { ShowStatusNow("", Ticks()); }

void ShowPendingStatus() {
  if (g_statusTimerSet) ShowStatusNow(g_pendingStatus, Ticks());
}

// The bar repaints at once when set, which under Wine costs milliseconds: a fast job's steps
// would cost more than its work, and one a pump (every PUMP_INTERVAL_MS) a fifth of a long
// job's time. So a step between the ends waits for a pump at least PROGRESS_INTERVAL_MS
// after the last step shown, and the empty and the full bar show at once (when the bar does
// not show them already: every job starts by emptying a bar that the last one emptied).
void SetProgress(int position) {
  g_progressWanted = position;
  if (position > 0 && position < PROGRESS_FULL) return;
  if (SendMessageA(g_program.progressBar, PBM_GETPOS, 0, 0) == position)
    g_progressShown = position;
  else
    ShowProgress(position, Ticks());
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
