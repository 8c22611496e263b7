// The "drv" value of a Display class key: read through a DriverName field,
// written as the whole field.
#pragma once

#include "drivertools/shared/driver_name.h"
#include "platform/win32.h"

// Reads "drv" with a data length of 20. True when the value was read and
// holds a name of at most 19 characters; its type is not examined.
bool readDrv(HKEY key, DriverName& drvValue);

// Sets "drv" to the whole 20-byte field as REG_SZ; true on ERROR_SUCCESS.
bool writeDrv(HKEY leafKey, const DriverName& name);
