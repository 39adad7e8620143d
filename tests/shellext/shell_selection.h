// What Explorer hands a context-menu extension: a shell data object for selected files, and
// the extension object made through COM from its registered class.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

// A data object for files of one folder, in the given order; null when the shell cannot
// make one (files missing, or in different folders).
IDataObject* SelectFiles(const std::vector<std::string>& paths);
// The same for wide paths, which may name files outside the code page.
IDataObject* SelectFiles(const std::vector<std::wstring>& paths);

// The class that the shell's context-menu handler entry for all files names, or GUID_NULL.
CLSID RegisteredMenuHandler();

// The extension's context menu, created through COM and initialised with the data object.
IContextMenu* CreateMenuHandler(IDataObject* selection);
