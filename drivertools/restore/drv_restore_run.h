// DrvRestore: after its information dialog and, for a driver that is not
// one of the maker's, a confirmation, takes every leaf of the Display class
// key back by the newest logged switch that installed its driver, resets
// the log and offers to restart Windows.
#pragma once

#include "platform/win32.h"

// The whole run, given the program's instance and the command tail;
// returns the exit code: 1 when a leaf was restored, else 0.
int runDrvRestore(HINSTANCE instance, const char* commandTail);
