// Test-side view of the emulated CRT controller: the timing fields as the
// VGA layout spreads them over the registers, read and written directly on
// a copy of the register file, and the port trace reduced to the shape of
// its register accesses. Written from the register layout alone, so it is
// an oracle independent of the product's own constants.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include <array>
#include <string>
#include <vector>

#include "platform/host/emulated_crtc.h"

namespace crtc_test {

using RegisterFile = std::array<uint8_t, 256>;

// The fields as stored: the totals and the display end hold the value less
// their offset (horizontal total - 5, vertical total - 2, display end - 1).
enum class Field {
  HorizontalTotal,
  HorizontalBlankStart,
  HorizontalBlankEnd,
  HorizontalRetraceStart,
  HorizontalRetraceEnd,
  VerticalTotal,
  VerticalDisplayEnd,
  VerticalRetraceStart,
  VerticalRetraceEnd,
  VerticalBlankStart,
  VerticalBlankEnd,
};

// One run of a field's bits inside one register.
struct FieldPiece {
  uint8_t index;       // CRnn
  uint8_t firstBit;    // lowest register bit of the run
  uint8_t width;       // bits in the run
  uint8_t valueShift;  // value bit that the lowest register bit holds
};

struct FieldLayout {
  Field field;
  const char* name;
  std::vector<FieldPiece> pieces;
};

inline const std::vector<FieldLayout>& fieldLayouts() {
  static const std::vector<FieldLayout> layouts = {
      {Field::HorizontalTotal, "horizontal total", {{0x00, 0, 8, 0}}},
      {Field::HorizontalBlankStart, "horizontal blank start", {{0x02, 0, 8, 0}}},
      {Field::HorizontalBlankEnd, "horizontal blank end", {{0x03, 0, 5, 0}, {0x05, 7, 1, 5}}},
      {Field::HorizontalRetraceStart, "horizontal retrace start", {{0x04, 0, 8, 0}}},
      {Field::HorizontalRetraceEnd, "horizontal retrace end", {{0x05, 0, 5, 0}}},
      {Field::VerticalTotal, "vertical total", {{0x06, 0, 8, 0}, {0x07, 0, 1, 8}, {0x07, 5, 1, 9}}},
      {Field::VerticalDisplayEnd,
       "vertical display end",
       {{0x12, 0, 8, 0}, {0x07, 1, 1, 8}, {0x07, 6, 1, 9}}},
      {Field::VerticalRetraceStart,
       "vertical retrace start",
       {{0x10, 0, 8, 0}, {0x07, 2, 1, 8}, {0x07, 7, 1, 9}}},
      {Field::VerticalRetraceEnd, "vertical retrace end", {{0x11, 0, 4, 0}}},
      {Field::VerticalBlankStart,
       "vertical blank start",
       {{0x15, 0, 8, 0}, {0x07, 3, 1, 8}, {0x09, 5, 1, 9}}},
      {Field::VerticalBlankEnd, "vertical blank end", {{0x16, 0, 8, 0}}},
  };
  return layouts;
}

inline const FieldLayout& layoutOf(Field field) {
  for (const FieldLayout& layout : fieldLayouts()) {
    if (layout.field == field) return layout;
  }
  return fieldLayouts().front();  // not reached: every field has a layout
}

inline const char* fieldName(Field field) { return layoutOf(field).name; }

inline unsigned runMask(const FieldPiece& piece) {
  return ((1u << piece.width) - 1u) << piece.firstBit;
}

inline unsigned readField(const RegisterFile& registers, Field field) {
  unsigned value = 0;
  for (const FieldPiece& piece : layoutOf(field).pieces) {
    unsigned bits = (registers[piece.index] & runMask(piece)) >> piece.firstBit;
    value |= bits << piece.valueShift;
  }
  return value;
}

// Stores the field's bits of value; every other register bit is kept.
inline void writeField(RegisterFile& registers, Field field, unsigned value) {
  for (const FieldPiece& piece : layoutOf(field).pieces) {
    unsigned bits = ((value >> piece.valueShift) & ((1u << piece.width) - 1u)) << piece.firstBit;
    registers[piece.index] =
        static_cast<uint8_t>((registers[piece.index] & ~runMask(piece)) | bits);
  }
}

// All eleven fields at once, for comparing whole timings.
struct Timing {
  unsigned horizontalTotal, horizontalBlankStart, horizontalBlankEnd;
  unsigned horizontalRetraceStart, horizontalRetraceEnd;
  unsigned verticalTotal, verticalDisplayEnd, verticalRetraceStart, verticalRetraceEnd;
  unsigned verticalBlankStart, verticalBlankEnd;
};

inline Timing decodeTiming(const RegisterFile& r) {
  return {readField(r, Field::HorizontalTotal),      readField(r, Field::HorizontalBlankStart),
          readField(r, Field::HorizontalBlankEnd),   readField(r, Field::HorizontalRetraceStart),
          readField(r, Field::HorizontalRetraceEnd), readField(r, Field::VerticalTotal),
          readField(r, Field::VerticalDisplayEnd),   readField(r, Field::VerticalRetraceStart),
          readField(r, Field::VerticalRetraceEnd),   readField(r, Field::VerticalBlankStart),
          readField(r, Field::VerticalBlankEnd)};
}

// The emulated controller's registers, untraced.
inline RegisterFile emulatedRegisters() {
  RegisterFile registers;
  for (unsigned i = 0; i < registers.size(); ++i) {
    registers[i] = host::emulatedCrtc().reg(static_cast<uint8_t>(i));
  }
  return registers;
}

inline void loadEmulatedRegisters(const RegisterFile& registers) {
  for (unsigned i = 0; i < registers.size(); ++i) {
    host::emulatedCrtc().setRegister(static_cast<uint8_t>(i), registers[i]);
  }
}

// A register file where every register differs from its neighbours and no
// field is 0 or all ones, so that a bit written by mistake shows.
inline RegisterFile distinctivePattern() {
  RegisterFile registers;
  for (unsigned i = 0; i < registers.size(); ++i) {
    registers[i] = static_cast<uint8_t>(0xA5 ^ (i * 0x3B));
  }
  return registers;
}

// "CR07: 1F expected 0F" for every register that differs; empty if none.
inline std::string registerDifferences(const RegisterFile& actual, const RegisterFile& expected) {
  std::string text;
  for (unsigned i = 0; i < actual.size(); ++i) {
    if (actual[i] != expected[i]) {
      char line[40];
      snprintf(line, sizeof line, "CR%02X: %02X expected %02X\n", i, actual[i], expected[i]);
      text += line;
    }
  }
  return text;
}

// The trace as register accesses: each index write opens a token with the
// index in hex, and each data access adds 'r' or 'w'. The unlock is
// "11rw 03rw", the relock "11rw", a read-modify-write of CR07 "07rw".
inline std::string accessShape(const std::vector<host::PortAccess>& trace) {
  std::string shape;
  for (const host::PortAccess& access : trace) {
    if (access.port == host::EmulatedCrtc::indexPort &&
        access.direction == host::PortDirection::Write) {
      char token[4];
      snprintf(token, sizeof token, "%02X", access.value);
      if (!shape.empty()) shape += ' ';
      shape += token;
    } else if (access.port == host::EmulatedCrtc::dataPort) {
      shape += access.direction == host::PortDirection::Read ? 'r' : 'w';
    } else {
      shape += " ?";  // no other port may appear
    }
  }
  return shape;
}

// The shape of one register operation: unlock, its accesses, relock.
inline std::string operationShape(const std::string& accesses) {
  return "11rw 03rw " + accesses + " 11rw";
}

}  // namespace crtc_test
