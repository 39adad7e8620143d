#include "shellext/class_factory.h"

#include <new>

#include "shellext/module_state.h"
#include "shellext/shell_ext.h"

CShellExtClassFactory::CShellExtClassFactory() : references_(0) {
  Trace("CShellExtClassFactory::CShellExtClassFactory()\r\n");
  ObjectCreated();
}

CShellExtClassFactory::~CShellExtClassFactory() { ObjectDestroyed(); }

STDMETHODIMP CShellExtClassFactory::QueryInterface(REFIID riid, void** out) {
  Trace("CShellExtClassFactory::QueryInterface()\r\n");
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
  *out = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CShellExtClassFactory::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CShellExtClassFactory::Release() {
  ULONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CShellExtClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out) {
  Trace("CShellExtClassFactory::CreateInstance()\r\n");
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  return HandOutNewObject(new (std::nothrow) CShellExt(), riid, out);
}

STDMETHODIMP CShellExtClassFactory::LockServer(BOOL) { return S_OK; }
