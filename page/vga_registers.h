// The CRT controller of the VGA layout: its port pair, the registers this
// library touches and the bits within them. The logic names every register
// and bit through these, never by number.
#pragma once

#include <stdint.h>

// The colour I/O pair; the monochrome pair at 0x3B4 is never used.
const uint16_t crtcIndexPort = 0x3D4;
const uint16_t crtcDataPort = 0x3D5;

// Register indices, written to the index port to select a register.
const uint8_t crtcHorizontalTotal = 0x00;         // CR00
const uint8_t crtcHorizontalBlankStart = 0x02;    // CR02
const uint8_t crtcHorizontalBlankEnd = 0x03;      // CR03
const uint8_t crtcHorizontalRetraceStart = 0x04;  // CR04
const uint8_t crtcHorizontalRetraceEnd = 0x05;    // CR05
const uint8_t crtcVerticalTotal = 0x06;           // CR06
const uint8_t crtcOverflow = 0x07;                // CR07
const uint8_t crtcMaximumScanLine = 0x09;         // CR09
const uint8_t crtcVerticalRetraceStart = 0x10;    // CR10
const uint8_t crtcVerticalRetraceEnd = 0x11;      // CR11
const uint8_t crtcVerticalDisplayEnd = 0x12;      // CR12
const uint8_t crtcVerticalBlankStart = 0x15;      // CR15
const uint8_t crtcVerticalBlankEnd = 0x16;        // CR16

// CR03, End Horizontal Blanking.
const uint8_t cr03BlankEndLow = 0x1F;            // blank end bits 0-4
const uint8_t cr03VerticalRetraceAccess = 0x80;  // set while unlocking

// CR05, End Horizontal Retrace.
const uint8_t cr05RetraceEnd = 0x1F;    // retrace end, five bits
const uint8_t cr05BlankEndBit5 = 0x80;  // blank end bit 5

// CR07, Overflow: bits 8 and 9 of the 10-bit vertical fields. Bit 4 (line
// compare bit 8) is never touched.
const uint8_t cr07VerticalTotalBit8 = 0x01;
const uint8_t cr07DisplayEndBit8 = 0x02;
const uint8_t cr07RetraceStartBit8 = 0x04;
const uint8_t cr07BlankStartBit8 = 0x08;
const uint8_t cr07VerticalTotalBit9 = 0x20;
const uint8_t cr07DisplayEndBit9 = 0x40;
const uint8_t cr07RetraceStartBit9 = 0x80;

// CR09, Maximum Scan Line.
const uint8_t cr09BlankStartBit9 = 0x20;

// CR11, End Vertical Retrace.
const uint8_t cr11RetraceEnd = 0x0F;         // retrace end, four bits
const uint8_t cr11ProtectCr00ToCr07 = 0x80;  // writes to CR00-CR07 dropped while set

// Bits of the values that are spread over several registers.
const unsigned blankEndBit5 = 0x20;
const unsigned lineBit8 = 0x100;
const unsigned lineBit9 = 0x200;

// The registers hold these fields less a fixed offset.
const uint8_t horizontalTotalOffset = 5;  // character clocks
const uint16_t verticalTotalOffset = 2;   // lines
const uint16_t displayEndOffset = 1;      // lines
