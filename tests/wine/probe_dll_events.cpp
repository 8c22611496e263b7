// Loads the probe DLL, collects the events of its runtime and checks their
// order at load and after FreeLibrary.
#include "platform/win32.h"
#include "tests/wine/probe_checks.h"
#include "tests/wine/probe_dll_interface.h"
#include "tests/wine/probe_report.h"

namespace {

const char probeDllName[] = "runtime_probe_dll.dll";
const int maxEvents = 8;
int received[maxEvents];
int receivedCount = 0;

void receiveEvent(int event) {
  if (receivedCount < maxEvents) received[receivedCount++] = event;
}

bool receivedExactly(const int* expected, int count) {
  if (receivedCount != count) return false;
  for (int i = 0; i < count; ++i) {
    if (received[i] != expected[i]) return false;
  }
  return true;
}

void describeReceived(ReportLine& line) {
  startLine(line, "events");
  for (int i = 0; i < receivedCount; ++i) {
    appendText(line, " ");
    appendNumber(line, static_cast<unsigned long>(received[i]));
  }
}

void checkEvents(const int* expected, int count, const char* what) {
  ReportLine detail;
  describeReceived(detail);
  const bool passed = receivedExactly(expected, count);
  reportCheck(passed, what, passed ? nullptr : detail.text);
}

}  // namespace

void checkDllStartupAndShutdown() {
  const HMODULE dll = LoadLibraryA(probeDllName);
  reportCheck(dll != nullptr, "dll: LoadLibraryA of runtime_probe_dll.dll");
  if (dll == nullptr) return;
  // Through void (*)() so that the cast is to a plain function pointer.
  const ProbeConnectFunction connect = reinterpret_cast<ProbeConnectFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(dll, probeConnectName)));
  reportCheck(connect != nullptr, "dll: exports probeConnect");
  if (connect == nullptr) {
    FreeLibrary(dll);
    return;
  }
  connect(receiveEvent);
  const int atLoad[] = {StaticConstructed, ProcessAttached};
  checkEvents(atLoad, 2, "dll: static constructor before DllMain(ATTACH)");

  reportCheck(FreeLibrary(dll) != FALSE, "dll: FreeLibrary");
  const int atUnload[] = {StaticConstructed, ProcessAttached, ProcessDetached, StaticDestroyed};
  checkEvents(atUnload, 4, "dll: DllMain(DETACH) before static destructor, each once");
}
