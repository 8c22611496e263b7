// The TV output switch: the position reset before the question, the mode
// record and the 625-line timing after "&Yes", and the normal sync width
// that ends every switch, on the emulated controller and the stand-in's
// dialogs and display settings.
#include "page/tv_output_switch.h"

#include <string.h>

#include <string>
#include <vector>

#include "page/tv_confirm_dialog.h"
#include "tests/unit/tv_page_test_support.h"

using crtc_test::Field;
using crtc_test::RegisterFile;
using tv_test::PageTest;

namespace {

const WORD confirmTemplate = 103;
const size_t windows95DevModeSize = 148;

// The picture moved before the switch: two steps up, one to the right.
void moveBeforeSwitch() {
  modulePosition.moveUp();
  modulePosition.moveUp();
  modulePosition.moveRight();
}

// The port accesses that modulePosition.reset() makes from the moved
// position, recorded on a controller of its own.
std::vector<host::PortAccess> resetAccessesFromMovedPosition(const RegisterFile& start) {
  crtc_test::loadEmulatedRegisters(start);
  moveBeforeSwitch();
  host::emulatedCrtc().clearTrace();
  modulePosition.reset();
  std::vector<host::PortAccess> accesses = host::emulatedCrtc().trace();
  host::emulatedCrtc().clearTrace();
  return accesses;
}

uint64_t sequenceOf(const std::string& function) {
  for (const host::JournalRecord& record : host::journalRecords()) {
    if (record.call.compare(0, function.size() + 1, function + "(") == 0) return record.sequence;
  }
  ADD_FAILURE() << function << " not in the journal";
  return 0;
}

class TvOutputSwitchTest : public PageTest {
 protected:
  // Moves the picture, then runs the switch with the user's answer.
  void runSwitch(int selected, const std::vector<host::UserAction>& answer, bool failCreation) {
    resetAccesses = resetAccessesFromMovedPosition(start);
    crtc_test::loadEmulatedRegisters(start);
    moveBeforeSwitch();
    clearRecords();
    if (failCreation) {
      host::failDialogCreation(confirmTemplate);
    } else {
      host::scriptDialog(confirmTemplate, answer);
    }
    TvOutputSwitch(page, selected);
  }

  // The port accesses before the question are exactly the position reset.
  void expectResetBeforeQuestion() {
    const uint64_t question = sequenceOf("DialogBoxParamA");
    std::vector<host::PortAccess> before;
    for (const host::PortAccess& access : host::emulatedCrtc().trace()) {
      if (access.sequence < question) before.push_back(access);
    }
    EXPECT_EQ(host::describe(before), host::describe(resetAccesses));
    EXPECT_EQ(modulePosition.verticalOffset, 0);
    EXPECT_EQ(modulePosition.horizontalOffset, 0);
  }

  // The question: template 103 of the page window's module, owned by the
  // page window, through the confirmation procedure.
  void expectQuestionAsked() {
    ASSERT_EQ(host::dialogRuns().size(), 1u);
    const host::DialogRun& run = host::dialogRuns()[0];
    EXPECT_EQ(run.module, module);
    EXPECT_EQ(run.templateId, confirmTemplate);
    EXPECT_EQ(run.owner, page);
    EXPECT_EQ(run.initParam, 0);
    EXPECT_EQ(host::journalCalls("GetWindowLongA"),
              std::vector<std::string>{"GetWindowLongA(" + tv_test::handleText(page) + ", -6)"});
  }

