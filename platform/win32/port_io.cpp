// Port I/O on the real platform. Windows 9x lets user-mode code execute
// in/out itself; the NT family refuses it with a privileged-instruction
// fault, so there access is treated as refused: reads give 0xFF and writes
// go nowhere.
#include "platform/win32.h"

namespace {

const DWORD windows9xFlag = 0x80000000;  // GetVersion's top bit
const uint8_t refusedRead = 0xFF;

enum PortAccess { NotDecided, Permitted, Refused };
PortAccess portAccess = NotDecided;

bool portAccessPermitted() {
  if (portAccess == NotDecided) {
    portAccess = (GetVersion() & windows9xFlag) != 0 ? Permitted : Refused;
  }
  return portAccess == Permitted;
}

}  // namespace

void writePortByte(uint16_t port, uint8_t value) {
  if (!portAccessPermitted()) return;
  __asm__ __volatile__("outb %0, %1" : : "a"(value), "Nd"(port));
}

uint8_t readPortByte(uint16_t port) {
  if (!portAccessPermitted()) return refusedRead;
  uint8_t value;
  __asm__ __volatile__("inb %1, %0" : "=a"(value) : "Nd"(port));
  return value;
}
