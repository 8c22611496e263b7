#include "drivertools/shared/plain_text.h"

DWORD textLength(const char* text) {
  DWORD length = 0;
  while (text[length] != '\0') ++length;
  return length;
}

char* appendDecimal(char* out, int value) {
  // The magnitude as unsigned, so the most negative value has one too.
  unsigned magnitude = static_cast<unsigned>(value);
  if (value < 0) {
    *out++ = '-';
    magnitude = 0u - magnitude;
  }
  char digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (count > 0) *out++ = digits[--count];
  *out = '\0';
  return out;
}

char* appendText(char* out, const char* text) {
  while (*text != '\0') *out++ = *text++;
  *out = '\0';
  return out;
}
