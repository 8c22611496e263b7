// Stand-in declarations: COM and the shell's property-sheet extension
// interfaces, with the identifiers' published values, and the two page
// calls of COMCTL32 that the extension makes.
#pragma once

#include "platform/host/win32_host_propsheet.h"
#include "platform/host/win32_host_registry.h"
#include "platform/host/win32_host_types.h"

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

extern const IID IID_IUnknown;
extern const IID IID_IClassFactory;
extern const IID IID_IShellExtInit;
extern const IID IID_IShellPropSheetExt;

// The interfaces are slot tables; nobody deletes through them, so their
// destructors are protected and not virtual, as in the platform's layout.
struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

 protected:
  ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

struct IClassFactory : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// Only passed through: the extension never looks into a data object or an
// item identifier list.
struct IDataObject;
struct ITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;

struct IShellExtInit : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Initialize(LPCITEMIDLIST folder, IDataObject* data,
                                               HKEY progIdKey) = 0;

 protected:
  ~IShellExtInit() = default;
};

OBX_HOST_HANDLE(HPROPSHEETPAGE);
typedef BOOL(CALLBACK* LPFNADDPROPSHEETPAGE)(HPROPSHEETPAGE page, LPARAM lParam);

struct IShellPropSheetExt : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AddPages(LPFNADDPROPSHEETPAGE addPage, LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE ReplacePage(UINT pageId, LPFNADDPROPSHEETPAGE replaceWith,
                                                LPARAM lParam) = 0;

 protected:
  ~IShellPropSheetExt() = default;
};

// COMCTL32's page calls.
HPROPSHEETPAGE WINAPI CreatePropertySheetPageA(LPCPROPSHEETPAGEA record);
BOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE page);

// The in-process server's exports, as the platform declares them.
STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
STDAPI DllCanUnloadNow();
