// DrvSwitch and then DrvRestore on the same registry and system.ini: what
// the leaf holds after the round trip. The log keeps the command tail as
// it was typed; the profile functions, like Windows', drop the trailing
// blanks and one pair of enclosing quotes of a value when it is read back.
#include <string>

#include "drivertools/restore/drv_restore_run.h"
#include "drivertools/switch/drv_switch_run.h"
#include "drv_program_test_support.h"

namespace {

using namespace drv_test;

class DrvRoundTripTest : public DrvProgramTest {};

TEST_F(DrvRoundTripTest, LeafComesBackAsTheLogReadsTheTail) {
  const struct {
    const char* description;
    std::string drvBefore;
    std::string tail;
    std::string drvAfter;
  } cases[] = {
      {"plain name", "vga.drv", "vga.drv", "vga.drv"},
      {"the tail's case, not the value's", "vga.drv", "VGA.DRV", "VGA.DRV"},
      {"a trailing blank does not survive the read", "vga.drv ", "vga.drv ", "vga.drv"},
      {"enclosing quotes do not survive the read", "\"vga.drv\"", "\"vga.drv\"", "vga.drv"},
  };
  for (const auto& row : cases) {
    host::resetHost();
    leaf("0000", row.drvBefore);
    EXPECT_EQ(0, runDrvSwitch(row.tail.c_str())) << row.description;
    EXPECT_EQ("ombrix.drv", drvOf("0000")) << row.description;
    host::scriptDialog(102, {host::pressEnter()});
    host::scriptMessageBoxAnswer(IDNO);  // the restart question
    EXPECT_EQ(1, runDrvRestore(host::fakeModule(1), "ombrix.drv")) << row.description;
    EXPECT_EQ(row.drvAfter, drvOf("0000")) << row.description;
  }
}

}  // namespace
