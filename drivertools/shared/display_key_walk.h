// DisplayKeyWalk: the depth-first walk of the keys below the Display class
// key. Each leaf (a key whose enumeration yielded no subkey) whose "drv"
// value could be read is handed to the program's LeafAction; keys with
// subkeys are never examined. Every key the walk opens is closed once, by
// the walk of that key.
#pragma once

#include "drivertools/shared/driver_name.h"
#include "platform/win32.h"

// Where the enumeration of one key ends.
enum class EnumStop {
  NoMoreItems,   // only at ERROR_NO_MORE_ITEMS; other failures pass over an index
  FirstFailure,  // at the first result other than ERROR_SUCCESS
};

// Called with the open leaf key and its drv value. It may rewrite the
// value with writeDrv; it reports back through the program's own flag.
typedef void (*LeafAction)(HKEY leafKey, const DriverName& drvValue);

// Opens HKLM\System\CurrentControlSet\Services\Class\Display for reading
// and walks it. False, and nothing else done, when it does not open.
bool walkDisplayClass(LeafAction leafAction, EnumStop enumStop);

// Walks the tree below key and closes key before it returns.
void DisplayKeyWalk(HKEY key, LeafAction leafAction, EnumStop enumStop);
