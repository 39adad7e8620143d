// The extension object: one per shell request. The shell hands it the selection
// (IShellExtInit), asks it for its menu entries and starts the chosen one (IContextMenu).
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

class CShellExt final : public IContextMenu, public IShellExtInit {
 public:
  CShellExt();
  CShellExt(const CShellExt&) = delete;
  CShellExt& operator=(const CShellExt&) = delete;

  // IUnknown, shared by both interfaces.
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IContextMenu
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstCommand, UINT lastCommand, UINT flags) override;
  STDMETHODIMP InvokeCommand(LPCMINVOKECOMMANDINFO info) override;
  STDMETHODIMP GetCommandString(UINT_PTR command, UINT kind, UINT* reserved, LPSTR buffer, UINT size) override;

  // IShellExtInit
  STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* dataObject, HKEY classKey) override;

 private:
  ~CShellExt();
  HRESULT StartForEachFile(HDROP files, const CMINVOKECOMMANDINFO& info, UINT command);

  volatile LONG references_;
  IDataObject* dataObject_;
  wchar_t fileName_[MAX_PATH];  // wide: a selected name may lie outside Explorer's code page
};
