// Identifiers of the page library's resources and of the controls in its
// dialog templates. Shared by the resource script and the code, so plain
// macros.
#pragma once

// Dialog templates.
#define IDD_SCREEN_CONTROL 102
#define IDD_TV_CONFIRM 103

// Arrow bitmaps of the four move buttons.
#define IDB_ARROW_UP 109
#define IDB_ARROW_LEFT 121
#define IDB_ARROW_RIGHT 122
#define IDB_ARROW_DOWN 123

// Icon group shown on the page's tab.
#define IDI_TV_OUT 126

// Controls of the Screen Control template.
#define IDC_MOVE_UP 207
#define IDC_MOVE_DOWN 208
#define IDC_MOVE_LEFT 209
#define IDC_MOVE_RIGHT 210
#define IDC_DEFAULT 109
#define IDC_TV_OUTPUT 1013
#define IDC_TV_BLANK 1021
#define IDC_800X600 1023
#define IDC_640X480 1024
#define IDC_UNADDRESSED 65535

// Controls of the TV confirmation template (besides IDOK and IDCANCEL).
#define IDC_READY_TEXT 1041
