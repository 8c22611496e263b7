// DrvSwitch's entry: the run takes the command tail as it stands.
#include "drivertools/switch/drv_switch_run.h"
#include "platform/win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int) {
  return runDrvSwitch(commandTail);
}
