// The shell extension object: its first face, IShellPropSheetExt, is also
// its IUnknown identity; its second face is IShellExtInit. Both faces share
// one QueryInterface, AddRef and Release and so one reference count.
#pragma once

#include "platform/win32.h"

// COM interfaces have no destructor slot: the object is destroyed only by
// its own last Release, never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class PageExtension final : public IShellPropSheetExt, public IShellExtInit {
 public:
  PageExtension();

  // Reached through either face; from the second, the compiler's thunk
  // adjusts the pointer back to the whole object.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE AddPages(LPFNADDPROPSHEETPAGE addPage, LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE ReplacePage(UINT pageId, LPFNADDPROPSHEETPAGE replaceWith,
                                        LPARAM lParam) override;

  HRESULT STDMETHODCALLTYPE Initialize(LPCITEMIDLIST folder, IDataObject* data,
                                       HKEY progIdKey) override;

 private:
  // Only the last Release destroys it.
  ~PageExtension();

  ULONG referenceCount;
};
#pragma GCC diagnostic pop
