#include "config/info_dialogs.h"

#include <cstdio>

#include "app/program.h"
#include "app/window_place.h"
#include "config/web_address.h"
#include "core/help_viewer.h"
#include "core/settings.h"
#include "core/ui.h"
#include "resources/resource.h"

namespace {

const char kCheckVersionLine[] = "Current Version %s - %s";
const char kAboutVersionLine[] = "Version %s - %s";
const char kAboutTitle[] = "About %s";
const char kCannotCheck[] = "Version Cannot be Verified. Cannot Access Web Site because";
const char kCheckVersionKeyword[] = "Check Version";
const char kMakerLine[] =
    "Made by Orvanta, Inc.\r\nFile transfer tools for mail and news since 1994.\r\nCopyright (C) 2026 Orvanta, Inc.";
const char kContactText[] =
    "Orvanta, Inc.\r\n"
    "Customer Service\r\n"
    "1200 Example Parkway, Suite 300\r\n"
    "Anytown, ST 00000\r\n\r\n"
    "Web: https://www.example.com/orvanta\r\n"
    "E-mail: support@example.com\r\n"
    "Telephone: +1 555 0100";
enum { LINE_ROOM = 96 };
const INT_PTR kDialogDone = 1;

void ShowVersionLine(HWND dialog, const char* format) {
  char version[VERSION_TEXT_ROOM], date[VERSION_TEXT_ROOM], line[LINE_ROOM];
  ReadVersionAndDate(version, date);
  std::snprintf(line, sizeof line, format, version, date);
  SetDlgItemTextA(dialog, IDC_INFO_VERSION, line);
}

void CheckOnline(HWND dialog) {
  char version[VERSION_TEXT_ROOM], date[VERSION_TEXT_ROOM], address[WEB_ADDRESS_ROOM];
  ReadVersionAndDate(version, date);
  BuildVersionCheckAddress(version, date, address, sizeof address);
  if (!OpenWebAddress(dialog, address)) ShowErrorMessage(dialog, GetLastError(), MB_ICONHAND, kCannotCheck);
}

INT_PTR ShowInfoDialog(HWND owner, int templateId, DLGPROC procedure) {
  return DialogBoxParamA(g_program.instance, MAKEINTRESOURCEA(templateId), owner, procedure, 0);
}

void OpenWebSite(HWND dialog) { OpenWebAddress(dialog, g_settings.website); }

void InitAbout(HWND dialog) {
  char title[LINE_ROOM];
  std::snprintf(title, sizeof title, kAboutTitle, g_identity.internalName);
  SetWindowTextA(dialog, title);
  SetDlgItemTextA(dialog, IDC_INFO_LONG_NAME, g_identity.longName);
  ShowVersionLine(dialog, kAboutVersionLine);
  SetDlgItemTextA(dialog, IDC_INFO_MAKER, kMakerLine);
  CenterWindow(dialog);
}

}  // namespace

void ShowCheckVersion(HWND owner) { ShowInfoDialog(owner, IDD_CHECK_VERSION, CheckVersionDlg); }
void ShowAbout(HWND owner) { ShowInfoDialog(owner, IDD_ABOUT, AboutDlg); }

INT_PTR CALLBACK CheckVersionDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ShowVersionLine(dialog, kCheckVersionLine);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_INFO_WEB: CheckOnline(dialog); return TRUE;
        case IDHELP: OpenHelpTopic(dialog, g_program.helpPath, kCheckVersionKeyword); return TRUE;
        case IDOK:
        case IDCANCEL: EndDialog(dialog, kDialogDone); return TRUE;
      }
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK AboutDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitAbout(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_INFO_CONTACT: ShowInfoDialog(dialog, IDD_CONTACT, ContactDlg); return TRUE;
        case IDC_INFO_WEB: OpenWebSite(dialog); return TRUE;
        case IDOK:
        case IDCANCEL: EndDialog(dialog, kDialogDone); return TRUE;
      }
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK ContactDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dialog, IDC_INFO_CONTACT_TEXT, kContactText);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_INFO_WEB: OpenWebSite(dialog); return TRUE;
        case IDOK:
        case IDCANCEL: EndDialog(dialog, kDialogDone); return TRUE;
      }
      break;
  }
  return FALSE;
}
