// What the open and the save dialog share: the chosen folders, path joining and the
// common fields of the dialog structure.
#include <cstdio>
#include <cstring>

#include "app/file_dialogs.h"

#include <shlobj.h>

#include "app/batch.h"
#include "core/settings.h"

bool JoinPath(const char* folder, const char* name, char* dest, size_t room) {
  size_t length = std::strlen(folder);
  bool hasSeparator = length > 0 && (folder[length - 1] == '\\' || folder[length - 1] == '/');
  int written = std::snprintf(dest, room, hasSeparator ? "%s%s" : "%s\\%s", folder, name);
  return written >= 0 && static_cast<size_t>(written) < room;
}

const char* DocumentsFolder() {
  static char folder[MAX_PATH];
  if (!folder[0] && SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK)
    folder[0] = '\0';
  return folder;
}

const char* OutputFolder(int mode) {
  if (mode == MODE_ENCODE && g_settings.encodedirselect == DIR_CHOSEN) return g_settings.encodedir;
  if (mode == MODE_DECODE && g_settings.decodedirselect == DIR_CHOSEN) return g_settings.decodedir;
  // A temporary file's folder is no place for the user's outputs.
  if (mode != MODE_CONCATENATE && InputHasNoFolder() && DocumentsFolder()[0]) return DocumentsFolder();
  return nullptr;
}

OPENFILENAMEA FileDialogFields(HWND owner, int mode, const char* filters, char* customFilter,
                               char* file, DWORD fileRoom, char* fileTitle, const char* title) {
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters;
  dialog.lpstrCustomFilter = customFilter;
  dialog.nMaxCustFilter = CUSTOM_FILTER_ROOM;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = fileRoom;
  dialog.lpstrFileTitle = fileTitle;
  dialog.nMaxFileTitle = FILE_TITLE_ROOM;
  dialog.lpstrInitialDir = OutputFolder(mode);
  dialog.lpstrTitle = title;
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
  return dialog;
}
