#include "drivertools/switch/drv_switch_run.h"

#include <limits.h>

#include "drivertools/shared/display_key_walk.h"
#include "drivertools/shared/driver_name.h"
#include "drivertools/shared/driver_switch_log.h"
#include "drivertools/shared/drv_value.h"
#include "drivertools/shared/run_once_command.h"
#include "drivertools/switch/screen_colour_depth.h"

namespace {

const char runOnceCommand[] = "control.exe desk.cpl, @0,0";
const char trueColourDriver[] = "ombrix.drv";
const char sixteenColourDriver[] = "obxvga95.drv";
const int sixteenColourBitsPerPixel = 4;  // this many or fewer: 16 colours
const int exitCode = 0;

// The run's state; switchLeaf is a plain LeafAction, so it lives here.
const char* currentDriver;
DriverName newDriver;
int count;
bool anyReplaced;

void switchLeaf(HKEY leafKey, const DriverName& drvValue) {
  if (!sameDriverName(drvValue.text, currentDriver)) return;
  if (writeDrv(leafKey, newDriver)) anyReplaced = true;
}

// A count that is negative or cannot be raised by one would log an entry
// that DrvRestore never reaches; such a log starts afresh.
int nextEntryNumber(int countRead) {
  if (countRead < 0 || countRead == INT_MAX) return 1;
  return countRead + 1;
}

}  // namespace

int runDrvSwitch(const char* commandTail) {
  anyReplaced = false;
  if (commandTail[0] == '\0') return exitCode;

  count = DriverSwitchLog::readCount();

  setDriverName(newDriver, screenBitsPerPixel() > sixteenColourBitsPerPixel ? trueColourDriver
                                                                            : sixteenColourDriver);

  writeRunOnceCommand(runOnceCommand);

  currentDriver = commandTail;

  if (!walkDisplayClass(switchLeaf, EnumStop::NoMoreItems)) return exitCode;

  if (!anyReplaced) return exitCode;

  count = nextEntryNumber(count);
  DriverSwitchLog::recordSwitch(count, currentDriver, newDriver.text);
  return exitCode;
}
