// The library's module-wide state: its instance handle, the count of live
// objects and pages that keeps it loaded, and its class identifier.
#pragma once

#include "platform/win32.h"

// Saved by DllMain at load; the page record hands it to the sheet.
extern HINSTANCE moduleInstance;
// Live factories, extensions and pages; DllCanUnloadNow reads it.
extern UINT moduleObjectCount;
// The class the shell is registered to ask for (setup/ names the same).
extern const CLSID CLSID_PageExtension;

// Called by the runtime's DLL entry after the static constructors.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
