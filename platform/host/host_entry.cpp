// The host build's program entry: builds the command tail from its
// arguments the way the Win32 runtime does from GetCommandLineA, and calls
// WinMain. The arguments are joined with single blanks behind the name.
#include <string>

#include "platform/command_tail.h"
#include "platform/win32.h"

int main(int argc, char** argv) {
  std::string commandLine = argc > 0 ? argv[0] : "program";
  for (int i = 1; i < argc; ++i) commandLine += std::string(" ") + argv[i];
  std::string tail = commandTail(commandLine.c_str());
  return WinMain(nullptr, nullptr, &tail[0], SW_SHOWDEFAULT);
}
