#include "drivertools/switch/screen_colour_depth.h"

#include "platform/win32.h"

int screenBitsPerPixel() {
  HDC screen = GetDC(NULL);
  const int bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(NULL, screen);
  return bitsPerPixel;
}
