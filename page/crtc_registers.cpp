#include "page/crtc_registers.h"

#include "page/vga_registers.h"
#include "platform/win32.h"

uint8_t savedCr11 = 0;

CrtcRegisters moduleCrtc;

namespace {

void selectRegister(uint8_t index) { writePortByte(crtcIndexPort, index); }
uint8_t readSelected() { return readPortByte(crtcDataPort); }
void writeSelected(uint8_t value) { writePortByte(crtcDataPort, value); }

void writeRegister(uint8_t index, uint8_t value) {
  selectRegister(index);
  writeSelected(value);
}

uint8_t readRegister(uint8_t index) {
  selectRegister(index);
  return readSelected();
}

// Read-modify-write: the bits of `field` take `bits`, every other bit keeps
// its value. The index is written once.
void updateRegister(uint8_t index, uint8_t field, uint8_t bits) {
  selectRegister(index);
  uint8_t value = readSelected();
  writeSelected(static_cast<uint8_t>((value & ~field) | bits));
}

// registerBit when valueBit is set in value, else nothing.
uint8_t bitIf(unsigned value, unsigned valueBit, uint8_t registerBit) {
  return (value & valueBit) != 0 ? registerBit : 0;
}

uint8_t lowByte(unsigned value) { return static_cast<uint8_t>(value); }

}  // namespace

// Empty on purpose: the controller is left exactly as found at load and
// unload.
CrtcRegisters::CrtcRegisters() {}
CrtcRegisters::~CrtcRegisters() {}

void CrtcRegisters::unlock() {
  selectRegister(crtcVerticalRetraceEnd);
  savedCr11 = readSelected();
  writeSelected(static_cast<uint8_t>(savedCr11 & ~cr11ProtectCr00ToCr07));
  selectRegister(crtcHorizontalBlankEnd);
  writeSelected(static_cast<uint8_t>(readSelected() | cr03VerticalRetraceAccess));
}

// Re-reads CR11 so that a retrace end written in between survives; the
// protection comes back only if it was on at the unlock.
void CrtcRegisters::relock() {
  selectRegister(crtcVerticalRetraceEnd);
  uint8_t current = readSelected();
  writeSelected(static_cast<uint8_t>(current | (savedCr11 & cr11ProtectCr00ToCr07)));
}

void CrtcRegisters::setHorizontalTotal(uint8_t total) {
  unlock();
  writeRegister(crtcHorizontalTotal, static_cast<uint8_t>(total - horizontalTotalOffset));
  relock();
}

void CrtcRegisters::setHorizontalBlankStart(uint8_t value) {
  unlock();
  writeRegister(crtcHorizontalBlankStart, value);
  relock();
}

void CrtcRegisters::setHorizontalBlankEnd(uint8_t value) {
  unlock();
  updateRegister(crtcHorizontalRetraceEnd, cr05BlankEndBit5,
                 bitIf(value, blankEndBit5, cr05BlankEndBit5));
  updateRegister(crtcHorizontalBlankEnd, cr03BlankEndLow, value & cr03BlankEndLow);
  relock();
}

void CrtcRegisters::setHorizontalRetraceStart(uint8_t value) {
  unlock();
  writeRegister(crtcHorizontalRetraceStart, value);
  relock();
}

uint8_t CrtcRegisters::getHorizontalRetraceStart() {
  unlock();
  uint8_t value = readRegister(crtcHorizontalRetraceStart);
  relock();
  return value;
}

void CrtcRegisters::setHorizontalRetraceEnd(uint8_t value) {
  unlock();
  updateRegister(crtcHorizontalRetraceEnd, cr05RetraceEnd, value & cr05RetraceEnd);
  relock();
}

uint8_t CrtcRegisters::getHorizontalRetraceEnd() {
  unlock();
  uint8_t value = readRegister(crtcHorizontalRetraceEnd) & cr05RetraceEnd;
  relock();
  return value;
}

void CrtcRegisters::setVerticalTotal(uint16_t total) {
  uint16_t stored = static_cast<uint16_t>(total - verticalTotalOffset);
  unlock();
  writeRegister(crtcVerticalTotal, lowByte(stored));
  updateRegister(crtcOverflow, cr07VerticalTotalBit8 | cr07VerticalTotalBit9,
                 bitIf(stored, lineBit8, cr07VerticalTotalBit8) |
                     bitIf(stored, lineBit9, cr07VerticalTotalBit9));
  relock();
}

