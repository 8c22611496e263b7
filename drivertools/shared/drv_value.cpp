#include "drivertools/shared/drv_value.h"

namespace {

const char drvValueName[] = "drv";

}  // namespace

bool readDrv(HKEY key, DriverName& drvValue) {
  clearDriverName(drvValue);
  DWORD type = REG_NONE;
  DWORD length = driverNameSize;
  LONG result = RegQueryValueExA(key, drvValueName, NULL, &type,
                                 reinterpret_cast<BYTE*>(drvValue.text), &length);
  // 20 bytes without a zero among them are no name of 19 characters or
  // fewer, and would leave the field unterminated.
  return result == ERROR_SUCCESS && terminateDriverName(drvValue);
}

bool writeDrv(HKEY leafKey, const DriverName& name) {
  return RegSetValueExA(leafKey, drvValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(name.text),
                        driverNameSize) == ERROR_SUCCESS;
}
