// The register operations on the emulated controller: exact port traces,
// the fields they leave, and every bit they must not touch.
#include "page/crtc_registers.h"

#include <functional>
#include <vector>

#include "tests/unit/crtc_test_support.h"
#include "tests/unit/host_test.h"

using crtc_test::Field;
using crtc_test::RegisterFile;
using host::PortAccess;
using host::PortDirection;

namespace {

const uint16_t indexPort = 0x3D4;
const uint16_t dataPort = 0x3D5;
const uint8_t protectBit = 0x80;     // CR11 bit 7
const uint8_t retraceAccess = 0x80;  // CR03 bit 7
const uint8_t strayIndex = 0x3F;     // selected before each call, so the relock's 0x11 shows

PortAccess out(uint16_t port, uint8_t value) { return {port, PortDirection::Write, value, 0}; }
PortAccess in(uint16_t port, uint8_t value) { return {port, PortDirection::Read, value, 0}; }

class CrtcRegistersTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    savedCr11 = 0;
  }
};

TEST_F(CrtcRegistersTest, SetVerticalTotalTraceIsAccessByAccess) {
  host::EmulatedCrtc& crtc = host::emulatedCrtc();
  crtc.setRegister(0x11, 0x8E);  // protected, retrace end 14
  crtc.setRegister(0x03, 0x42);
  crtc.setRegister(0x06, 0x0B);
  crtc.setRegister(0x07, 0x11);  // vertical total bit 8 set, bit 9 clear, line compare bit 8

  moduleCrtc.setVerticalTotal(625);  // stored 623 = 0x26F

  const std::vector<PortAccess> expected = {
      out(indexPort, 0x11), in(dataPort, 0x8E),  out(dataPort, 0x0E),  // unlock CR00-CR07
      out(indexPort, 0x03), in(dataPort, 0x42),  out(dataPort, 0xC2),  // CR03 bit 7
      out(indexPort, 0x06), out(dataPort, 0x6F),                       // low eight bits
      out(indexPort, 0x07), in(dataPort, 0x11),  out(dataPort, 0x30),  // bit 8 := 0, bit 9 := 1
      out(indexPort, 0x11), in(dataPort, 0x0E),  out(dataPort, 0x8E),  // relock
  };
  EXPECT_EQ(host::describe(crtc.trace()), host::describe(expected));
  EXPECT_EQ(crtc.reg(0x06), 0x6F);
  EXPECT_EQ(crtc.reg(0x07), 0x30);
  EXPECT_EQ(crtc.reg(0x11), 0x8E);
  EXPECT_EQ(crtc.index(), 0x11);
}

struct FieldValue {
  Field field;
  unsigned value;
};

const int noResult = -1;

struct OperationCase {
  const char* call;
  std::function<int()> run;        // a getter's result, or noResult
  std::vector<FieldValue> before;  // laid over the starting registers
  std::vector<FieldValue> after;   // the fields written, as stored
  const char* accesses;            // between unlock and relock, see accessShape
  int result;                      // what a getter returns
};

template <typename Setter, typename Argument>
std::function<int()> set(Setter setter, Argument argument) {
  return [=] {
    (moduleCrtc.*setter)(argument);
    return noResult;
  };
}

template <typename Getter>
std::function<int()> get(Getter getter) {
  return [=] { return static_cast<int>((moduleCrtc.*getter)()); };
}

using C = CrtcRegisters;

