#include "page/page_class_factory.h"

#include <new>

#include "page/module_state.h"
#include "page/page_extension.h"
#include "page/same_identifier.h"

PageClassFactory::PageClassFactory() : referenceCount(1) { ++moduleObjectCount; }

PageClassFactory::~PageClassFactory() { --moduleObjectCount; }

HRESULT STDMETHODCALLTYPE PageClassFactory::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (sameIdentifier(riid, IID_IUnknown) || sameIdentifier(riid, IID_IClassFactory)) {
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE PageClassFactory::AddRef() { return ++referenceCount; }

ULONG STDMETHODCALLTYPE PageClassFactory::Release() {
  if (--referenceCount != 0) return referenceCount;
  delete this;
  return 0;
}

HRESULT STDMETHODCALLTYPE PageClassFactory::CreateInstance(IUnknown* outer, REFIID riid,
                                                           void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  PageExtension* extension = new (std::nothrow) PageExtension;
  if (extension == nullptr) return E_OUTOFMEMORY;
  const HRESULT result = extension->QueryInterface(riid, ppv);
  extension->Release();
  return result;
}

// A lock taken here would not keep the library loaded; only live objects
// and pages count.
HRESULT STDMETHODCALLTYPE PageClassFactory::LockServer(BOOL) { return E_NOTIMPL; }
