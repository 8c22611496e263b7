// DLL entry: static constructors, then DllMain; on detach DllMain, then the
// destructors.
#include "platform/win32.h"
#include "platform/win32/static_objects.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) runStaticConstructors();
  const BOOL result = DllMain(instance, reason, reserved);
  if (reason == DLL_PROCESS_DETACH) runStaticDestructors();
  return result;
}
