// The busy state that brackets every job, and the cancel and quit requests.
#pragma once
#include "core/platform.h"

// Enters (on) or leaves the busy state: grays the commands that would start a second job,
// shows the Cancel button, refuses dropped files, empties the status line.
void SetBusy(HWND owner, bool on);
void RequestCancel();
void RequestCancelAndQuit();
// Enables and shows, or disables and hides, a window; it is painted when messages are next
// served, which a job does within a pump interval and at every part.
void ShowControl(HWND window, bool on);
