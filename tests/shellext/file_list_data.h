// A data object of the test's own that offers a given file list (CF_HDROP) or none, and
// counts how often a medium it handed out was released: for selections the shell's own data
// object cannot be made to hold (an empty list, no list at all).
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

class FileListData : public IDataObject {
 public:
  // With `offersList` false, every request for the list fails.
  FileListData(std::vector<std::string> files, bool offersList);
  virtual ~FileListData();
  FileListData(const FileListData&) = delete;
  FileListData& operator=(const FileListData&) = delete;

  int MediaHandedOut() const { return handedOut_; }
  int MediaReleased() const { return released_.count; }

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }  // lives on the test's stack
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC* format) override;
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  // Given as the medium's releaser: ReleaseStgMedium releases it instead of freeing the memory.
  struct ReleaseCounter : IUnknown {
    int count = 0;
    STDMETHODIMP QueryInterface(REFIID, void** out) override {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override {
      ++count;
      return 1;
    }
  };

  bool offersList_;
  ULONG references_ = 1;
  int handedOut_ = 0;
  HGLOBAL list_;  // one DROPFILES block, handed out each time and freed at the end
  ReleaseCounter released_;
};
