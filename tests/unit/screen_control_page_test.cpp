// The Screen Control page's dialog procedure: creation, commands,
// notifications and destruction, as the property sheet delivers them.
#include "page/screen_control_page.h"

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/unit/tv_page_test_support.h"

using crtc_test::Field;
using crtc_test::RegisterFile;
using tv_test::handleText;

namespace {

const WORD confirmTemplate = 103;
const std::vector<int> radioGroup = {1023, 1024, 1021};

class ScreenControlPageTest : public tv_test::PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    memset(&record, 0, sizeof record);
    record.dwSize = 40;
    // The page window belongs to another module than the one in the page
    // record, so that the bitmaps' source shows.
    record.hInstance = module;
    page = host::createWindow(host::fakeModule(7));
  }

  INT_PTR send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ScreenControlPage(page, message, wParam, lParam);
  }
  INT_PTR create() { return send(WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&record)); }
  INT_PTR click(int id) { return send(WM_COMMAND, static_cast<WPARAM>(id)); }
  INT_PTR notify(UINT code) {
    NMHDR header = {nullptr, 0, code};
    return send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  }
  // An auto radio button checks itself, then the page hears of it.
  INT_PTR clickRadio(int id) {
    host::clickAutoRadioButton(page, id, radioGroup);
    return click(id);
  }

  PROPSHEETPAGEA record;
};

// --- Creation and destruction ----------------------------------------------

