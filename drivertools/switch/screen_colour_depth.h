// The colour depth of the whole screen, in bits per pixel.
#pragma once

// Asks the screen's device context (GetDC for no window) for BITSPIXEL and
// releases the context again.
int screenBitsPerPixel();
