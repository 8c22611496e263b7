// Stand-in declarations: windows, dialogs, message boxes, buttons, bitmaps,
// screen metrics and display settings (USER32 and GDI32), with the property
// sheet records and notifications a page sees (COMCTL32).
#pragma once

#include "platform/host/win32_host_propsheet.h"
#include "platform/host/win32_host_types.h"

// Messages.
#define WM_DESTROY 0x0002
#define WM_CLOSE 0x0010
#define WM_DRAWITEM 0x002B
#define WM_NOTIFY 0x004E
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111

#define MAKEWPARAM(low, high)                                      \
  (static_cast<WPARAM>(static_cast<DWORD>(static_cast<WORD>(low) | \
                                          (static_cast<DWORD>(static_cast<WORD>(high)) << 16))))

// Dialog box command ids and message box styles and answers.
#define IDOK 1
#define IDCANCEL 2
#define MB_OK 0x00000000
#define MB_OKCANCEL 0x00000001
#define MB_YESNO 0x00000004
#define IDYES 6
#define IDNO 7

// Buttons.
#define BN_CLICKED 0
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_SETIMAGE 0x00F7
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define IMAGE_BITMAP 0

// Window data and metrics.
#define GWL_HINSTANCE (-6)
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC dialogProcedure, LPARAM initParam);
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
BOOL WINAPI CheckDlgButton(HWND dialog, int buttonId, UINT check);
LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int itemId, UINT message, WPARAM wParam,
                                   LPARAM lParam);
LONG WINAPI GetWindowLongA(HWND window, int index);
int WINAPI GetSystemMetrics(int index);

// Device contexts and the screen's colour depth (USER32, GDI32).
#define BITSPIXEL 12
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC dc);
int WINAPI GetDeviceCaps(HDC dc, int index);

// Ending the Windows session.
#define EWX_LOGOFF 0x00000000
#define EWX_SHUTDOWN 0x00000001
#define EWX_REBOOT 0x00000002
BOOL WINAPI ExitWindowsEx(UINT flags, DWORD reserved);

// GDI32: bitmaps.
HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR bitmapName);
BOOL WINAPI DeleteObject(HGDIOBJ object);

// Display settings. The record is laid out as the SDK declares it for
// Windows 2000 and later (156 bytes, with the panning members); Windows 95
// knows it up to dmReserved2 (148 bytes), which is what dmSize must say.
#define CCHDEVICENAME 32
#define CCHFORMNAME 32

struct POINTL {
  LONG x;
  LONG y;
};

struct DEVMODEA {
  BYTE dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  union {
    struct {
      SHORT dmOrientation;
      SHORT dmPaperSize;
      SHORT dmPaperLength;
      SHORT dmPaperWidth;
      SHORT dmScale;
      SHORT dmCopies;
      SHORT dmDefaultSource;
      SHORT dmPrintQuality;
    };
    struct {
      POINTL dmPosition;
      DWORD dmDisplayOrientation;
      DWORD dmDisplayFixedOutput;
    };
  };
  SHORT dmColor;
  SHORT dmDuplex;
  SHORT dmYResolution;
  SHORT dmTTOption;
  SHORT dmCollate;
  BYTE dmFormName[CCHFORMNAME];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  union {
    DWORD dmDisplayFlags;
    DWORD dmNup;
  };
  DWORD dmDisplayFrequency;
  DWORD dmICMMethod;
  DWORD dmICMIntent;
  DWORD dmMediaType;
  DWORD dmDitherType;
  DWORD dmReserved1;
  DWORD dmReserved2;
  DWORD dmPanningWidth;
  DWORD dmPanningHeight;
};
typedef DEVMODEA* LPDEVMODEA;

#define DM_BITSPERPEL 0x00040000L
#define DM_PELSWIDTH 0x00080000L
#define DM_PELSHEIGHT 0x00100000L
#define DM_DISPLAYFLAGS 0x00200000L
#define DM_DISPLAYFREQUENCY 0x00400000L

#define CDS_UPDATEREGISTRY 0x00000001
#define CDS_TEST 0x00000002

#define DISP_CHANGE_SUCCESSFUL 0
#define DISP_CHANGE_RESTART 1
#define DISP_CHANGE_FAILED (-1)
#define DISP_CHANGE_BADMODE (-2)

LONG WINAPI ChangeDisplaySettingsA(LPDEVMODEA mode, DWORD flags);
