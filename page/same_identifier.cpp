#include "page/same_identifier.h"

bool sameIdentifier(const GUID& a, const GUID& b) {
  const BYTE* left = reinterpret_cast<const BYTE*>(&a);
  const BYTE* right = reinterpret_cast<const BYTE*>(&b);
  for (unsigned i = 0; i < sizeof(GUID); ++i) {
    if (left[i] != right[i]) return false;
  }
  return true;
}
