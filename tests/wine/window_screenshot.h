// The picture of a window as a 24-bit BMP file, taken from the screen;
// the Wine-tier programs keep their screenshots with it (test code).
#ifndef OBX_TESTS_WINE_WINDOW_SCREENSHOT_H
#define OBX_TESTS_WINE_WINDOW_SCREENSHOT_H

#include <stdio.h>
#include <windows.h>

#include <string>

// The window's picture on the screen as a 24-bit BMP file.
inline bool saveScreenshot(HWND window, const std::string& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool saved = false;
  if (bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = ((width * 3) + 3) & ~3u;
    const DWORD imageBytes = rowBytes * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageBytes;
    FILE* out = fopen(path.c_str(), "wb");
    if (out != nullptr) {
      saved = fwrite(&file, sizeof file, 1, out) == 1 &&
              fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, out) == 1 &&
              fwrite(bits, 1, imageBytes, out) == imageBytes;
      fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

#endif
