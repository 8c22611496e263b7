// How far the log reaches: the highest entry number among the section's
// key names. Kept apart from the rest of the log so that only DrvRestore,
// which scans entries, carries it.
#include <limits.h>

#include <new>

#include "drivertools/shared/driver_switch_log.h"
#include "drivertools/shared/driver_switch_log_names.h"
#include "drivertools/shared/plain_text.h"

namespace DriverSwitchLog {

namespace {

// The list of key names starts at this size and doubles while it does
// not fit, up to the limit; system.ini is far smaller.
const DWORD keyListStartSize = 4096;
const DWORD keyListSizeLimit = 0x01000000;
const DWORD listCutMargin = 2;  // a list that does not fit returns size - 2

char foldedLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The entry number of a key "<prefix>n" as the log writes it (decimal, no
// sign, no leading zero, at most INT_MAX); 0 for any other key.
int entryNumberOfKey(const char* key, const char* prefix) {
  for (; *prefix != '\0'; ++key, ++prefix) {
    if (foldedLetter(*key) != foldedLetter(*prefix)) return 0;
  }
  if (*key < '1' || *key > '9') return 0;
  int n = 0;
  for (; *key != '\0'; ++key) {
    if (*key < '0' || *key > '9') return 0;
    const int digit = *key - '0';
    if (n > (INT_MAX - digit) / 10) return 0;
    n = n * 10 + digit;
  }
  return n;
}

// The highest entry number among the names of a list "name\0...name\0\0".
int highestEntryInList(const char* list) {
  int highest = 0;
  for (const char* key = list; *key != '\0'; key += textLength(key) + 1) {
    const int replaced = entryNumberOfKey(key, replacedKeyPrefix);
    const int installed = entryNumberOfKey(key, installedKeyPrefix);
    if (replaced > highest) highest = replaced;
    if (installed > highest) highest = installed;
  }
  return highest;
}

}  // namespace

bool highestEntryPresent(int* highest) {
  for (DWORD size = keyListStartSize; size <= keyListSizeLimit; size *= 2) {
    char* list = new (std::nothrow) char[size];
    if (list == NULL) return false;
    const DWORD copied = GetPrivateProfileStringA(sectionName, NULL, NULL, list, size, fileName);
    const bool whole = copied < size - listCutMargin;
    if (whole) {
      list[copied] = '\0';  // the list's closing zero, whatever the platform left
      *highest = highestEntryInList(list);
    }
    delete[] list;
    if (whole) return true;
  }
  return false;
}

}  // namespace DriverSwitchLog
