// The main window's commands: menu items, accelerators, the Cancel button, dropped files
// and the menus dropping down.
#pragma once
#include "core/platform.h"

#include <shellapi.h>

#include "app/job_messages.h"

LRESULT OnMenuCommand(HWND window, int id);
LRESULT OnDroppedFiles(HWND window, HDROP drop);
// Before a menu drops down: "Decode from Clipboard" is available only when there is text.
LRESULT OnInitMenuPopup(HMENU menu);
// Opens the help file for a help command; false when `id` is not a help command.
bool ShowHelpFor(HWND window, int id);
