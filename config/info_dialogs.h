// The Check Version, About and Contact dialogs.
#pragma once
#include "core/platform.h"

void ShowCheckVersion(HWND owner);
void ShowAbout(HWND owner);

INT_PTR CALLBACK CheckVersionDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ContactDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
