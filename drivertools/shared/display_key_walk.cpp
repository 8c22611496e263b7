#include "drivertools/shared/display_key_walk.h"

#include "drivertools/shared/drv_value.h"

namespace {

const char displayClassPath[] = "System\\CurrentControlSet\\Services\\Class\\Display";
const DWORD subkeyNameSize = 20;  // the name field, terminating zero included

// With NoMoreItems an enumeration that fails at every index would never
// end; a key that fails this many times in a row has nothing more to give.
const DWORD consecutiveFailureLimit = 4096;

// Kept out of the walk's own frame, so deep trees cost little stack.
__attribute__((noinline)) void examineLeaf(HKEY key, LeafAction leafAction) {
  DriverName drvValue;
  if (readDrv(key, drvValue)) leafAction(key, drvValue);
}

}  // namespace

bool walkDisplayClass(LeafAction leafAction, EnumStop enumStop) {
  HKEY displayClass;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, displayClassPath, 0, KEY_READ, &displayClass) !=
      ERROR_SUCCESS) {
    return false;
  }
  DisplayKeyWalk(displayClass, leafAction, enumStop);
  return true;
}

void DisplayKeyWalk(HKEY key, LeafAction leafAction, EnumStop enumStop) {
  DWORD index = 0;
  DWORD failuresInARow = 0;
  for (;;) {
    char name[subkeyNameSize];
    DWORD nameLength = subkeyNameSize;
    LONG result = RegEnumKeyExA(key, index, name, &nameLength, NULL, NULL, NULL, NULL);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS) {
      failuresInARow = 0;
      HKEY subkey;
      if (RegOpenKeyExA(key, name, 0, KEY_READ, &subkey) == ERROR_SUCCESS) {
        DisplayKeyWalk(subkey, leafAction, enumStop);
      }
    } else if (enumStop == EnumStop::FirstFailure || ++failuresInARow == consecutiveFailureLimit) {
      break;
    }
    ++index;
  }
  if (index == 0) examineLeaf(key, leafAction);
  RegCloseKey(key);
}
