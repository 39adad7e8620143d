#include "tests/shellext/file_list_data.h"

#include <cstring>

namespace {

// DROPFILES followed by the ANSI names, each ending in a zero, and one more zero.
HGLOBAL MakeDropList(const std::vector<std::string>& files) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& file : files) size += file.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  char* name = reinterpret_cast<char*>(drop + 1);
  for (const std::string& file : files) {
    std::memcpy(name, file.c_str(), file.size() + 1);
    name += file.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}

bool AsksForList(const FORMATETC* format) {
  return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL);
}

}  // namespace

FileListData::FileListData(std::vector<std::string> files, bool offersList)
    : offersList_(offersList), list_(MakeDropList(files)) {}

FileListData::~FileListData() { GlobalFree(list_); }

STDMETHODIMP FileListData::QueryInterface(REFIID riid, void** out) {
  *out = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDataObject)) return E_NOINTERFACE;
  *out = static_cast<IDataObject*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP FileListData::QueryGetData(FORMATETC* format) {
  return offersList_ && AsksForList(format) ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP FileListData::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!offersList_ || !AsksForList(format)) return DV_E_FORMATETC;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = list_;
  medium->pUnkForRelease = &released_;
  ++handedOut_;
  return S_OK;
}
