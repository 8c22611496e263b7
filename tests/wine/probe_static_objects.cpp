// Two static objects in one file: the runtime must construct them before
// WinMain, first to second, and destroy them after WinMain, second first.
// The destructors report themselves; on a fault they end the process with a
// failing exit code, since WinMain's result is decided by then.
#include "platform/win32.h"
#include "tests/wine/probe_checks.h"
#include "tests/wine/probe_report.h"

namespace {

const UINT destructorFailedExitCode = 3;

int constructionClock = 0;
bool winMainDone = false;
bool secondDestroyed = false;

void failAfterWinMain(const char* what) {
  reportCheck(false, what);
  ExitProcess(destructorFailedExitCode);
}

class FirstWitness {
 public:
  FirstWitness() { stamp = ++constructionClock; }
  ~FirstWitness() {
    if (!secondDestroyed) failAfterWinMain("destructors in reverse order of construction");
    reportCheck(true, "destructors in reverse order of construction");
  }
  int stamp;
};

class SecondWitness {
 public:
  SecondWitness() { stamp = ++constructionClock; }
  ~SecondWitness() {
    if (!winMainDone) failAfterWinMain("destructor after winmain");
    reportCheck(true, "destructor after winmain");
    secondDestroyed = true;
  }
  int stamp;
};

FirstWitness firstWitness;
SecondWitness secondWitness;

}  // namespace

void checkStaticConstruction() {
  reportCheck(firstWitness.stamp != 0 && secondWitness.stamp != 0,
              "static constructors ran before WinMain");
  reportCheck(firstWitness.stamp == 1 && secondWitness.stamp == 2,
              "static constructors ran once each, in order of definition");
}

void markWinMainDone() {
  writeReportLine("winmain done");
  winMainDone = true;
}
