// The runtime probe: proves the tiny Win32 runtime on a real implementation
// of the platform. It reports one line per check, then a summary line and
// "winmain done"; the static destructors report after that. Exit code 0
// only when every check passed.
#include "platform/win32.h"
#include "tests/wine/probe_checks.h"
#include "tests/wine/probe_report.h"

namespace {

const int allPassed = 0;
const int someFailed = 1;

void writeSummary() {
  ReportLine line;
  startLine(line, "runtime probe: ");
  appendNumber(line, static_cast<unsigned long>(passedChecks()));
  appendText(line, " passed, ");
  appendNumber(line, static_cast<unsigned long>(failedChecks()));
  appendText(line, " failed");
  writeReportLine(line);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int) {
  const int childResult = runCommandTailChildIfAsked(commandTail);
  if (childResult >= 0) {
    silenceReport();
    markWinMainDone();
    return childResult;
  }

  checkStaticConstruction();
  checkDllStartupAndShutdown();
  checkCommandTails();
  checkHeapAndMemory();
  writeSummary();
  markWinMainDone();
  return failedChecks() == 0 ? allPassed : someFailed;
}
