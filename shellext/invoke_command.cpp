// Carrying out a chosen command: the main program once per selected file, one after the
// other.
#include "shellext/encode_commands.h"
#include "shellext/module_state.h"
#include "shellext/program_launch.h"
#include "shellext/shell_ext.h"

STDMETHODIMP CShellExt::InvokeCommand(LPCMINVOKECOMMANDINFO info) {
  Trace("CShellExt::InvokeCommand()\r\n");
  if (!info) return E_INVALIDARG;
  // A verb by name is none of ours: the shell then offers it to other handlers.
  if (!IS_INTRESOURCE(info->lpVerb)) return E_FAIL;
  UINT command = LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb));
  if (command >= kCommandCount) return E_INVALIDARG;
  if (!dataObject_) return E_FAIL;

  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium = {};
  if (FAILED(dataObject_->GetData(&format, &medium))) return E_FAIL;
  HRESULT result = StartForEachFile(static_cast<HDROP>(medium.hGlobal), *info, command);
  ReleaseStgMedium(&medium);
  return result;
}

// From the last file of the selection to the first; a program that cannot start ends the
// command, so no further file is tried after the failure has been shown. A path too long
// for the name buffer is passed over: cut short it would name another file, and the
// program's own buffers could not hold it either.
HRESULT CShellExt::StartForEachFile(HDROP files, const CMINVOKECOMMANDINFO& info, UINT command) {
  UINT count = DragQueryFileW(files, 0xFFFFFFFF, nullptr, 0);
  std::wstring program = ProgramPath();
  for (UINT i = count; i-- > 0;) {
    UINT length = DragQueryFileW(files, i, nullptr, 0);
    if (length == 0 || length >= MAX_PATH) continue;
    DragQueryFileW(files, i, fileName_, MAX_PATH);
    std::wstring line = EncodeCommandLine(program, MethodOf(command).switchLetter,
                                          DestinationOf(command).commandSwitch, fileName_);
    if (!RunAndWait(line, program, info.nShow, info.hwnd)) return E_FAIL;
  }
  return S_OK;
}
