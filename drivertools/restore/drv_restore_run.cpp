#include "drivertools/restore/drv_restore_run.h"

#include "drivertools/restore/confirmation_text.h"
#include "drivertools/restore/restore_info_dialog.h"
#include "drivertools/shared/display_key_walk.h"
#include "drivertools/shared/driver_name.h"
#include "drivertools/shared/driver_switch_log.h"
#include "drivertools/shared/drv_value.h"
#include "drivertools/shared/run_once_command.h"

namespace {

const char runOnceCommand[] = "control.exe desk.cpl, @0,3";
const char trueColourDriver[] = "ombrix.drv";
const char sixteenColourDriver[] = "obxvga95.drv";
const char confirmationCaption[] = "NOTE";
const char restartText[] =
    "You need to restart Windows so that the changes you make will take effect. Restart Windows "
    "now(Yes/No)?";
const char restartCaption[] = "Restart Windows Options";
const DWORD restartReserved = 0;
const int exitNothingRestored = 0;
const int exitRestored = 1;

// The run's state; restoreLeaf is a plain LeafAction, so it lives here.
const char* currentDriver;
int count;
bool anyReplaced;
// Where each leaf's scan starts: the count, or the highest entry the log
// holds when that is lower, since no entry above it can match.
int firstEntry;

void restoreLeaf(HKEY leafKey, const DriverName& drvValue) {
  for (int k = firstEntry; k >= 1; --k) {
    const DriverSwitchLog::LogEntry entry = DriverSwitchLog::readEntry(k);
    const bool bothPresent = entry.replacedLength != 0 && entry.installedLength != 0;
    if (bothPresent && sameDriverName(drvValue.text, entry.installedDriver.text) &&
        writeDrv(leafKey, entry.replacedDriver)) {
      anyReplaced = true;
      return;
    }
  }
}

bool isMakersDriver(const char* driver) {
  return sameDriverName(driver, trueColourDriver) || sameDriverName(driver, sixteenColourDriver);
}

// Asks whether to go on with a driver that is not the maker's. A question
// that cannot be put whole (no memory for its text) counts as No: nothing
// is changed without the user's consent.
bool userGoesOn(const char* driver) {
  char* text = newConfirmationText(driver);
  if (text == NULL) return false;
  const int answer = MessageBoxA(NULL, text, confirmationCaption, MB_YESNO);
  delete[] text;
  return answer != IDNO;
}

int scanStart(int countRead) {
  int highest = 0;
  if (DriverSwitchLog::highestEntryPresent(&highest) && highest < countRead) return highest;
  return countRead;
}

}  // namespace

int runDrvRestore(HINSTANCE instance, const char* commandTail) {
  anyReplaced = false;
  if (commandTail[0] == '\0') return exitNothingRestored;
  currentDriver = commandTail;

  showRestoreInfoDialog(instance);

  count = DriverSwitchLog::readCount();
  if (count <= 0) return exitNothingRestored;

  if (!isMakersDriver(currentDriver) && !userGoesOn(currentDriver)) return exitNothingRestored;

  writeRunOnceCommand(runOnceCommand);

  firstEntry = scanStart(count);
  if (!walkDisplayClass(restoreLeaf, EnumStop::FirstFailure)) return exitNothingRestored;

  DriverSwitchLog::resetCount();

  if (anyReplaced && MessageBoxA(NULL, restartText, restartCaption, MB_YESNO) == IDYES) {
    ExitWindowsEx(EWX_REBOOT, restartReserved);
  }

  return anyReplaced ? exitRestored : exitNothingRestored;
}
