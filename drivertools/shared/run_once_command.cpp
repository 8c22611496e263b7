#include "drivertools/shared/run_once_command.h"

#include "drivertools/shared/plain_text.h"
#include "platform/win32.h"

namespace {

// Written with this mixed case.
const char runOnceKeyPath[] = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char unnamedValue[] = "";

}  // namespace

void writeRunOnceCommand(const char* command) {
  HKEY runOnce;
  if (RegCreateKeyA(HKEY_CURRENT_USER, runOnceKeyPath, &runOnce) != ERROR_SUCCESS) return;
  RegSetValueExA(runOnce, unnamedValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                 textLength(command) + 1);
  RegCloseKey(runOnce);
}
