// The command tail that a program's WinMain receives: what follows the
// program's own name and the characters 1 to 32 standing right after it.
#pragma once

// Returns a pointer into commandLine (never null; "" for an empty tail).
// The name ends at its closing double quote when it begins with one, and
// otherwise at the first character with a code from 1 to 32.
const char* commandTail(const char* commandLine);
