#include "drivertools/restore/restore_info_dialog.h"

#include "drivertools/restore/restore_resource_ids.h"

namespace {

const INT_PTR dialogResult = 0;  // not used by the run
const LPARAM noParameter = 0;

}  // namespace

void showRestoreInfoDialog(HINSTANCE instance) {
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_RESTORE_INFO), NULL, restoreInfoDialogProcedure,
                  noParameter);
}

INT_PTR CALLBACK restoreInfoDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  // The OK button alone: its id with notification code 0, the whole wParam.
  const bool okPressed = message == WM_COMMAND && wParam == IDOK;
  if (message == WM_CLOSE || okPressed) {
    EndDialog(dialog, dialogResult);
    return TRUE;
  }
  return FALSE;
}
