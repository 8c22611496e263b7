// The "&TV output" command: puts the picture back to its start position,
// asks for confirmation, switches the display mode to the selected TV
// resolution at 60 Hz, writes the 625-line TV timing, and in every case
// ends with the normal vertical sync width for the selection.
#pragma once

#include "platform/win32.h"

// tv800x600Selected: 0 for 640x480, 1 for 800x600.
void TvOutputSwitch(HWND pageWindow, int tv800x600Selected);
