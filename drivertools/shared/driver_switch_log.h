// DriverSwitchLog: the record of driver switches in the section [OMBRIX]
// of system.ini, read and written only through the profile-string
// functions. "RestoreNum" holds the count of entries, "OriDrv"n and
// "OBXDrv"n the replaced and the installed driver of entry n. No operation
// reports failure: a log that cannot be read counts as empty.
#pragma once

#include "drivertools/shared/driver_name.h"
#include "platform/win32.h"

namespace DriverSwitchLog {

// Stored after the count in "RestoreNum" (two blanks, then the comment).
extern const char countComment[];

struct LogEntry {
  DriverName replacedDriver;
  DWORD replacedLength;  // characters read; 0 for a missing name
  DriverName installedDriver;
  DWORD installedLength;
};

// The number "RestoreNum" begins with; 0 when the file, the section or the
// key is missing.
int readCount();

// Writes entry n: "RestoreNum" as n and countComment, then "OriDrv"n, then
// "OBXDrv"n.
void recordSwitch(int n, const char* replacedDriver, const char* installedDriver);

// Reads "OriDrv"k, then "OBXDrv"k, each through a 20-byte field.
LogEntry readEntry(int k);

// "RestoreNum" back to 0 and countComment; the entries stay.
void resetCount();

// The highest n for which the section holds a key "OriDrv"n or "OBXDrv"n
// (0 when it holds none), found from the section's key names. Entries above
// it read as two empty names, so a scan may start there. False when the
// key names could not be read whole; then nothing is known.
bool highestEntryPresent(int* highest);

}  // namespace DriverSwitchLog
