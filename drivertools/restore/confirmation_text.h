// The text of the "NOTE" confirmation, built on the heap so that a command
// tail of any length is held whole.
#pragma once

// The confirmation for currentDriver, from new[]; the caller delete[]s it.
// Null when the memory cannot be had.
char* newConfirmationText(const char* currentDriver);
