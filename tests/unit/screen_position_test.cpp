// The picture moves, their bounds and the way back, the retrace shift they
// ride on and the sync width, on the emulated controller.
#include "page/screen_position.h"

#include <string>
#include <vector>

#include "page/crtc_registers.h"
#include "tests/unit/crtc_test_support.h"
#include "tests/unit/host_test.h"

using crtc_test::Field;
using crtc_test::operationShape;
using crtc_test::RegisterFile;

namespace {

const uint8_t protectBit = 0x80;  // CR11 bit 7

const std::string verticalShift = operationShape("10r 07r") + " " + operationShape("10w 07rw") +
                                  " " + operationShape("11r") + " " + operationShape("11rw");
const std::string horizontalShift = operationShape("04r") + " " + operationShape("04w") + " " +
                                    operationShape("05r") + " " + operationShape("05rw");

// The four retrace fields together.
struct Retrace {
  unsigned verticalStart, verticalEnd, horizontalStart, horizontalEnd;
};

void writeRetrace(RegisterFile& registers, const Retrace& r) {
  crtc_test::writeField(registers, Field::VerticalRetraceStart, r.verticalStart);
  crtc_test::writeField(registers, Field::VerticalRetraceEnd, r.verticalEnd);
  crtc_test::writeField(registers, Field::HorizontalRetraceStart, r.horizontalStart);
  crtc_test::writeField(registers, Field::HorizontalRetraceEnd, r.horizontalEnd);
}

class ScreenPositionTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    savedCr11 = 0;
    modulePosition.verticalOffset = 0;
    modulePosition.horizontalOffset = 0;
    start = crtc_test::distinctivePattern();
    start[0x03] |= 0x80;  // as any earlier unlock leaves it, so a zero shift changes nothing
    start[0x11] |= protectBit;
    writeRetrace(start, startRetrace);
    crtc_test::loadEmulatedRegisters(start);
  }

  // The start registers with the four retrace fields replaced.
  RegisterFile startWith(const Retrace& r) const {
    RegisterFile registers = start;
    writeRetrace(registers, r);
    return registers;
  }

  static std::string shape() { return crtc_test::accessShape(host::emulatedCrtc().trace()); }
  static std::string differencesFrom(const RegisterFile& expected) {
    return crtc_test::registerDifferences(crtc_test::emulatedRegisters(), expected);
  }

  const Retrace startRetrace = {500, 7, 100, 20};
  RegisterFile start;
};

struct MoveCase {
  const char* name;
  void (ScreenPosition::*move)();
  int steps;  // inside the bound
  int verticalDelta, horizontalDelta;
};

const MoveCase moveCases[] = {
    {"moveUp", &ScreenPosition::moveUp, 5, 2, 0},
    {"moveDown", &ScreenPosition::moveDown, 5, -2, 0},
    {"moveLeft", &ScreenPosition::moveLeft, 3, 0, 1},
    {"moveRight", &ScreenPosition::moveRight, 4, 0, -1},
};

TEST_F(ScreenPositionTest, MovesStepUpToTheirBoundAndNoFurther) {
  for (const MoveCase& c : moveCases) {
    SCOPED_TRACE(c.name);
    SetUp();
    RegisterFile expected = start;
    for (int step = 1; step <= c.steps; ++step) {
      SCOPED_TRACE(step);
      host::emulatedCrtc().clearTrace();
      (modulePosition.*c.move)();
      int v = step * c.verticalDelta;
      int h = step * c.horizontalDelta;
      EXPECT_EQ(modulePosition.verticalOffset, v);
      EXPECT_EQ(modulePosition.horizontalOffset, h);
      EXPECT_EQ(shape(), c.verticalDelta != 0 ? verticalShift : horizontalShift);
      expected = startWith(
          {(startRetrace.verticalStart + v) & 0x3FF, (startRetrace.verticalEnd + v) & 0x0F,
           (startRetrace.horizontalStart + h) & 0xFF, (startRetrace.horizontalEnd + h) & 0x1F});
      EXPECT_EQ(differencesFrom(expected), "");
    }
    // At the bound: nothing at all.
    host::emulatedCrtc().clearTrace();
    (modulePosition.*c.move)();
    EXPECT_EQ(modulePosition.verticalOffset, c.steps * c.verticalDelta);
    EXPECT_EQ(modulePosition.horizontalOffset, c.steps * c.horizontalDelta);
    EXPECT_TRUE(host::emulatedCrtc().trace().empty()) << shape();
    EXPECT_EQ(differencesFrom(expected), "");
  }
}

TEST_F(ScreenPositionTest, ResetShiftsVerticalThenHorizontalBackToTheStart) {
  modulePosition.moveUp();
  modulePosition.moveUp();
  modulePosition.moveRight();
  modulePosition.moveRight();
  modulePosition.moveRight();
  ASSERT_EQ(differencesFrom(startWith({504, 11, 97, 17})), "");
  host::emulatedCrtc().clearTrace();

  modulePosition.reset();

  EXPECT_EQ(shape(), verticalShift + " " + horizontalShift);
  EXPECT_EQ(differencesFrom(start), "");
  EXPECT_EQ(modulePosition.verticalOffset, 0);
  EXPECT_EQ(modulePosition.horizontalOffset, 0);
}

