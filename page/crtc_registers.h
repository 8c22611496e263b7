// The CRT controller of the VGA layout, reached through the colour I/O
// pair 0x3D4 (index) and 0x3D5 (data). One operation per timing field the
// page changes; each is bracketed by an unlock of the controller's write
// protection and a relock, and keeps every neighbouring bit.
#pragma once

#include <stdint.h>

enum RetraceAxis { Horizontal, Vertical };
enum SyncWidthKind { Blank, Normal };

// Stands for the one controller: no data members, all state module-wide.
class CrtcRegisters {
 public:
  // Both empty: loading and unloading the library touch no register.
  CrtcRegisters();
  ~CrtcRegisters();

  void setHorizontalTotal(uint8_t total);
  void setHorizontalBlankStart(uint8_t value);
  void setHorizontalBlankEnd(uint8_t value);
  void setHorizontalRetraceStart(uint8_t value);
  uint8_t getHorizontalRetraceStart();
  void setHorizontalRetraceEnd(uint8_t value);
  uint8_t getHorizontalRetraceEnd();
  void setVerticalTotal(uint16_t total);
  void setVerticalDisplayEnd(uint16_t lines);
  void setVerticalRetraceStart(uint16_t line);
  uint16_t getVerticalRetraceStart();
  void setVerticalRetraceEnd(uint8_t value);
  uint8_t getVerticalRetraceEnd();
  void setVerticalBlankStart(uint16_t line);
  void setVerticalBlankEnd(uint16_t line);

  // Composite operations built from the ones above, one after another.
  void shiftRetrace(RetraceAxis axis, int delta);
  void setSyncWidth(SyncWidthKind kind, bool wide);

 private:
  void unlock();
  void relock();
};

// CR11 as read by the last unlock; the relock uses its bit 7 only.
extern uint8_t savedCr11;

extern CrtcRegisters moduleCrtc;
