// The runtime probe's groups of checks, each reporting through
// probe_report.h.
#pragma once

// Static objects of the program: constructed before WinMain in order of
// definition; their destructors report after WinMain has returned.
void checkStaticConstruction();
void markWinMainDone();

// The probe DLL: static constructor before DllMain(ATTACH); on FreeLibrary
// DllMain(DETACH) before the static destructor.
void checkDllStartupAndShutdown();

// operator new and delete, their array and nothrow forms, and the memory
// functions of the runtime.
void checkHeapAndMemory();

// Starts this program once per row of the command tail table. Returns the
// exit code of a child run, or -1 when this run is not a child.
int runCommandTailChildIfAsked(const char* commandTail);
void checkCommandTails();
