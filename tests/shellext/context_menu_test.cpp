// The extension as Explorer meets it: registered by regsvr32, created through COM from the
// registered class, initialised with a shell data object for real files, its menu built into
// a real menu, its help texts read, its interfaces asked for.
#include <gtest/gtest.h>

#include <string>

#include "tests/shellext/extension_fixture.h"
#include "tests/shellext/shell_selection.h"

namespace {

const char kHandlerKey[] = "*\\shellex\\ContextMenuHandlers\\Zenthook";
const char* const kDestinations[] = {"To File", "To Clipboard", "To E-mail Recipient"};
const char* const kMethods[] = {"UU", "XX", "MIME", "Binhex"};

std::string ItemText(HMENU menu, int position) {
  char text[128] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

UINT ItemType(HMENU menu, int position) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(menu, position, TRUE, &info);
  return info.fType;
}

HMENU ShellMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "Open");
  AppendMenuA(menu, MF_STRING, 2, "Delete");
  return menu;
}

class ContextMenu : public ExtensionTest {};

TEST_F(ContextMenu, RegistrationNamesTheServerAndItsThreadingModelAndUnregistrationRemovesIt) {
  std::string clsid = StringValue(HKEY_CLASSES_ROOT, kHandlerKey, nullptr);
  ASSERT_EQ(clsid.size(), 38u) << clsid;
  std::string server = "CLSID\\" + clsid + "\\InprocServer32";
  EXPECT_EQ(lstrcmpiA(StringValue(HKEY_CLASSES_ROOT, server, nullptr).c_str(), ExtensionPath().c_str()), 0)
      << StringValue(HKEY_CLASSES_ROOT, server, nullptr);
  EXPECT_EQ(StringValue(HKEY_CLASSES_ROOT, server, "ThreadingModel"), "Apartment");

  ASSERT_EQ(RunAndWaitFor("regsvr32 /u /s \"" + ExtensionPath() + "\""), 0);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + clsid));
  EXPECT_TRUE(IsEqualGUID(RegisteredMenuHandler(), GUID_NULL));

  ASSERT_EQ(RunAndWaitFor("regsvr32 /s \"" + ExtensionPath() + "\""), 0);
  EXPECT_EQ(StringValue(HKEY_CLASSES_ROOT, kHandlerKey, nullptr), clsid);
}

TEST_F(ContextMenu, EncodeMenuWithThreeDestinationsOfFourMethodsAndASeparator) {
  IContextMenu* handler = MenuFor(MakeFiles(3));
  ASSERT_NE(handler, nullptr);
  HMENU menu = ShellMenu();
  HRESULT added = handler->QueryContextMenu(menu, 1, kFirstCommand, kFirstCommand + 100, CMF_NORMAL);
  EXPECT_EQ(HRESULT_CODE(added), 12);
  EXPECT_TRUE(SUCCEEDED(added));
  ASSERT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_EQ(ItemText(menu, 0), "Open");
  EXPECT_EQ(ItemText(menu, 1), "&Encode");
  EXPECT_EQ(ItemType(menu, 2) & MFT_SEPARATOR, static_cast<UINT>(MFT_SEPARATOR));
  EXPECT_EQ(ItemText(menu, 3), "Delete");
  HMENU encode = GetSubMenu(menu, 1);
  ASSERT_NE(encode, nullptr);
  ASSERT_EQ(GetMenuItemCount(encode), 3);
  for (int d = 0; d < 3; ++d) {
    EXPECT_EQ(ItemText(encode, d), kDestinations[d]);
    HMENU destination = GetSubMenu(encode, d);
    ASSERT_NE(destination, nullptr);
    ASSERT_EQ(GetMenuItemCount(destination), 4);
    for (int m = 0; m < 4; ++m) {
      EXPECT_EQ(ItemText(destination, m), kMethods[m]) << d << " " << m;
      EXPECT_EQ(GetMenuItemID(destination, m), kFirstCommand + d * 4 + m) << d << " " << m;
    }
  }
  DestroyMenu(menu);
  handler->Release();
}

TEST_F(ContextMenu, OnlyNormalExploreAndVerbsOnlyRequestsGetEntries) {
  IContextMenu* handler = MenuFor(MakeFiles(1));
  ASSERT_NE(handler, nullptr);
  const struct {
    UINT flags;
    int added;
  } cases[] = {{CMF_DEFAULTONLY, 0}, {CMF_NOVERBS, 0},      {CMF_EXPLORE, 12},
               {CMF_VERBSONLY, 12},  {CMF_CANRENAME, 12}, {CMF_EXPLORE | CMF_DEFAULTONLY, 12}};
  for (const auto& c : cases) {
    HMENU menu = ShellMenu();
    EXPECT_EQ(HRESULT_CODE(handler->QueryContextMenu(menu, 0, kFirstCommand, kFirstCommand + 100, c.flags)), c.added)
        << std::hex << c.flags;
    EXPECT_EQ(GetMenuItemCount(menu), c.added ? 4 : 2) << std::hex << c.flags;
    DestroyMenu(menu);
  }
  handler->Release();
}

TEST_F(ContextMenu, HelpTextsForTheFileCommandsInEitherCharacterSet) {
  IContextMenu* handler = MenuFor(MakeFiles(1));
  ASSERT_NE(handler, nullptr);
  for (UINT offset = 0; offset < 4; ++offset) {
    std::string expected = "New menu item number ZNT" + std::to_string(offset + 1);
    char ansi[64] = {};
    EXPECT_EQ(handler->GetCommandString(offset, GCS_HELPTEXTA, nullptr, ansi, sizeof ansi), S_OK);
    EXPECT_EQ(std::string(ansi), expected);
    wchar_t wide[64] = {};
    EXPECT_EQ(handler->GetCommandString(offset, GCS_HELPTEXTW, nullptr, reinterpret_cast<LPSTR>(wide), 64), S_OK);
    EXPECT_EQ(std::wstring(wide), std::wstring(expected.begin(), expected.end()));
  }
  for (UINT offset = 4; offset < 14; ++offset) {
    char untouched[16] = "untouched";
    EXPECT_EQ(handler->GetCommandString(offset, GCS_HELPTEXTA, nullptr, untouched, sizeof untouched), S_OK);
    EXPECT_STREQ(untouched, "untouched") << offset;
  }
  char small[5] = "XXXX";
  handler->GetCommandString(0, GCS_HELPTEXTA, nullptr, small, sizeof small);
  EXPECT_STREQ(small, "New ");
  handler->Release();
}

TEST_F(ContextMenu, OffersTheMenuAndInitialisationInterfacesOnly) {
  IContextMenu* handler = MenuFor(MakeFiles(1));
  ASSERT_NE(handler, nullptr);
  void* out = &out;
  EXPECT_EQ(handler->QueryInterface(IID_IPersistFile, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(handler->QueryInterface(IID_IShellPropSheetExt, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(handler->QueryInterface(IID_IExtractIconA, &out), E_NOINTERFACE);
  EXPECT_EQ(handler->QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);

  IUnknown* viaMenu = nullptr;
  IShellExtInit* init = nullptr;
  ASSERT_EQ(handler->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaMenu)), S_OK);
  ASSERT_EQ(handler->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
  IUnknown* viaInit = nullptr;
  ASSERT_EQ(init->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaInit)), S_OK);
  EXPECT_EQ(viaMenu, viaInit);  // one object identity whichever interface is asked
  viaInit->Release();
  init->Release();
  viaMenu->Release();
  handler->Release();
}

}  // namespace
