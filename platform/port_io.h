// PortIo: the only way to the hardware. Single-byte accesses to the
// processor's I/O port space; the win32 build performs them itself on
// Windows 9x, the host build hands them to the emulated CRT controller.
#pragma once

#include <stdint.h>

void writePortByte(uint16_t port, uint8_t value);
uint8_t readPortByte(uint16_t port);
