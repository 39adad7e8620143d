// The status line's texts while a job runs: a text that comes soon after the last one shown
// waits for the main window's timer (app/status.cpp).
#pragma once

// The main window's timer that shows a waiting status text, and how long a shown text stays
// before a job's next one may replace it.
enum { STATUS_TIMER = 1, STATUS_INTERVAL_MS = 100 };

// The timer's tick: shows the text waiting, if any, and stops the timer.
void ShowPendingStatus();
// Empties the status line at once and drops a waiting text: a job starts and ends with it.
void ClearStatus();
