// The library's entry points: DllMain, called by the runtime's DLL entry,
// and the two exports through which the shell reaches the server.
#include <new>

#include "page/module_state.h"
#include "page/page_class_factory.h"
#include "page/same_identifier.h"

HINSTANCE moduleInstance = nullptr;
UINT moduleObjectCount = 0;

// {B267B4C0-C2BC-4F55-BA11-DB0F4573A8A8}: made once for the product; the
// registration in setup/ names the same value.
const CLSID CLSID_PageExtension = {
    0xB267B4C0, 0xC2BC, 0x4F55, {0xBA, 0x11, 0xDB, 0x0F, 0x45, 0x73, 0xA8, 0xA8}};

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) moduleInstance = instance;
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (!sameIdentifier(rclsid, CLSID_PageExtension)) return CLASS_E_CLASSNOTAVAILABLE;
  PageClassFactory* factory = new (std::nothrow) PageClassFactory;
  if (factory == nullptr) return E_OUTOFMEMORY;
  const HRESULT result = factory->QueryInterface(riid, ppv);
  factory->Release();
  return result;
}

STDAPI DllCanUnloadNow() { return moduleObjectCount == 0 ? S_OK : S_FALSE; }
