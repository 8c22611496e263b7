// The one platform header of the product. The win32 build sees the SDK,
// set for Windows 95; the host build sees our own stand-in declarations of
// the same names. Product code includes nothing else from the platform.
#pragma once

#if defined(_WIN32)
#ifndef WINVER
#define WINVER 0x0400
#endif
#ifndef _WIN32_WINDOWS
#define _WIN32_WINDOWS 0x0400
#endif
#ifndef _WIN32_IE
#define _WIN32_IE 0x0300
#endif
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#else
#include "platform/host/win32_host.h"
#endif

#include "platform/port_io.h"
