// The command the platform runs once at the next start of Windows: the
// unnamed value of HKCU\SoftWare\Microsoft\Windows\CurrentVersion\RunOnce.
#pragma once

// Opens or creates the RunOnce key and sets its unnamed value to command
// (REG_SZ, with its terminating zero). Failures are not reported.
void writeRunOnceCommand(const char* command);