void CrtcRegisters::setVerticalDisplayEnd(uint16_t lines) {
  uint16_t stored = static_cast<uint16_t>(lines - displayEndOffset);
  unlock();
  writeRegister(crtcVerticalDisplayEnd, lowByte(stored));
  updateRegister(
      crtcOverflow, cr07DisplayEndBit8 | cr07DisplayEndBit9,
      bitIf(stored, lineBit8, cr07DisplayEndBit8) | bitIf(stored, lineBit9, cr07DisplayEndBit9));
  relock();
}

void CrtcRegisters::setVerticalRetraceStart(uint16_t line) {
  unlock();
  writeRegister(crtcVerticalRetraceStart, lowByte(line));
  updateRegister(
      crtcOverflow, cr07RetraceStartBit8 | cr07RetraceStartBit9,
      bitIf(line, lineBit8, cr07RetraceStartBit8) | bitIf(line, lineBit9, cr07RetraceStartBit9));
  relock();
}

uint16_t CrtcRegisters::getVerticalRetraceStart() {
  unlock();
  uint16_t line = readRegister(crtcVerticalRetraceStart);
  uint8_t overflow = readRegister(crtcOverflow);
  if ((overflow & cr07RetraceStartBit8) != 0) line |= lineBit8;
  if ((overflow & cr07RetraceStartBit9) != 0) line |= lineBit9;
  relock();
  return line;
}

void CrtcRegisters::setVerticalRetraceEnd(uint8_t value) {
  unlock();
  updateRegister(crtcVerticalRetraceEnd, cr11RetraceEnd, value & cr11RetraceEnd);
  relock();
}

uint8_t CrtcRegisters::getVerticalRetraceEnd() {
  unlock();
  uint8_t value = readRegister(crtcVerticalRetraceEnd) & cr11RetraceEnd;
  relock();
  return value;
}

void CrtcRegisters::setVerticalBlankStart(uint16_t line) {
  unlock();
  writeRegister(crtcVerticalBlankStart, lowByte(line));
  updateRegister(crtcOverflow, cr07BlankStartBit8, bitIf(line, lineBit8, cr07BlankStartBit8));
  updateRegister(crtcMaximumScanLine, cr09BlankStartBit9,
                 bitIf(line, lineBit9, cr09BlankStartBit9));
  relock();
}

void CrtcRegisters::setVerticalBlankEnd(uint16_t line) {
  unlock();
  writeRegister(crtcVerticalBlankEnd, lowByte(line));
  relock();
}

// Start and end move together, each wrapping at its own field width, so
// the pulse keeps its length.
void CrtcRegisters::shiftRetrace(RetraceAxis axis, int delta) {
  if (axis == Horizontal) {
    uint8_t start = getHorizontalRetraceStart();
    setHorizontalRetraceStart(static_cast<uint8_t>(start + delta));
    uint8_t end = getHorizontalRetraceEnd();
    setHorizontalRetraceEnd(static_cast<uint8_t>(end + delta));
  } else {
    uint16_t start = getVerticalRetraceStart();
    setVerticalRetraceStart(static_cast<uint16_t>(start + delta));
    uint8_t end = getVerticalRetraceEnd();
    setVerticalRetraceEnd(static_cast<uint8_t>(end + delta));
  }
}

namespace {

const int blankSyncLines = 13;  // long enough to blank a TV signal
const int wideSyncLines = 10;   // normal pulse, 800 pixels wide
const int narrowSyncLines = 6;  // normal pulse, 640 pixels wide

}  // namespace

// The controller compares only the low four bits of the line counter with
// the retrace end, so the end placed `width` lines after the start gives a
// pulse of that many lines.
void CrtcRegisters::setSyncWidth(SyncWidthKind kind, bool wide) {
  int width = kind == Blank ? blankSyncLines : (wide ? wideSyncLines : narrowSyncLines);
  uint16_t start = getVerticalRetraceStart();
  setVerticalRetraceEnd(static_cast<uint8_t>(start + width));
}