TEST_F(ScreenControlPageTest, CreationLoadsTheFourBitmapsInOrderAndChecks640x480) {
  modulePosition.moveUp();
  modulePosition.moveLeft();
  clearRecords();

  EXPECT_EQ(create(), 1);

  struct Loaded {
    WORD bitmapId;
    int buttonId;
  };
  const Loaded order[] = {{109, 207}, {122, 210}, {121, 209}, {123, 208}};
  std::vector<std::string> expected;
  for (const Loaded& l : order) {
    const host::Control& button = host::control(page, l.buttonId);
    const host::LoadedBitmap* bitmap = host::loadedBitmap(button.image);
    ASSERT_NE(bitmap, nullptr) << "button " << l.buttonId << " has no loaded bitmap";
    EXPECT_EQ(bitmap->bitmapId, l.bitmapId);
    EXPECT_EQ(bitmap->module, module);
    EXPECT_EQ(button.imageType, static_cast<WPARAM>(IMAGE_BITMAP));
    expected.push_back("LoadBitmapA(" + handleText(module) + ", " + std::to_string(l.bitmapId) +
                       ")");
    char lParam[24];
    snprintf(lParam, sizeof lParam, "0x%08lX", static_cast<unsigned long>(button.image));
    expected.push_back("SendDlgItemMessageA(" + handleText(page) + ", " +
                       std::to_string(l.buttonId) + ", 0x000000F7, 0, " + lParam + ")");
  }
  expected.push_back("CheckDlgButton(" + handleText(page) + ", 1024, 1)");
  EXPECT_EQ(host::journalCalls(), expected);
  EXPECT_EQ(host::control(page, 1024).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(host::liveBitmapCount(), 4u);

  // The offsets start again from here, without a register access.
  EXPECT_EQ(modulePosition.verticalOffset, 0);
  EXPECT_EQ(modulePosition.horizontalOffset, 0);
  EXPECT_TRUE(host::emulatedCrtc().trace().empty());
}

TEST_F(ScreenControlPageTest, DestructionReleasesEachBitmapOnce) {
  create();
  std::vector<LPARAM> images;
  for (int button : {207, 208, 209, 210}) images.push_back(host::control(page, button).image);
  host::clearJournal();

  EXPECT_EQ(send(WM_DESTROY), 1);
  EXPECT_EQ(host::liveBitmapCount(), 0u);
  EXPECT_EQ(host::loadedBitmapCount(), 4u);
  std::vector<std::string> deletes = host::journalCalls("DeleteObject");
  EXPECT_EQ(deletes.size(), 4u);
  for (LPARAM image : images) {
    char text[48];
    snprintf(text, sizeof text, "DeleteObject(0x%08lX)", static_cast<unsigned long>(image));
    EXPECT_EQ(std::count(deletes.begin(), deletes.end(), std::string(text)), 1) << text;
  }
}

TEST_F(ScreenControlPageTest, AMissingBitmapLeavesItsButtonWithoutAnImage) {
  host::resetUserInterface();
  for (WORD id : {109, 122, 123}) host::addBitmapResource(module, id);
  page = host::createWindow(host::fakeModule(7));

  EXPECT_EQ(create(), 1);
  EXPECT_EQ(host::control(page, 209).image, 0);
  EXPECT_EQ(host::liveBitmapCount(), 3u);
  EXPECT_EQ(host::control(page, 1024).checked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(send(WM_DESTROY), 1);
  EXPECT_EQ(host::liveBitmapCount(), 0u);
}

// A page made after an earlier one keeps the earlier selection while it
// shows "640X480" checked.
TEST_F(ScreenControlPageTest, ASecondPageKeepsTheSelection) {
  create();
  clickRadio(1023);
  send(WM_DESTROY);
  EXPECT_EQ(tv800x600Selected, 1);

  page = host::createWindow(host::fakeModule(7));
  create();
  EXPECT_EQ(tv800x600Selected, 1);
  EXPECT_EQ(host::control(page, 1024).checked, static_cast<UINT>(BST_CHECKED));
  host::scriptDialog(confirmTemplate, {host::clickButton(IDOK)});
  click(1013);
  ASSERT_EQ(host::modeChanges().size(), 1u);
  EXPECT_EQ(host::modeChanges()[0].mode.dmPelsWidth, 800u);
  send(WM_DESTROY);
}

// --- Commands --------------------------------------------------------------

struct CommandRow {
  const char* what;
  WPARAM wParam;
  INT_PTR returns;
  int verticalOffset, horizontalOffset;  // after; the rows start at +2, +1
  int selected;                          // after; the rows start at 1
  int syncWidth;                         // of the retrace end after; -1: unchanged
  size_t questions;                      // confirmation dialogs shown
};

// On a screen 1024 pixels wide, after one move up and one move left.
const CommandRow commandTable[] = {
    {"&I moves up", 207, 0, 4, 1, 1, -1, 0},     {"&M moves down", 208, 0, 0, 1, 1, -1, 0},
    {"&J moves left", 209, 0, 2, 2, 1, -1, 0},   {"&K moves right", 210, 0, 2, 0, 1, -1, 0},
    {"&Default resets", 109, 0, 0, 0, 1, -1, 0}, {"&TV output", 1013, 1, 0, 0, 1, 10, 1},
    {"640X480", 1024, 0, 2, 1, 0, 10, 0},        {"800X600", 1023, 0, 2, 1, 1, 10, 0},
    {"TV Blank", 1021, 0, 2, 1, 1, 13, 0},       {"the version label", 65535, 0, 2, 1, 1, -1, 0},
    {"no control", 0, 0, 2, 1, 1, -1, 0},        {"a template id", 102, 0, 2, 1, 1, -1, 0},
};

TEST_F(ScreenControlPageTest, EachCommandActsAsItsRowSays) {
  for (const CommandRow& row : commandTable) {
    SCOPED_TRACE(row.what);
    host::resetHost();
    crtc_test::loadEmulatedRegisters(start);
    host::setScreenSize(1024, 768);
    for (WORD id : tv_test::arrowBitmapIds) host::addBitmapResource(module, id);
    page = host::createWindow(host::fakeModule(7));
    create();
    modulePosition.moveUp();
    modulePosition.moveLeft();
    tv800x600Selected = 1;
    host::scriptDialog(confirmTemplate, {host::clickButton(IDCANCEL)});
    const unsigned endBefore = tv_test::field(Field::VerticalRetraceEnd);
    const unsigned startBefore = tv_test::field(Field::VerticalRetraceStart);

    EXPECT_EQ(click(static_cast<int>(row.wParam)), row.returns);

    EXPECT_EQ(modulePosition.verticalOffset, row.verticalOffset);
    EXPECT_EQ(modulePosition.horizontalOffset, row.horizontalOffset);
    EXPECT_EQ(tv800x600Selected, row.selected);
    EXPECT_EQ(host::dialogRuns().size(), row.questions);
    if (row.syncWidth >= 0) {
      EXPECT_EQ(tv_test::field(Field::VerticalRetraceEnd),
                tv_test::retraceEndForWidth(row.syncWidth));
    } else if (row.verticalOffset == 2) {
      EXPECT_EQ(tv_test::field(Field::VerticalRetraceEnd), endBefore);
    }
    if (row.verticalOffset == 2 && row.horizontalOffset == 1) {
      EXPECT_EQ(tv_test::field(Field::VerticalRetraceStart), startBefore);
    }
    send(WM_DESTROY);
  }
}

// The whole wParam is the control id: any notification code but
// BN_CLICKED leaves the page alone.
TEST_F(ScreenControlPageTest, ACommandWithAHighWordDoesNothing) {
  create();
  const RegisterFile before = crtc_test::emulatedRegisters();
  for (int id : {207, 208, 209, 210, 109, 1013, 1024, 1023, 1021}) {
    for (WORD code : {1, 5, 0x8000}) {
      SCOPED_TRACE(std::to_string(id) + " with notification " + std::to_string(code));
      clearRecords();
      EXPECT_EQ(send(WM_COMMAND, MAKEWPARAM(id, code)), 0);
      EXPECT_TRUE(host::emulatedCrtc().trace().empty());
      EXPECT_TRUE(host::journalCalls().empty());
    }
  }
  EXPECT_EQ(crtc_test::registerDifferences(crtc_test::emulatedRegisters(), before), "");
  EXPECT_EQ(tv800x600Selected, 0);
  EXPECT_EQ(modulePosition.verticalOffset, 0);
  EXPECT_TRUE(host::dialogRuns().empty());
  send(WM_DESTROY);
}

struct WidthRow {
  int screenWidth;
  int button;
  unsigned syncWidth;
  int selected;
};

// The wide pulse follows the screen in use, not the button's resolution.
const WidthRow widthTable[] = {
    {1024, 1024, 10, 0}, {800, 1024, 10, 0}, {799, 1024, 6, 0},
    {640, 1023, 6, 1},   {800, 1023, 10, 1}, {640, 1024, 6, 0},
};

TEST_F(ScreenControlPageTest, TheResolutionButtonsSetTheSyncWidthForTheScreenInUse) {
  create();
  for (const WidthRow& row : widthTable) {
    SCOPED_TRACE(std::to_string(row.screenWidth) + " wide, button " + std::to_string(row.button));
    host::setScreenSize(row.screenWidth, 600);
    tv800x600Selected = 1 - row.selected;
    host::clearJournal();
    EXPECT_EQ(clickRadio(row.button), 0);
    EXPECT_EQ(tv_test::field(Field::VerticalRetraceEnd),
              tv_test::retraceEndForWidth(row.syncWidth));
    EXPECT_EQ(tv800x600Selected, row.selected);
    EXPECT_EQ(host::journalCalls(), std::vector<std::string>{"GetSystemMetrics(0)"});
  }
  send(WM_DESTROY);
}

TEST_F(ScreenControlPageTest, A640x480ClickEndsTheBlank) {
  create();
  host::setScreenSize(640, 480);
  clickRadio(1021);
  EXPECT_EQ(tv_test::field(Field::VerticalRetraceEnd), tv_test::retraceEndForWidth(13));
  clickRadio(1024);
  EXPECT_EQ(tv_test::field(Field::VerticalRetraceEnd), tv_test::retraceEndForWidth(6));
  send(WM_DESTROY);
}

// The TV output ends the blank, confirmed or not, and leaves the radio
// buttons as the user left them.
TEST_F(ScreenControlPageTest, TheTvOutputEndsTheBlankAndKeepsTheRadioButtons) {
  for (int answer : {IDCANCEL, IDOK}) {
    SCOPED_TRACE(answer == IDOK ? "&Yes" : "&Cancel");
    create();
    clickRadio(1021);
    host::scriptDialog(confirmTemplate, {host::clickButton(answer)});
    host::clearJournal();
    EXPECT_EQ(click(1013), 1);
    EXPECT_EQ(tv_test::field(Field::VerticalRetraceEnd), tv_test::retraceEndForWidth(6));
    EXPECT_EQ(host::control(page, 1021).checked, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(host::control(page, 1024).checked, static_cast<UINT>(BST_UNCHECKED));
    EXPECT_TRUE(host::journalCalls("CheckDlgButton").empty());
    send(WM_DESTROY);
  }
}

// --- Notifications and other messages --------------------------------------

TEST_F(ScreenControlPageTest, CancellingTheSheetPutsThePositionBack) {
  create();
  click(207);
  click(207);
  click(210);
  click(209);
  click(209);
  EXPECT_EQ(notify(PSN_QUERYCANCEL), 1);
  RegisterFile actual = crtc_test::emulatedRegisters();
  EXPECT_EQ(crtc_test::registerDifferences(actual, start), "");
  EXPECT_EQ(modulePosition.verticalOffset, 0);
  EXPECT_EQ(modulePosition.horizontalOffset, 0);
  send(WM_DESTROY);
}

TEST_F(ScreenControlPageTest, OkAndTheOtherNotificationsKeepThePosition) {
  create();
  click(207);
  click(209);
  const RegisterFile moved = crtc_test::emulatedRegisters();
  for (UINT code : {PSN_APPLY, PSN_SETACTIVE, PSN_KILLACTIVE, PSN_RESET, PSN_FIRST - 10}) {
    SCOPED_TRACE(code);
    clearRecords();
    EXPECT_EQ(notify(code), 1);
    EXPECT_TRUE(host::emulatedCrtc().trace().empty());
    EXPECT_TRUE(host::journalCalls().empty());
  }
  EXPECT_EQ(crtc_test::registerDifferences(crtc_test::emulatedRegisters(), moved), "");
  EXPECT_EQ(modulePosition.verticalOffset, 2);
  EXPECT_EQ(modulePosition.horizontalOffset, 1);
  send(WM_DESTROY);
}

TEST_F(ScreenControlPageTest, HelpShowsItsMessageWithAnOkButtonOnly) {
  create();
  clearRecords();
  host::scriptMessageBoxAnswer(IDCANCEL);  // whatever it answers
  EXPECT_EQ(notify(PSN_HELP), 1);
  ASSERT_EQ(host::messageBoxes().size(), 1u);
  const host::MessageBoxRecord& box = host::messageBoxes()[0];
  EXPECT_EQ(box.owner, page);
  EXPECT_EQ(box.text, "Use TV output button to set the video signal for TV");
  EXPECT_EQ(box.caption, "Ombrix");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
  EXPECT_TRUE(host::emulatedCrtc().trace().empty());
  send(WM_DESTROY);
}

TEST_F(ScreenControlPageTest, OtherMessagesDoNothing) {
  create();
  clearRecords();
  struct Row {
    UINT message;
    INT_PTR returns;
  } rows[] = {{WM_DRAWITEM, 1}, {0x0113 /* WM_TIMER */, 0}, {0x0020 /* WM_SETCURSOR */, 0}};
  for (const Row& row : rows) {
    EXPECT_EQ(send(row.message, 207, 0), row.returns) << row.message;
  }
  EXPECT_TRUE(host::emulatedCrtc().trace().empty());
  EXPECT_TRUE(host::journalCalls().empty());
  send(WM_DESTROY);
}

}  // namespace
