// The "&Encode" entry of the context menu and the help texts of its commands.
#include <cstdio>

#include "shellext/encode_commands.h"
#include "shellext/module_state.h"
#include "shellext/shell_ext.h"

namespace {

const char kEncodeMenuText[] = "&Encode";
const UINT kFlagsOfInterest = 0x0F;  // CMF_DEFAULTONLY, CMF_VERBSONLY, CMF_EXPLORE, CMF_NOVERBS

// Traces how the shell asks for the menu; true when entries are to be added.
bool WantsEntries(UINT flags) {
  if ((flags & kFlagsOfInterest) == CMF_NORMAL) {
    Trace("CMF_NORMAL...\r\n");
    return true;
  }
  if (flags & CMF_VERBSONLY) {
    Trace("CMF_VERBSONLY...\r\n");
    return true;
  }
  if (flags & CMF_EXPLORE) {
    Trace("CMF_EXPLORE...\r\n");
    return true;
  }
  if (flags & CMF_DEFAULTONLY) {
    Trace("CMF_DEFAULTONLY...\r\n");
    return false;
  }
  char line[64];
  std::snprintf(line, sizeof line, "uFlags==>%d\r\n", static_cast<int>(flags));
  Trace("CMF_default...\r\n");
  Trace(line);
  return false;
}

struct EncodeMenus {
  HMENU encode = nullptr;
  HMENU destinations[kDestinationCount] = {};

  bool Create() {
    encode = CreatePopupMenu();
    bool made = encode != nullptr;
    for (HMENU& menu : destinations) made = (menu = CreatePopupMenu()) != nullptr && made;
    return made;
  }
  // Menus not yet handed to the shell's menu are destroyed on failure.
  void Destroy() {
    for (HMENU menu : destinations)
      if (menu) DestroyMenu(menu);
    if (encode) DestroyMenu(encode);
  }
};

}  // namespace

STDMETHODIMP CShellExt::QueryContextMenu(HMENU menu, UINT index, UINT firstCommand, UINT, UINT flags) {
  Trace("CShellExt::QueryContextMenu()\r\n");
  if (!WantsEntries(flags)) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
  EncodeMenus menus;
  if (!menus.Create()) {
    menus.Destroy();
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
  }
  for (int d = 0; d < kDestinationCount; ++d) {
    for (int m = 0; m < kMethodCount; ++m)
      InsertMenuA(menus.destinations[d], m, MF_BYPOSITION | MF_STRING, firstCommand + d * kMethodCount + m,
                  kEncodeMethods[m].menuText);
    InsertMenuA(menus.encode, d, MF_BYPOSITION | MF_STRING | MF_POPUP,
                reinterpret_cast<UINT_PTR>(menus.destinations[d]), kEncodeDestinations[d].menuText);
  }
  InsertMenuA(menu, index, MF_BYPOSITION | MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(menus.encode),
              kEncodeMenuText);
  InsertMenuA(menu, index + 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  return MAKE_HRESULT(SEVERITY_SUCCESS, 0, kCommandCount);
}

// The shell asks for ANSI or wide text through the kind; the buffer's size counts
// characters of that kind.
STDMETHODIMP CShellExt::GetCommandString(UINT_PTR command, UINT kind, UINT*, LPSTR buffer, UINT size) {
  Trace("CShellExt::GetCommandString()\r\n");
  const char* text = command < kCommandCount ? HelpTextOf(static_cast<unsigned>(command)) : nullptr;
  if (!text || !buffer || size == 0) return S_OK;
  if (kind & GCS_UNICODE) {
    LPWSTR wide = reinterpret_cast<LPWSTR>(buffer);
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(size))) wide[size - 1] = L'\0';
  } else {
    lstrcpynA(buffer, text, static_cast<int>(size));
  }
  return S_OK;
}
