// The "Screen Control" property page (template 102): moves the picture,
// chooses the resolution of the next TV output, starts the TV output and
// blanks the TV signal, each at once when its button is clicked.
#pragma once

#include "platform/win32.h"

// The resolution of the next TV output: 0 for 640x480, 1 for 800x600.
// Module-wide; only the two resolution buttons change it, and a new page
// keeps what an earlier one left.
extern int tv800x600Selected;

// The page's dialog procedure; WM_INITDIALOG brings the page record.
INT_PTR CALLBACK ScreenControlPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
