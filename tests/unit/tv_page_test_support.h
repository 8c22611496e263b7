// Shared ground of the TV output and page tests: the controller as a
// mode of 640x480 leaves it, with the write protection on, module state as
// at load, a page window of a module that holds the page's bitmaps, and a
// check that the stand-in saw no misuse.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "page/crtc_registers.h"
#include "page/screen_control_page.h"
#include "page/screen_position.h"
#include "tests/unit/crtc_test_support.h"
#include "tests/unit/host_test.h"

namespace tv_test {

using crtc_test::Field;
using crtc_test::RegisterFile;

const uint8_t protectBit = 0x80;     // CR11 bit 7
const uint8_t retraceAccess = 0x80;  // CR03 bit 7, set by every unlock

// The retrace of the mode in use when the page opens.
const unsigned startVerticalRetraceStart = 490;
const unsigned startVerticalRetraceEnd = 12;
const unsigned startHorizontalRetraceStart = 84;
const unsigned startHorizontalRetraceEnd = 28;

const WORD arrowBitmapIds[] = {109, 121, 122, 123};

inline RegisterFile startRegisters() {
  RegisterFile registers = crtc_test::distinctivePattern();
  registers[0x03] |= retraceAccess;
  registers[0x11] |= protectBit;
  crtc_test::writeField(registers, Field::VerticalRetraceStart, startVerticalRetraceStart);
  crtc_test::writeField(registers, Field::VerticalRetraceEnd, startVerticalRetraceEnd);
  crtc_test::writeField(registers, Field::HorizontalRetraceStart, startHorizontalRetraceStart);
  crtc_test::writeField(registers, Field::HorizontalRetraceEnd, startHorizontalRetraceEnd);
  return registers;
}

// A handle as the journal writes it.
inline std::string handleText(const void* handle) {
  char buffer[24];
  snprintf(buffer, sizeof buffer, "0x%08lX",
           static_cast<unsigned long>(reinterpret_cast<uintptr_t>(handle)));
  return buffer;
}

// The function names of the journal, in order.
inline std::vector<std::string> journalFunctions() {
  std::vector<std::string> names;
  for (const std::string& call : host::journalCalls())
    names.push_back(call.substr(0, call.find('(')));
  return names;
}

inline unsigned field(Field which) {
  return crtc_test::readField(crtc_test::emulatedRegisters(), which);
}

// The retrace end that a sync pulse of width lines after the current start
// gives.
inline unsigned retraceEndForWidth(unsigned width) {
  return (field(Field::VerticalRetraceStart) + width) % 16;
}

class PageTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    savedCr11 = 0;
    modulePosition.verticalOffset = 0;
    modulePosition.horizontalOffset = 0;
    tv800x600Selected = 0;
    start = startRegisters();
    crtc_test::loadEmulatedRegisters(start);
    module = host::fakeModule(1);
    for (WORD id : arrowBitmapIds) host::addBitmapResource(module, id);
    page = host::createWindow(module);
  }

  void TearDown() override {
    for (const std::string& fault : host::userInterfaceFaults()) ADD_FAILURE() << fault;
  }

  // Forgets what was journalled and traced so far.
  static void clearRecords() {
    host::clearJournal();
    host::emulatedCrtc().clearTrace();
  }

  RegisterFile start;
  HINSTANCE module = nullptr;
  HWND page = nullptr;
};

}  // namespace tv_test
