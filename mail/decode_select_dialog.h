// "Select E-mail Messages to Decode" (dialog 313): lists the inbox and turns the chosen
// messages into decoder inputs (their body text) or output files (their attachments).
#pragma once
#include "core/platform.h"

INT_PTR CALLBACK DecodeSelectDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
