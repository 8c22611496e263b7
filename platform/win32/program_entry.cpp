// Program entry: static constructors, WinMain with the command tail, the
// destructors, then the process ends with WinMain's result.
#include "platform/command_tail.h"
#include "platform/win32.h"
#include "platform/win32/static_objects.h"

extern "C" void WinMainCRTStartup() {
  runStaticConstructors();
  // WinMain takes a writable string by its old signature; it never writes.
  LPSTR tail = const_cast<LPSTR>(commandTail(GetCommandLineA()));
  const int result = WinMain(GetModuleHandleA(nullptr), nullptr, tail, SW_SHOWDEFAULT);
  runStaticDestructors();
  ExitProcess(static_cast<UINT>(result));
}
