// Command lines and the command tail WinMain must receive for each. One
// table for both tiers: the unit tier runs it against commandTail() on the
// host, the runtime probe starts itself with each line under Wine.
#pragma once

struct CommandTailCase {
  const char* name;
  const char* commandLine;
  const char* tail;
};

// The probe starts each line with its own path as the application name, so
// the program name written in a line is free text.
inline constexpr CommandTailCase commandTailCases[] = {
    {"unquoted name", "runtime_probe.exe ombrix.drv", "ombrix.drv"},
    {"quoted name", "\"runtime_probe.exe\" ombrix.drv", "ombrix.drv"},
    {"quoted name with blanks inside",
     "\"C:\\Program Files\\OBX Tools\\runtime probe.exe\" ombrix.drv", "ombrix.drv"},
    {"blanks and tabs after the name skipped", "runtime_probe.exe \t  \tombrix.drv", "ombrix.drv"},
    {"tab ends an unquoted name", "runtime_probe.exe\tombrix.drv", "ombrix.drv"},
    {"closing quote ends a quoted name", "\"runtime_probe.exe\"ombrix.drv", "ombrix.drv"},
    {"quote inside an unquoted name belongs to it", "runtime\"probe.exe ombrix.drv", "ombrix.drv"},
    {"inner and trailing blanks kept", "runtime_probe.exe ombrix \t drv  ", "ombrix \t drv  "},
    {"quotes kept", "runtime_probe.exe \"ombrix.drv\"", "\"ombrix.drv\""},
    {"trailing quote and blank kept", "runtime_probe.exe obxvga95.drv\" ", "obxvga95.drv\" "},
    {"empty tail", "runtime_probe.exe", ""},
    {"name only followed by blanks", "runtime_probe.exe  \t ", ""},
    {"quoted name only followed by blanks", "\"runtime probe.exe\"   ", ""},
    {"quoted name without a closing quote", "\"runtime_probe.exe ombrix.drv", ""},
};
