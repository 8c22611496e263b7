#include "page/screen_control_page.h"

#include "page/crtc_registers.h"
#include "page/resources/resource_ids.h"
#include "page/screen_position.h"
#include "page/tv_output_switch.h"

int tv800x600Selected = 0;

namespace {

// A screen this wide or wider gets the longer normal sync pulse.
const int wideScreenWidth = 800;

const char helpText[] = "Use TV output button to set the video signal for TV";
const char helpCaption[] = "Ombrix";

struct ButtonBitmap {
  int bitmapId;
  int buttonId;
};

// In the order they are loaded.
const ButtonBitmap buttonBitmaps[] = {
    {IDB_ARROW_UP, IDC_MOVE_UP},
    {IDB_ARROW_RIGHT, IDC_MOVE_RIGHT},
    {IDB_ARROW_LEFT, IDC_MOVE_LEFT},
    {IDB_ARROW_DOWN, IDC_MOVE_DOWN},
};
const int buttonBitmapCount = sizeof buttonBitmaps / sizeof buttonBitmaps[0];

// The bitmaps the page loaded; it owns them until it is destroyed.
HBITMAP loadedBitmaps[buttonBitmapCount];

void initialisePage(HWND page, const PROPSHEETPAGEA* record) {
  modulePosition.clearOffsets();
  for (int i = 0; i < buttonBitmapCount; ++i) {
    loadedBitmaps[i] = LoadBitmapA(record->hInstance, MAKEINTRESOURCEA(buttonBitmaps[i].bitmapId));
    SendDlgItemMessageA(page, buttonBitmaps[i].buttonId, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(loadedBitmaps[i]));
  }
  CheckDlgButton(page, IDC_640X480, BST_CHECKED);
}

void releaseBitmaps() {
  for (HBITMAP& bitmap : loadedBitmaps) {
    // A bitmap that did not load left nothing to release.
    if (bitmap != nullptr) DeleteObject(bitmap);
    bitmap = nullptr;
  }
}

// The normal sync width suits the mode in use, not the selection, which
// is for the next TV output.
void selectResolution(int selected800x600) {
  const bool wide = GetSystemMetrics(SM_CXSCREEN) >= wideScreenWidth;
  moduleCrtc.setSyncWidth(Normal, wide);
  tv800x600Selected = selected800x600;
}

// The whole wParam is compared, so only BN_CLICKED (high word 0) acts.
INT_PTR command(HWND page, WPARAM wParam) {
  switch (wParam) {
    case IDC_MOVE_UP:
      modulePosition.moveUp();
      return FALSE;
    case IDC_MOVE_DOWN:
      modulePosition.moveDown();
      return FALSE;
    case IDC_MOVE_LEFT:
      modulePosition.moveLeft();
      return FALSE;
    case IDC_MOVE_RIGHT:
      modulePosition.moveRight();
      return FALSE;
    case IDC_DEFAULT:
      modulePosition.reset();
      return FALSE;
    case IDC_TV_OUTPUT:
      TvOutputSwitch(page, tv800x600Selected);
      return TRUE;
    case IDC_640X480:
      selectResolution(0);
      return FALSE;
    case IDC_800X600:
      selectResolution(1);
      return FALSE;
    case IDC_TV_BLANK:
      moduleCrtc.setSyncWidth(Blank, false);
      return FALSE;
  }
  return FALSE;
}

// No message result is set: the sheet goes on with whatever it notified.
void notify(HWND page, const NMHDR* header) {
  switch (header->code) {
    case PSN_QUERYCANCEL:
      modulePosition.reset();
      break;
    case PSN_HELP:
      MessageBoxA(page, helpText, helpCaption, MB_OK);
      break;
  }
}

}  // namespace

INT_PTR CALLBACK ScreenControlPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      initialisePage(page, reinterpret_cast<const PROPSHEETPAGEA*>(lParam));
      return TRUE;
    case WM_COMMAND:
      return command(page, wParam);
    case WM_NOTIFY:
      notify(page, reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      return TRUE;
    case WM_DESTROY:
      releaseBitmaps();
      return TRUE;
  }
  return FALSE;
}
