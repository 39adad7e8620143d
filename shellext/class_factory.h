// The class factory that the shell asks for extension objects.
#pragma once
#include <windows.h>
#include <unknwn.h>

class CShellExtClassFactory final : public IClassFactory {
 public:
  CShellExtClassFactory();
  CShellExtClassFactory(const CShellExtClassFactory&) = delete;
  CShellExtClassFactory& operator=(const CShellExtClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  ~CShellExtClassFactory();
  volatile LONG references_;
};

// Hands out `riid` of a fresh object of `T` (reference count 0 after construction): the
// object lives exactly as long as the caller's reference, and goes again when it has no
// such interface.
template <class T>
HRESULT HandOutNewObject(T* object, REFIID riid, void** out) {
  if (!object) return E_OUTOFMEMORY;
  object->AddRef();
  HRESULT result = object->QueryInterface(riid, out);
  object->Release();
  return result;
}
