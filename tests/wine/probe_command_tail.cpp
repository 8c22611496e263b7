// The command tail under a real CreateProcessA: the probe starts itself once
// per row of the shared table with the row's exact command line, and hands
// the expected tail over in an environment variable. The child compares its
// WinMain argument with it and answers through its exit code.
#include "platform/win32.h"
#include "tests/wine/command_tail_cases.h"
#include "tests/wine/probe_checks.h"
#include "tests/wine/probe_report.h"

namespace {

const char expectedTailVariable[] = "OBX_PROBE_EXPECTED_TAIL";
// The expected tail travels between these marks, so an empty tail is still
// a non-empty variable.
const char tailOpen = '<';
const char tailClose = '>';
const int maxLine = 400;
const DWORD childTimeoutMilliseconds = 30000;
const int childMatched = 0;
// A child that received another tail exits with this plus its length.
const int childMismatchBase = 1000;

int textLength(const char* text) { return lstrlenA(text); }

bool sameText(const char* left, const char* right) {
  while (*left != '\0' && *left == *right) {
    ++left;
    ++right;
  }
  return *left == *right;
}

void copyText(char* destination, const char* source) {
  while ((*destination++ = *source++) != '\0') {
  }
}

bool setExpectedTail(const char* tail) {
  char value[maxLine + 3];
  if (textLength(tail) > maxLine) return false;
  value[0] = tailOpen;
  copyText(value + 1, tail);
  const int length = textLength(value);
  value[length] = tailClose;
  value[length + 1] = '\0';
  return SetEnvironmentVariableA(expectedTailVariable, value) != FALSE;
}

void reportRow(const CommandTailCase& row, bool passed, const char* detail) {
  ReportLine what;
  startLine(what, "command tail: ");
  appendText(what, row.name);
  appendText(what, " ");
  appendVisible(what, row.commandLine);
  reportCheck(passed, what.text, detail);
}

void runRow(const char* ownPath, const CommandTailCase& row) {
  char commandLine[maxLine + 1];
  if (textLength(row.commandLine) > maxLine || !setExpectedTail(row.tail)) {
    reportRow(row, false, "row too long for the probe");
    return;
  }
  // CreateProcessA may write into the command line, so it gets a copy.
  copyText(commandLine, row.commandLine);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  if (!CreateProcessA(ownPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &child)) {
    reportRow(row, false, "CreateProcessA failed");
    return;
  }
  DWORD exitCode = 0;
  ReportLine detail;
  startLine(detail, "");
  if (WaitForSingleObject(child.hProcess, childTimeoutMilliseconds) != WAIT_OBJECT_0) {
    TerminateProcess(child.hProcess, 1);
    appendText(detail, "child did not end");
  } else if (!GetExitCodeProcess(child.hProcess, &exitCode)) {
    appendText(detail, "no exit code");
  } else if (exitCode != childMatched) {
    appendText(detail, "expected ");
    appendVisible(detail, row.tail);
    if (exitCode >= static_cast<DWORD>(childMismatchBase)) {
      appendText(detail, ", the child received a tail of ");
      appendNumber(detail, exitCode - childMismatchBase);
      appendText(detail, " characters");
    } else {
      appendText(detail, ", the child exited with ");
      appendNumber(detail, exitCode);
    }
  }
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  reportRow(row, detail.length == 0, detail.length == 0 ? nullptr : detail.text);
}

}  // namespace

int runCommandTailChildIfAsked(const char* commandTail) {
  char value[maxLine + 3];
  const DWORD length = GetEnvironmentVariableA(expectedTailVariable, value, sizeof value);
  if (length < 2 || length >= sizeof value) return -1;
  if (value[0] != tailOpen || value[length - 1] != tailClose) return -1;
  value[length - 1] = '\0';
  if (sameText(commandTail, value + 1)) return childMatched;
  return childMismatchBase + textLength(commandTail);
}

void checkCommandTails() {
  char ownPath[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, ownPath, sizeof ownPath);
  reportCheck(length > 0 && length < sizeof ownPath, "command tail: own path known");
  if (length == 0 || length >= sizeof ownPath) return;
  for (const CommandTailCase& row : commandTailCases) runRow(ownPath, row);
  SetEnvironmentVariableA(expectedTailVariable, nullptr);
}
