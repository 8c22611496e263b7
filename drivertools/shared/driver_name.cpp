#include "drivertools/shared/driver_name.h"

namespace {

unsigned char foldedLetter(char c) {
  unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

void clearDriverName(DriverName& name) {
  for (DWORD i = 0; i < driverNameSize; ++i) name.text[i] = '\0';
}

void setDriverName(DriverName& name, const char* text) {
  clearDriverName(name);
  for (DWORD i = 0; i < driverNameMaxLength && text[i] != '\0'; ++i) name.text[i] = text[i];
}

bool terminateDriverName(DriverName& name) {
  DWORD end = 0;
  while (end < driverNameSize && name.text[end] != '\0') ++end;
  if (end == driverNameSize) return false;
  for (DWORD i = end; i < driverNameSize; ++i) name.text[i] = '\0';
  return true;
}

bool sameDriverName(const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (foldedLetter(*a) != foldedLetter(*b)) return false;
    if (*a == '\0') return true;
  }
}
