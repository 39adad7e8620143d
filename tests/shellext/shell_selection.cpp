#include "tests/shellext/shell_selection.h"

namespace {

const char kHandlerKey[] = "*\\shellex\\ContextMenuHandlers\\Zenthook";

std::wstring Wide(const std::string& path) {
  std::wstring wide(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  return wide;
}

PIDLIST_ABSOLUTE ItemOf(const std::wstring& path) {
  PIDLIST_ABSOLUTE item = nullptr;
  if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &item, 0, nullptr))) return nullptr;
  return item;
}

}  // namespace

IDataObject* SelectFiles(const std::vector<std::string>& paths) {
  std::vector<std::wstring> wide;
  for (const std::string& path : paths) wide.push_back(Wide(path));
  return SelectFiles(wide);
}

IDataObject* SelectFiles(const std::vector<std::wstring>& paths) {
  std::vector<PIDLIST_ABSOLUTE> items;
  for (const std::wstring& path : paths)
    if (PIDLIST_ABSOLUTE item = ItemOf(path)) items.push_back(item);
  IDataObject* selection = nullptr;
  if (items.size() == paths.size() && !items.empty()) {
    PIDLIST_ABSOLUTE folder = ILClone(items[0]);
    ILRemoveLastID(folder);
    std::vector<PCUIDLIST_RELATIVE> children;
    for (PIDLIST_ABSOLUTE item : items) children.push_back(ILFindLastID(item));
    if (FAILED(CIDLData_CreateFromIDArray(folder, static_cast<UINT>(children.size()), children.data(), &selection)))
      selection = nullptr;
    ILFree(folder);
  }
  for (PIDLIST_ABSOLUTE item : items) ILFree(item);
  return selection;
}

CLSID RegisteredMenuHandler() {
  CLSID clsid = GUID_NULL;
  char text[64] = {};
  LONG size = sizeof text;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, kHandlerKey, text, &size) != ERROR_SUCCESS) return clsid;
  wchar_t wide[64];
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
  if (FAILED(CLSIDFromString(wide, &clsid))) clsid = GUID_NULL;
  return clsid;
}

IContextMenu* CreateMenuHandler(IDataObject* selection) {
  IShellExtInit* init = nullptr;
  if (FAILED(CoCreateInstance(RegisteredMenuHandler(), nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                              reinterpret_cast<void**>(&init))))
    return nullptr;
  IContextMenu* menu = nullptr;
  if (SUCCEEDED(init->Initialize(nullptr, selection, nullptr)))
    init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu));
  init->Release();
  return menu;
}
