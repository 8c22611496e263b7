// Base types, calling-convention macros and result codes. Widths follow the
// 32-bit Windows data model: LONG and DWORD are 32 bits, handles and the
// message parameters are pointer-sized.
#pragma once

#include <stddef.h>
#include <stdint.h>

#define WINAPI
#define CALLBACK
#define APIENTRY
#define STDMETHODCALLTYPE
#define STDAPI extern "C" HRESULT

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef unsigned int UINT;
typedef int INT;
typedef char CHAR;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef BYTE* LPBYTE;
typedef const BYTE* LPCBYTE;
typedef DWORD* LPDWORD;
typedef LONG* PLONG;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* PVOID;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef LONG HRESULT;
typedef LONG LSTATUS;

// Handles are distinct pointer types, as the SDK's STRICT mode makes them.
#define OBX_HOST_HANDLE(name) \
  struct name##__ {           \
    int unused;               \
  };                          \
  typedef struct name##__* name

OBX_HOST_HANDLE(HINSTANCE);
OBX_HOST_HANDLE(HWND);
OBX_HOST_HANDLE(HKEY);
OBX_HOST_HANDLE(HBITMAP);
OBX_HOST_HANDLE(HDC);
OBX_HOST_HANDLE(HICON);
OBX_HOST_HANDLE(HMENU);
typedef HINSTANCE HMODULE;
typedef void* HANDLE;
typedef void* HGDIOBJ;
typedef HKEY* PHKEY;

#define TRUE 1
#define FALSE 0

#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xffff))


#define S_OK static_cast<HRESULT>(0)
#define S_FALSE static_cast<HRESULT>(1)
#define E_NOTIMPL static_cast<HRESULT>(0x80004001)
#define E_NOINTERFACE static_cast<HRESULT>(0x80004002)
#define E_POINTER static_cast<HRESULT>(0x80004003)
#define E_FAIL static_cast<HRESULT>(0x80004005)
#define E_OUTOFMEMORY static_cast<HRESULT>(0x8007000E)
#define CLASS_E_NOAGGREGATION static_cast<HRESULT>(0x80040110)
#define CLASS_E_CLASSNOTAVAILABLE static_cast<HRESULT>(0x80040111)
#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