const std::vector<OperationCase>& operationCases() {
  static const std::vector<OperationCase> cases = {
      {"setHorizontalTotal(100)",
       set(&C::setHorizontalTotal, 100),
       {},
       {{Field::HorizontalTotal, 95}},
       "00w",
       noResult},
      {"setHorizontalTotal(160)",
       set(&C::setHorizontalTotal, 160),
       {},
       {{Field::HorizontalTotal, 155}},
       "00w",
       noResult},
      {"setHorizontalTotal(0)",
       set(&C::setHorizontalTotal, 0),
       {},
       {{Field::HorizontalTotal, 251}},
       "00w",
       noResult},
      {"setHorizontalBlankStart(101)",
       set(&C::setHorizontalBlankStart, 101),
       {},
       {{Field::HorizontalBlankStart, 101}},
       "02w",
       noResult},
      {"setHorizontalBlankEnd(158)",
       set(&C::setHorizontalBlankEnd, 158),
       {{Field::HorizontalBlankEnd, 0x3F}},
       {{Field::HorizontalBlankEnd, 30}},
       "05rw 03rw",
       noResult},
      {"setHorizontalBlankEnd(63)",
       set(&C::setHorizontalBlankEnd, 63),
       {{Field::HorizontalBlankEnd, 0}},
       {{Field::HorizontalBlankEnd, 63}},
       "05rw 03rw",
       noResult},
      {"setHorizontalBlankEnd(0xD5)",
       set(&C::setHorizontalBlankEnd, 0xD5),
       {},
       {{Field::HorizontalBlankEnd, 0x15}},
       "05rw 03rw",
       noResult},
      {"setHorizontalRetraceStart(120)",
       set(&C::setHorizontalRetraceStart, 120),
       {},
       {{Field::HorizontalRetraceStart, 120}},
       "04w",
       noResult},
      {"getHorizontalRetraceStart()",
       get(&C::getHorizontalRetraceStart),
       {{Field::HorizontalRetraceStart, 200}},
       {},
       "04r",
       200},
      {"setHorizontalRetraceEnd(130)",
       set(&C::setHorizontalRetraceEnd, 130),
       {},
       {{Field::HorizontalRetraceEnd, 2}},
       "05rw",
       noResult},
      {"setHorizontalRetraceEnd(31)",
       set(&C::setHorizontalRetraceEnd, 31),
       {},
       {{Field::HorizontalRetraceEnd, 31}},
       "05rw",
       noResult},
      {"getHorizontalRetraceEnd()",
       get(&C::getHorizontalRetraceEnd),
       {{Field::HorizontalRetraceEnd, 29}, {Field::HorizontalBlankEnd, 0x3F}},
       {},
       "05r",
       29},
      {"setVerticalTotal(625)",
       set(&C::setVerticalTotal, 625),
       {{Field::VerticalTotal, 0x190}},
       {{Field::VerticalTotal, 623}},
       "06w 07rw",
       noResult},
      {"setVerticalTotal(1)",
       set(&C::setVerticalTotal, 1),
       {{Field::VerticalTotal, 0}},
       {{Field::VerticalTotal, 0x3FF}},
       "06w 07rw",
       noResult},
      {"setVerticalTotal(0xF671)",
       set(&C::setVerticalTotal, 0xF671),
       {},
       {{Field::VerticalTotal, 623}},
       "06w 07rw",
       noResult},
      {"setVerticalDisplayEnd(599)",
       set(&C::setVerticalDisplayEnd, 599),
       {{Field::VerticalDisplayEnd, 0x1A9}},
       {{Field::VerticalDisplayEnd, 598}},
       "12w 07rw",
       noResult},
      {"setVerticalDisplayEnd(0xFD58)",
       set(&C::setVerticalDisplayEnd, 0xFD58),
       {{Field::VerticalDisplayEnd, 0x2A8}},
       {{Field::VerticalDisplayEnd, 0x157}},
       "12w 07rw",
       noResult},
      {"setVerticalRetraceStart(611)",
       set(&C::setVerticalRetraceStart, 611),
       {{Field::VerticalRetraceStart, 0x19C}},
       {{Field::VerticalRetraceStart, 611}},
       "10w 07rw",
       noResult},
      {"setVerticalRetraceStart(0xFD58)",
       set(&C::setVerticalRetraceStart, 0xFD58),
       {{Field::VerticalRetraceStart, 0x2A7}},
       {{Field::VerticalRetraceStart, 0x158}},
       "10w 07rw",
       noResult},
      {"getVerticalRetraceStart() of 677",
       get(&C::getVerticalRetraceStart),
       {{Field::VerticalRetraceStart, 677}},
       {},
       "10r 07r",
       677},
      {"getVerticalRetraceStart() of 346",
       get(&C::getVerticalRetraceStart),
       {{Field::VerticalRetraceStart, 346}},
       {},
       "10r 07r",
       346},
      {"getVerticalRetraceStart() of 602",
       get(&C::getVerticalRetraceStart),
       {{Field::VerticalRetraceStart, 602}},
       {},
       "10r 07r",
       602},
      {"setVerticalRetraceEnd(0x25)",
       set(&C::setVerticalRetraceEnd, 0x25),
       {{Field::VerticalRetraceEnd, 0x0A}},
       {{Field::VerticalRetraceEnd, 5}},
       "11rw",
       noResult},
      {"getVerticalRetraceEnd()",
       get(&C::getVerticalRetraceEnd),
       {{Field::VerticalRetraceEnd, 9}},
       {},
       "11r",
       9},
      {"setVerticalBlankStart(600)",
       set(&C::setVerticalBlankStart, 600),
       {{Field::VerticalBlankStart, 0x1A7}},
       {{Field::VerticalBlankStart, 600}},
       "15w 07rw 09rw",
       noResult},
      {"setVerticalBlankStart(0xFD58)",
       set(&C::setVerticalBlankStart, 0xFD58),
       {{Field::VerticalBlankStart, 0x2A7}},
       {{Field::VerticalBlankStart, 0x158}},
       "15w 07rw 09rw",
       noResult},
      {"setVerticalBlankEnd(623)",
       set(&C::setVerticalBlankEnd, 623),
       {},
       {{Field::VerticalBlankEnd, 0x6F}},
       "16w",
       noResult},
  };
  return cases;
}

