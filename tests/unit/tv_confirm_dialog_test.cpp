// The confirmation dialog's procedure, message by message.
#include "page/tv_confirm_dialog.h"

#include <vector>

#include "tests/unit/tv_page_test_support.h"

namespace {

struct ConfirmRow {
  const char* what;
  UINT message;
  WPARAM wParam;
  INT_PTR returns;
  bool ends;
  INT_PTR endResult;
};

// Only the low word of a command counts.
const ConfirmRow confirmTable[] = {
    {"WM_INITDIALOG", WM_INITDIALOG, 0, 0, false, 0},
    {"&Yes", WM_COMMAND, IDOK, 1, true, 1},
    {"&Yes, other notification", WM_COMMAND, MAKEWPARAM(IDOK, 1), 1, true, 1},
    {"&Cancel", WM_COMMAND, IDCANCEL, 0, true, 0},
    {"&Cancel, other notification", WM_COMMAND, MAKEWPARAM(IDCANCEL, 5), 0, true, 0},
    {"the text", WM_COMMAND, 1041, 0, false, 0},
    {"high word of IDOK only", WM_COMMAND, MAKEWPARAM(0, IDOK), 0, false, 0},
    {"WM_DESTROY", WM_DESTROY, 0, 0, false, 0},
    {"WM_NOTIFY", WM_NOTIFY, IDOK, 0, false, 0},
};

class TvConfirmDialogTest : public tv_test::PageTest {};

TEST_F(TvConfirmDialogTest, AnswersEachMessageAsItsRowSays) {
  for (const ConfirmRow& row : confirmTable) {
    SCOPED_TRACE(row.what);
    host::clearJournal();
    HWND dialog = host::createWindow(module);
    // The procedure reads no initialisation parameter: an unusable one.
    const LPARAM unusable = 1;
    EXPECT_EQ(TvConfirmDialog(dialog, row.message, row.wParam, unusable), row.returns);
    EXPECT_EQ(host::dialogEnded(dialog), row.ends);
    if (row.ends) {
      EXPECT_EQ(host::dialogEndResult(dialog), row.endResult);
      EXPECT_EQ(host::journalCalls().size(), 1u);
    } else {
      EXPECT_TRUE(host::journalCalls().empty());
    }
  }
  EXPECT_TRUE(host::emulatedCrtc().trace().empty());
}

}  // namespace
