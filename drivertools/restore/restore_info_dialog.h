// RestoreInfoDialog: the modal dialog of template 102 that tells the user
// what DrvRestore is about to do. It ends only on OK or when its window is
// closed.
#pragma once

#include "platform/win32.h"

// Shows the dialog with no owner and returns once it has ended.
void showRestoreInfoDialog(HINSTANCE instance);

INT_PTR CALLBACK restoreInfoDialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam);
