// DrvRestore's entry: the run takes the instance and the command tail.
#include "drivertools/restore/drv_restore_run.h"
#include "platform/win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int) {
  return runDrvRestore(instance, commandTail);
}
