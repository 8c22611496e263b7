// The emulated CRT controller behind ports 0x3D4 (index) and 0x3D5 (data):
// an index register, 256 data registers and the VGA write protection. While
// CR11 bit 7 is set, writes to CR00-CR07 are dropped, except CR07 bit 4
// (the line compare bit 8), which stays writable. Every port access is
// traced with its port, direction and value.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace host {

enum class PortDirection { Read, Write };

struct PortAccess {
  uint16_t port;
  PortDirection direction;
  uint8_t value;
  uint64_t sequence;  // shared with the call journal
};

bool operator==(const PortAccess& a, const PortAccess& b);  // ignores sequence
std::string describe(const PortAccess& access);             // "out 3D4 <- 11"
std::string describe(const std::vector<PortAccess>& accesses);

class EmulatedCrtc {
 public:
  static const uint16_t indexPort = 0x3D4;
  static const uint16_t dataPort = 0x3D5;
  static const uint8_t unreadablePort = 0xFF;  // what a read of any other port gives

  // All registers 0, index 0, trace empty.
  void reset();

  // Direct access for tests: not traced, not write-protected.
  void setRegister(uint8_t index, uint8_t value);
  uint8_t reg(uint8_t index) const;
  void setIndex(uint8_t index);
  uint8_t index() const;

  // What the port functions do.
  void write(uint16_t port, uint8_t value);
  uint8_t read(uint16_t port);

  const std::vector<PortAccess>& trace() const;
  void clearTrace();

 private:
  bool writeProtected(uint8_t index) const;

  uint8_t selected_ = 0;
  uint8_t registers_[256] = {};
  std::vector<PortAccess> trace_;
};

EmulatedCrtc& emulatedCrtc();

}  // namespace host