  std::vector<host::PortAccess> resetAccesses;
};

// --- Not confirmed ----------------------------------------------------------

struct NotConfirmedCase {
  const char* name;
  int selected;
  std::vector<host::UserAction> answer;
  bool failCreation;
  INT_PTR dialogResult;
  unsigned normalWidth;
};

class TvOutputSwitchNotConfirmed : public TvOutputSwitchTest,
                                   public ::testing::WithParamInterface<NotConfirmedCase> {};

// Only the retrace end differs from the start: the position is back, no
// mode change, no timing programme, and the normal sync width for the
// selection (which also ends a blanked signal).
TEST_P(TvOutputSwitchNotConfirmed, PutsThePositionBackAndSetsOnlyTheNormalSyncWidth) {
  const NotConfirmedCase& c = GetParam();
  runSwitch(c.selected, c.answer, c.failCreation);

  expectResetBeforeQuestion();
  expectQuestionAsked();
  EXPECT_EQ(host::dialogRuns()[0].result, c.dialogResult);
  EXPECT_TRUE(host::modeChanges().empty());
  EXPECT_TRUE(host::journalCalls("ChangeDisplaySettingsA").empty());

  RegisterFile expected = start;
  crtc_test::writeField(expected, Field::VerticalRetraceEnd,
                        (tv_test::startVerticalRetraceStart + c.normalWidth) % 16);
  EXPECT_EQ(crtc_test::registerDifferences(crtc_test::emulatedRegisters(), expected), "");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TvOutputSwitchNotConfirmed,
    ::testing::Values(
        NotConfirmedCase{"Cancel640x480", 0, {host::clickButton(IDCANCEL)}, false, 0, 6},
        NotConfirmedCase{"Cancel800x600", 1, {host::clickButton(IDCANCEL)}, false, 0, 10},
        NotConfirmedCase{"Escape640x480", 0, {host::pressEscape()}, false, 0, 6},
        // A click elsewhere first does not end the question.
        NotConfirmedCase{
            "TextThenCancel", 1, {host::clickButton(1041), host::pressEscape()}, false, 0, 10},
        // The dialog could not be created: nobody said yes.
        NotConfirmedCase{"NotCreated640x480", 0, {}, true, -1, 6},
        NotConfirmedCase{"NotCreated800x600", 1, {}, true, -1, 10}),
    [](const ::testing::TestParamInfo<NotConfirmedCase>& row) { return row.param.name; });

// --- Confirmed --------------------------------------------------------------

struct ConfirmedCase {
  const char* name;
  int selected;
  LONG modeChangeResult;
  DWORD width, height;
  crtc_test::Timing timing;  // every field afterwards
};

// The fields as stored after the switch. The 640x480 programme leaves the
// horizontal blank and retrace as they were (the start position: the mode
// change does not touch the emulated controller). The retrace end is the
// sync width's, not the programme's.
const crtc_test::Timing after640x480 = {95,
                                        0,
                                        0,
                                        tv_test::startHorizontalRetraceStart,
                                        tv_test::startHorizontalRetraceEnd,
                                        623,
                                        478,
                                        515,
                                        9,
                                        481,
                                        111};
const crtc_test::Timing after800x600 = {155, 101, 30, 120, 2, 623, 598, 611, 13, 600, 111};

class TvOutputSwitchConfirmed : public TvOutputSwitchTest,
                                public ::testing::WithParamInterface<ConfirmedCase> {};

TEST_P(TvOutputSwitchConfirmed, ChangesTheModeThenWritesTheTvTiming) {
  const ConfirmedCase& c = GetParam();
  host::setChangeDisplaySettingsResult(c.modeChangeResult);
  runSwitch(c.selected, {host::clickButton(IDOK)}, false);

  expectResetBeforeQuestion();
  expectQuestionAsked();
  EXPECT_EQ(host::dialogRuns()[0].result, tvConfirmYes);
  EXPECT_EQ(tv_test::journalFunctions(),
            (std::vector<std::string>{"GetWindowLongA", "DialogBoxParamA", "EndDialog",
                                      "ChangeDisplaySettingsA"}));

  // One mode record: the three fields asked for, every other byte 0.
  ASSERT_EQ(host::modeChanges().size(), 1u);
  const host::ModeChange& change = host::modeChanges()[0];
  EXPECT_TRUE(change.hadMode);
  EXPECT_EQ(change.flags, static_cast<DWORD>(CDS_UPDATEREGISTRY));
  EXPECT_EQ(change.mode.dmSize, windows95DevModeSize);
  EXPECT_EQ(change.mode.dmDriverExtra, 0);
  EXPECT_EQ(change.mode.dmFields, 0x580000u);
  EXPECT_EQ(change.mode.dmPelsWidth, c.width);
  EXPECT_EQ(change.mode.dmPelsHeight, c.height);
  EXPECT_EQ(change.mode.dmDisplayFrequency, 60u);
  EXPECT_EQ(change.mode.dmBitsPerPel, 0u);
  DEVMODEA expectedMode;
  memset(&expectedMode, 0, sizeof expectedMode);
  expectedMode.dmSize = windows95DevModeSize;
  expectedMode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
  expectedMode.dmPelsWidth = c.width;
  expectedMode.dmPelsHeight = c.height;
  expectedMode.dmDisplayFrequency = 60;
  EXPECT_EQ(memcmp(&change.mode, &expectedMode, sizeof expectedMode), 0)
      << "a member besides dmSize, dmFields, dmPelsWidth, dmPelsHeight, dmDisplayFrequency is set";
  const host::JournalRecord& record = host::journalRecords().back();
  EXPECT_EQ(record.data.size(), windows95DevModeSize);

  // The mode change has returned before any register of the programme is
  // touched: no access between the question and the mode change, all after.
  for (const host::PortAccess& access : host::emulatedCrtc().trace()) {
    const bool beforeQuestion = access.sequence < sequenceOf("DialogBoxParamA");
    EXPECT_TRUE(beforeQuestion || access.sequence > change.sequence) << host::describe(access);
  }

  const crtc_test::Timing actual = crtc_test::decodeTiming(crtc_test::emulatedRegisters());
  const crtc_test::Timing& expected = c.timing;
  EXPECT_EQ(actual.horizontalTotal, expected.horizontalTotal);
  if (c.selected == 1) {
    EXPECT_EQ(actual.horizontalBlankStart, expected.horizontalBlankStart);
    EXPECT_EQ(actual.horizontalBlankEnd, expected.horizontalBlankEnd);
  } else {
    EXPECT_EQ(actual.horizontalBlankStart,
              crtc_test::readField(start, Field::HorizontalBlankStart));
    EXPECT_EQ(actual.horizontalBlankEnd, crtc_test::readField(start, Field::HorizontalBlankEnd));
  }
  EXPECT_EQ(actual.horizontalRetraceStart, expected.horizontalRetraceStart);
  EXPECT_EQ(actual.horizontalRetraceEnd, expected.horizontalRetraceEnd);
  EXPECT_EQ(actual.verticalTotal, expected.verticalTotal);
  EXPECT_EQ(actual.verticalDisplayEnd, expected.verticalDisplayEnd);
  EXPECT_EQ(actual.verticalRetraceStart, expected.verticalRetraceStart);
  EXPECT_EQ(actual.verticalRetraceEnd, expected.verticalRetraceEnd);
  EXPECT_EQ(actual.verticalBlankStart, expected.verticalBlankStart);
  EXPECT_EQ(actual.verticalBlankEnd, expected.verticalBlankEnd);

  // Nothing else changed; the write protection is as it was.
  RegisterFile expectedRegisters = start;
  const Field written[] = {
      Field::HorizontalTotal,        Field::HorizontalBlankStart, Field::HorizontalBlankEnd,
      Field::HorizontalRetraceStart, Field::HorizontalRetraceEnd, Field::VerticalTotal,
      Field::VerticalDisplayEnd,     Field::VerticalRetraceStart, Field::VerticalRetraceEnd,
      Field::VerticalBlankStart,     Field::VerticalBlankEnd};
  RegisterFile actualRegisters = crtc_test::emulatedRegisters();
  for (Field f : written) {
    crtc_test::writeField(expectedRegisters, f, crtc_test::readField(actualRegisters, f));
  }
  EXPECT_EQ(crtc_test::registerDifferences(actualRegisters, expectedRegisters), "");
}

INSTANTIATE_TEST_SUITE_P(
    Resolutions, TvOutputSwitchConfirmed,
    ::testing::Values(
        ConfirmedCase{"Yes640x480", 0, DISP_CHANGE_SUCCESSFUL, 640, 480, after640x480},
        ConfirmedCase{"Yes800x600", 1, DISP_CHANGE_SUCCESSFUL, 800, 600, after800x600},
        // A refused mode goes unnoticed: the same timing follows.
        ConfirmedCase{"Failed640x480", 0, DISP_CHANGE_FAILED, 640, 480, after640x480},
        ConfirmedCase{"BadMode800x600", 1, DISP_CHANGE_BADMODE, 800, 600, after800x600}),
    [](const ::testing::TestParamInfo<ConfirmedCase>& row) { return row.param.name; });

// The selection passed in decides everything, not the module-wide flag.
TEST_F(TvOutputSwitchTest, UsesTheSelectionItIsGiven) {
  tv800x600Selected = 0;
  runSwitch(1, {host::clickButton(IDOK)}, false);
  ASSERT_EQ(host::modeChanges().size(), 1u);
  EXPECT_EQ(host::modeChanges()[0].mode.dmPelsWidth, 800u);
  EXPECT_EQ(tv_test::field(Field::VerticalRetraceEnd), 13u);
}

}  // namespace
