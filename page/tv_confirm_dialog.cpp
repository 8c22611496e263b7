#include "page/tv_confirm_dialog.h"

// Only the low word of a command is the control; the notification code in
// the high word does not matter here.
INT_PTR CALLBACK TvConfirmDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      EndDialog(dialog, tvConfirmYes);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, tvConfirmCancel);
      return FALSE;
  }
  return FALSE;
}