// Every operation from the given registers: its result, the fields it
// wrote, every other bit of all 256 registers, the protection as found, and
// one unlock, its own accesses and one relock.
void runEveryOperation(const RegisterFile& start) {
  host::EmulatedCrtc& crtc = host::emulatedCrtc();
  for (const OperationCase& row : operationCases()) {
    SCOPED_TRACE(row.call);
    RegisterFile before = start;
    for (const FieldValue& f : row.before) crtc_test::writeField(before, f.field, f.value);
    RegisterFile expected = before;
    for (const FieldValue& f : row.after) crtc_test::writeField(expected, f.field, f.value);
    expected[0x03] |= retraceAccess;
    crtc_test::loadEmulatedRegisters(before);
    crtc.setIndex(strayIndex);
    crtc.clearTrace();

    EXPECT_EQ(row.run(), row.result);

    RegisterFile actual = crtc_test::emulatedRegisters();
    EXPECT_EQ(crtc_test::registerDifferences(actual, expected), "");
    for (const FieldValue& f : row.after) {
      EXPECT_EQ(crtc_test::readField(actual, f.field), f.value) << crtc_test::fieldName(f.field);
    }
    EXPECT_EQ(actual[0x11] & protectBit, start[0x11] & protectBit);
    EXPECT_EQ(actual[0x03] & retraceAccess, retraceAccess);
    EXPECT_EQ(crtc.index(), 0x11);

    const std::vector<PortAccess>& trace = crtc.trace();
    EXPECT_EQ(crtc_test::accessShape(trace), crtc_test::operationShape(row.accesses));
    if (trace.size() < 9) continue;
    const std::vector<PortAccess> unlock = {
        out(indexPort, 0x11),
        in(dataPort, before[0x11]),
        out(dataPort, static_cast<uint8_t>(before[0x11] & ~protectBit)),
        out(indexPort, 0x03),
        in(dataPort, before[0x03]),
        out(dataPort, static_cast<uint8_t>(before[0x03] | retraceAccess))};
    const std::vector<PortAccess> relock = {
        out(indexPort, 0x11), in(dataPort, static_cast<uint8_t>(expected[0x11] & ~protectBit)),
        out(dataPort, expected[0x11])};
    EXPECT_EQ(host::describe({trace.begin(), trace.begin() + 6}), host::describe(unlock));
    EXPECT_EQ(host::describe({trace.end() - 3, trace.end()}), host::describe(relock));
  }
}

TEST_F(CrtcRegistersTest, EveryOperationFromAProtectedController) {
  // The inverted pattern has CR11 bit 7 set of itself.
  RegisterFile start = crtc_test::distinctivePattern();
  for (uint8_t& r : start) r = static_cast<uint8_t>(~r);
  ASSERT_NE(start[0x11] & protectBit, 0);
  runEveryOperation(start);
}

TEST_F(CrtcRegistersTest, EveryOperationFromAnUnprotectedController) {
  RegisterFile start = crtc_test::distinctivePattern();
  start[0x11] &= static_cast<uint8_t>(~protectBit);
  ASSERT_EQ(start[0x03] & retraceAccess, 0);  // so the unlock's CR03 bit 7 shows
  runEveryOperation(start);
}

TEST_F(CrtcRegistersTest, VerticalRetraceStartReadsBackAsSet) {
  crtc_test::loadEmulatedRegisters(crtc_test::distinctivePattern());
  struct {
    uint16_t set;
    uint16_t got;
  } const cases[] = {{611, 611}, {0, 0},       {255, 255},   {256, 256},
                     {512, 512}, {1023, 1023}, {0xFE63, 611}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.set);
    moduleCrtc.setVerticalRetraceStart(c.set);
    EXPECT_EQ(moduleCrtc.getVerticalRetraceStart(), c.got);
  }
}

// The relock takes bit 7 from the unlock of the same operation, not from an
// older one: a controller protected in between stays protected.
TEST_F(CrtcRegistersTest, ProtectionFollowsTheControllerBetweenOperations) {
  host::EmulatedCrtc& crtc = host::emulatedCrtc();
  crtc.setRegister(0x11, 0x03);
  moduleCrtc.setHorizontalRetraceStart(0x40);
  EXPECT_EQ(crtc.reg(0x11), 0x03);
  crtc.setRegister(0x11, 0x83);
  moduleCrtc.setHorizontalRetraceStart(0x41);
  EXPECT_EQ(crtc.reg(0x11), 0x83);
  EXPECT_EQ(crtc.reg(0x04), 0x41);
  crtc.setRegister(0x11, 0x03);
  moduleCrtc.setHorizontalRetraceStart(0x42);
  EXPECT_EQ(crtc.reg(0x11), 0x03);
  EXPECT_EQ(crtc.reg(0x04), 0x42);
}

}  // namespace
