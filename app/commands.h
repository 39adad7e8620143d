// The main window's commands: menu items, accelerators, the Cancel button, dropped files
// and the private job messages.
#pragma once
#include "core/platform.h"

#include <shellapi.h>

LRESULT OnMenuCommand(HWND window, int id);
LRESULT OnDroppedFiles(HWND window, HDROP drop);
LRESULT OnJobMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The one answer of every command whose work is still to come.
void ShowCommandNotAvailable(HWND owner);
// Opens the help file for a help command; false when `id` is not a help command.
bool ShowHelpFor(HWND window, int id);
