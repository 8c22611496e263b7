// DrvSwitch: makes the maker's driver the active one in every leaf of the
// Display class key that holds the driver named on the command line, and
// logs the switch so that DrvRestore can undo it.
#pragma once

// The whole run, given the command tail; returns the exit code (always 0).
int runDrvSwitch(const char* commandTail);
