#include "shellext/shell_ext.h"

#include "shellext/module_state.h"

CShellExt::CShellExt() : references_(0), dataObject_(nullptr), fileName_() {
  Trace("CShellExt::CShellExt()\r\n");
  ObjectCreated();
}

CShellExt::~CShellExt() {
  if (dataObject_) dataObject_->Release();
  ObjectDestroyed();
}

namespace {

// Interfaces the object is asked for but does not offer, each with its own trace line.
struct RefusedInterface {
  const IID* iid;
  const char* trace;
};

const RefusedInterface kRefusedInterfaces[] = {
    {&IID_IExtractIconA, "CShellExt::QueryInterface()==>IID_IExtractIcon\r\n"},
    {&IID_IExtractIconW, "CShellExt::QueryInterface()==>IID_IExtractIcon\r\n"},
    {&IID_IPersistFile, "CShellExt::QueryInterface()==>IPersistFile\r\n"},
    {&IID_IShellPropSheetExt, "CShellExt::QueryInterface()==>IShellPropSheetExt\r\n"},
    {&IID_IShellCopyHookA, "CShellExt::QueryInterface()==>ICopyHook\r\n"},
    {&IID_IShellCopyHookW, "CShellExt::QueryInterface()==>ICopyHook\r\n"},
};

const char* RefusalTrace(REFIID riid) {
  for (const RefusedInterface& refused : kRefusedInterfaces)
    if (IsEqualIID(riid, *refused.iid)) return refused.trace;
  return "CShellExt::QueryInterface()==>Unknown Interface!\r\n";
}

}  // namespace

STDMETHODIMP CShellExt::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IShellExtInit) || IsEqualIID(riid, IID_IUnknown)) {
    Trace("CShellExt::QueryInterface()==>IID_IShellExtInit\r\n");
    *out = static_cast<IShellExtInit*>(this);
  } else if (IsEqualIID(riid, IID_IContextMenu)) {
    Trace("CShellExt::QueryInterface()==>IID_IContextMenu\r\n");
    *out = static_cast<IContextMenu*>(this);
  } else {
    Trace(RefusalTrace(riid));
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CShellExt::AddRef() {
  Trace("CShellExt::AddRef()\r\n");
  return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) CShellExt::Release() {
  Trace("CShellExt::Release()\r\n");
  ULONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CShellExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* dataObject, HKEY) {
  Trace("CShellExt::Initialize()\r\n");
  // Hold the new selection before letting go of the old one: they may be the same object.
  if (dataObject) dataObject->AddRef();
  if (dataObject_) dataObject_->Release();
  dataObject_ = dataObject;
  return S_OK;
}
