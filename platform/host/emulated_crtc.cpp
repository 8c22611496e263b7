#include "platform/host/emulated_crtc.h"

#include <stdio.h>

#include "platform/host/journal.h"
#include "platform/port_io.h"

namespace host {

namespace {

const uint8_t verticalRetraceEnd = 0x11;
const uint8_t protectBit = 0x80;          // CR11 bit 7
const uint8_t lastProtected = 0x07;       // CR00-CR07 are guarded
const uint8_t overflow = 0x07;
const uint8_t lineCompareBit8 = 0x10;     // CR07 bit 4 escapes the guard

}  // namespace

bool operator==(const PortAccess& a, const PortAccess& b) {
  return a.port == b.port && a.direction == b.direction && a.value == b.value;
}

std::string describe(const PortAccess& access) {
  char buffer[32];
  snprintf(buffer, sizeof buffer, "%s %03X %s %02X",
           access.direction == PortDirection::Write ? "out" : "in ", access.port,
           access.direction == PortDirection::Write ? "<-" : "->", access.value);
  return buffer;
}

std::string describe(const std::vector<PortAccess>& accesses) {
  std::string text;
  for (const PortAccess& access : accesses) text += describe(access) + "\n";
  return text;
}

void EmulatedCrtc::reset() {
  selected_ = 0;
  for (uint8_t& r : registers_) r = 0;
  trace_.clear();
}

void EmulatedCrtc::setRegister(uint8_t index, uint8_t value) { registers_[index] = value; }
uint8_t EmulatedCrtc::reg(uint8_t index) const { return registers_[index]; }
void EmulatedCrtc::setIndex(uint8_t index) { selected_ = index; }
uint8_t EmulatedCrtc::index() const { return selected_; }

bool EmulatedCrtc::writeProtected(uint8_t index) const {
  return index <= lastProtected && (registers_[verticalRetraceEnd] & protectBit) != 0;
}

void EmulatedCrtc::write(uint16_t port, uint8_t value) {
  trace_.push_back({port, PortDirection::Write, value, nextSequence()});
  if (port == indexPort) {
    selected_ = value;
  } else if (port == dataPort) {
    if (!writeProtected(selected_)) {
      registers_[selected_] = value;
    } else if (selected_ == overflow) {
      registers_[overflow] = static_cast<uint8_t>((registers_[overflow] & ~lineCompareBit8) |
                                                  (value & lineCompareBit8));
    }
  }
}

uint8_t EmulatedCrtc::read(uint16_t port) {
  uint8_t value = unreadablePort;
  if (port == indexPort) value = selected_;
  if (port == dataPort) value = registers_[selected_];
  trace_.push_back({port, PortDirection::Read, value, nextSequence()});
  return value;
}

const std::vector<PortAccess>& EmulatedCrtc::trace() const { return trace_; }
void EmulatedCrtc::clearTrace() { trace_.clear(); }

EmulatedCrtc& emulatedCrtc() {
  static EmulatedCrtc crtc;
  return crtc;
}

}  // namespace host

void writePortByte(uint16_t port, uint8_t value) { host::emulatedCrtc().write(port, value); }
uint8_t readPortByte(uint16_t port) { return host::emulatedCrtc().read(port); }
