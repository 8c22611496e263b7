// The four memory functions that GCC may emit calls to even in code that
// never names them. Built with -fno-builtin so they do not call themselves.
#include <stddef.h>

extern "C" {

void* memset(void* destination, int value, size_t count) {
  unsigned char* d = static_cast<unsigned char*>(destination);
  while (count-- > 0) *d++ = static_cast<unsigned char>(value);
  return destination;
}

void* memcpy(void* destination, const void* source, size_t count) {
  unsigned char* d = static_cast<unsigned char*>(destination);
  const unsigned char* s = static_cast<const unsigned char*>(source);
  while (count-- > 0) *d++ = *s++;
  return destination;
}

void* memmove(void* destination, const void* source, size_t count) {
  unsigned char* d = static_cast<unsigned char*>(destination);
  const unsigned char* s = static_cast<const unsigned char*>(source);
  if (d < s) {
    while (count-- > 0) *d++ = *s++;
  } else {
    while (count-- > 0) d[count] = s[count];
  }
  return destination;
}

int memcmp(const void* left, const void* right, size_t count) {
  const unsigned char* l = static_cast<const unsigned char*>(left);
  const unsigned char* r = static_cast<const unsigned char*>(right);
  for (; count > 0; --count, ++l, ++r) {
    if (*l != *r) return *l < *r ? -1 : 1;
  }
  return 0;
}

}  // extern "C"
