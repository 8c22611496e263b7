// DriverName: the file name of a display driver, at most 19 characters in
// a 20-byte field whose bytes after the terminating zero are zero. Every
// drv value and every logged name is read through one, and a drv value is
// always written as the whole field.
#pragma once

#include "platform/win32.h"

const DWORD driverNameSize = 20;  // the field, terminating zero included
const DWORD driverNameMaxLength = driverNameSize - 1;

struct DriverName {
  char text[driverNameSize];
};

// All 20 bytes zero: the empty name.
void clearDriverName(DriverName& name);

// The field holding text, cut after 19 characters, zeros to the end.
void setDriverName(DriverName& name, const char* text);

// After raw bytes were read into the field: true when they hold a
// terminating zero, and then every byte after it is made zero; false when
// they hold none, so the field holds no name of at most 19 characters.
bool terminateDriverName(DriverName& name);

// The one comparison of driver names: byte by byte, only A-Z folded onto
// a-z, equal only when both names end at the same place.
bool sameDriverName(const char* a, const char* b);
