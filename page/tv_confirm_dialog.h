// The modal question before the TV output switch (template 103):
// "&Yes" ends it with tvConfirmYes, "&Cancel" or Esc with tvConfirmCancel.
#pragma once

#include "platform/win32.h"

const INT_PTR tvConfirmCancel = 0;
const INT_PTR tvConfirmYes = 1;

INT_PTR CALLBACK TvConfirmDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