TEST_F(ScreenPositionTest, ResetAtZeroStillShiftsBothAxesWritingTheSameValues) {
  modulePosition.reset();

  EXPECT_EQ(shape(), verticalShift + " " + horizontalShift);
  EXPECT_EQ(differencesFrom(start), "");
  // Each data write of a retrace register gives back what was read there.
  const std::vector<host::PortAccess>& trace = host::emulatedCrtc().trace();
  uint8_t selected = 0;
  for (const host::PortAccess& access : trace) {
    if (access.port == host::EmulatedCrtc::indexPort) selected = access.value;
    bool retraceRegister =
        selected == 0x04 || selected == 0x05 || selected == 0x07 || selected == 0x10;
    if (access.port == host::EmulatedCrtc::dataPort &&
        access.direction == host::PortDirection::Write && retraceRegister) {
      EXPECT_EQ(access.value, start[selected]) << "CR" << std::hex << int(selected);
    }
  }
}

// The reset undoes relative moves: it takes the offsets off whatever the
// retrace holds now, not back to remembered values.
TEST_F(ScreenPositionTest, ResetTakesTheOffsetsOffTheRetraceAsItStandsNow) {
  modulePosition.moveUp();
  modulePosition.moveLeft();
  RegisterFile reprogrammed = startWith({300, 3, 50, 9});
  crtc_test::loadEmulatedRegisters(reprogrammed);

  modulePosition.reset();

  EXPECT_EQ(differencesFrom(startWith({298, 1, 49, 8})), "");
}

TEST_F(ScreenPositionTest, RetraceWrapsAtEachFieldWidth) {
  struct {
    const char* name;
    void (ScreenPosition::*move)();
    Retrace before, after;
  } const cases[] = {
      {"left from 255/31", &ScreenPosition::moveLeft, {500, 7, 255, 31}, {500, 7, 0, 0}},
      {"right from 0/0", &ScreenPosition::moveRight, {500, 7, 0, 0}, {500, 7, 255, 31}},
      {"down from 0/0", &ScreenPosition::moveDown, {0, 0, 100, 20}, {1022, 14, 100, 20}},
      {"up from 1023/15", &ScreenPosition::moveUp, {1023, 15, 100, 20}, {1, 1, 100, 20}},
      {"up from 255/7", &ScreenPosition::moveUp, {255, 7, 100, 20}, {257, 9, 100, 20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    crtc_test::loadEmulatedRegisters(startWith(c.before));
    (modulePosition.*c.move)();
    EXPECT_EQ(differencesFrom(startWith(c.after)), "");
  }
}

TEST_F(ScreenPositionTest, SyncWidthPlacesTheRetraceEndAfterTheStart) {
  struct {
    SyncWidthKind kind;
    bool wide;
    unsigned end;
  } const cases[] = {{Blank, false, 2}, {Blank, true, 2}, {Normal, false, 11}, {Normal, true, 15}};
  for (bool protectedBefore : {true, false}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message()
                   << "kind " << c.kind << " wide " << c.wide << " protected " << protectedBefore);
      RegisterFile before = startWith({501, 7, 100, 20});
      if (!protectedBefore) before[0x11] &= static_cast<uint8_t>(~protectBit);
      crtc_test::loadEmulatedRegisters(before);
      host::emulatedCrtc().clearTrace();
      modulePosition.verticalOffset = 4;
      modulePosition.horizontalOffset = -2;

      moduleCrtc.setSyncWidth(c.kind, c.wide);

      RegisterFile expected = before;
      crtc_test::writeField(expected, Field::VerticalRetraceEnd, c.end);
      EXPECT_EQ(differencesFrom(expected), "");  // start, CR11 bits 4-7 kept
      EXPECT_EQ(shape(), operationShape("10r 07r") + " " + operationShape("11rw"));
      EXPECT_EQ(modulePosition.verticalOffset, 4);
      EXPECT_EQ(modulePosition.horizontalOffset, -2);
    }
  }
}

TEST_F(ScreenPositionTest, ClearOffsetsMakesTheRetraceAsItStandsTheStart) {
  modulePosition.moveUp();
  modulePosition.moveLeft();
  RegisterFile moved = crtc_test::emulatedRegisters();
  host::emulatedCrtc().clearTrace();

  modulePosition.clearOffsets();

  EXPECT_TRUE(host::emulatedCrtc().trace().empty()) << shape();
  EXPECT_EQ(modulePosition.verticalOffset, 0);
  EXPECT_EQ(modulePosition.horizontalOffset, 0);
  modulePosition.reset();
  EXPECT_EQ(differencesFrom(moved), "");
}

}  // namespace
