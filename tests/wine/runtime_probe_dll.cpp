// The probe DLL: a static object and DllMain note the events of the DLL
// runtime's start-up and shutdown; the probe program receives them through
// probeConnect.
#include "platform/win32.h"
#include "tests/wine/probe_dll_interface.h"

namespace {

const int maxEvents = 8;
int events[maxEvents];
int eventCount = 0;
ProbeDllEventFunction receiver = nullptr;

void note(int event) {
  if (receiver != nullptr) {
    receiver(event);
  } else if (eventCount < maxEvents) {
    events[eventCount++] = event;
  }
}

class DllWitness {
 public:
  DllWitness() { note(StaticConstructed); }
  ~DllWitness() { note(StaticDestroyed); }
};

DllWitness witness;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) note(ProcessAttached);
  if (reason == DLL_PROCESS_DETACH) note(ProcessDetached);
  return TRUE;
}

extern "C" void probeConnect(ProbeDllEventFunction eventReceiver) {
  for (int i = 0; i < eventCount; ++i) eventReceiver(events[i]);
  eventCount = 0;
  receiver = eventReceiver;
}
