// The class factory of PageExtension: DllGetClassObject hands it out.
#pragma once

#include "platform/win32.h"

// COM interfaces have no destructor slot: the object is destroyed only by
// its own last Release, never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class PageClassFactory final : public IClassFactory {
 public:
  PageClassFactory();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  // Only the last Release destroys it.
  ~PageClassFactory();

  ULONG referenceCount;
};
#pragma GCC diagnostic pop
