#include "page/page_extension.h"

#include "page/module_state.h"
#include "page/page_record.h"
#include "page/same_identifier.h"

PageExtension::PageExtension() : referenceCount(1) { ++moduleObjectCount; }

PageExtension::~PageExtension() { --moduleObjectCount; }

HRESULT STDMETHODCALLTYPE PageExtension::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (sameIdentifier(riid, IID_IUnknown) || sameIdentifier(riid, IID_IShellPropSheetExt)) {
    *ppv = static_cast<IShellPropSheetExt*>(this);
  } else if (sameIdentifier(riid, IID_IShellExtInit)) {
    *ppv = static_cast<IShellExtInit*>(this);
  } else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE PageExtension::AddRef() { return ++referenceCount; }

ULONG STDMETHODCALLTYPE PageExtension::Release() {
  if (--referenceCount != 0) return referenceCount;
  delete this;
  return 0;
}

// The page needs nothing from the folder or the selection.
HRESULT STDMETHODCALLTYPE PageExtension::Initialize(LPCITEMIDLIST, IDataObject*, HKEY) {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PageExtension::AddPages(LPFNADDPROPSHEETPAGE addPage, LPARAM lParam) {
  PROPSHEETPAGEA record;
  fillPageRecord(&record);
  const HPROPSHEETPAGE page = CreatePropertySheetPageA(&record);
  if (page == nullptr) return S_OK;
  // A page the sheet took is the sheet's; a refused one is still ours.
  if (!addPage(page, lParam)) DestroyPropertySheetPage(page);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PageExtension::ReplacePage(UINT, LPFNADDPROPSHEETPAGE, LPARAM) {
  return E_FAIL;
}
