// The two text helpers the tools need. The Windows 95 images carry no C
// runtime, so they are written here.
#pragma once

#include "platform/win32.h"

// The number of characters before the terminating zero.
DWORD textLength(const char* text);

// Writes value in decimal at out (a '-' first when negative, no leading
// zeros) and a terminating zero; returns the position of that zero.
// At most 11 characters and the zero are written.
char* appendDecimal(char* out, int value);

// Copies text with its zero to out; returns the position of the zero.
char* appendText(char* out, const char* text);
