// Stand-in declarations: module entry points and process start-up.
#pragma once

#include "platform/host/win32_host_types.h"

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#define SW_SHOWDEFAULT 10

// Defined by each program; the host entry calls it as the runtime would.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandTail, int showCommand);

// Profile strings (initialisation files such as system.ini).
UINT WINAPI GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);
DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue,
                                      LPSTR buffer, DWORD size, LPCSTR fileName);
BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);
