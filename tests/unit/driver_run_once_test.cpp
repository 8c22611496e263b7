#include <string>
#include <vector>

#include "driver_tools_test_support.h"
#include "drivertools/shared/run_once_command.h"

namespace {

const char runOnceKey[] = "HKCU\\SoftWare\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class RunOnceTest : public DriverToolsTest {};

TEST_F(RunOnceTest, SetsTheUnnamedValueToTheCommandAndItsZero) {
  for (const char* command : {"control.exe desk.cpl, @0,0", "control.exe desk.cpl, @0,3"}) {
    host::resetHost();
    writeRunOnceCommand(command);
    const std::vector<std::string> expected = {
        "RegCreateKeyA(HKCU, \"SoftWare\\Microsoft\\Windows\\CurrentVersion\\RunOnce\" -> " +
            std::string(runOnceKey) + ") = ERROR_SUCCESS",
        "RegSetValueExA(" + std::string(runOnceKey) + ", \"\", 0, REG_SZ, 27) = ERROR_SUCCESS",
        "RegCloseKey(" + std::string(runOnceKey) + ") = ERROR_SUCCESS",
    };
    EXPECT_EQ(joinedLines(expected), joinedLines(host::journalCalls()));
    std::vector<unsigned char> withZero = bytesOf(command);
    withZero.push_back(0);
    EXPECT_EQ(withZero, host::journalRecords()[1].data);
    DWORD type = 0;
    std::vector<unsigned char> stored;
    ASSERT_TRUE(host::registryValue(runOnceKey, "", &type, &stored));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(withZero, stored);
  }
}

TEST_F(RunOnceTest, ReplacesACommandLeftThereAndOpensAKeyOfOtherCase) {
  const char existing[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
  host::setRegistryString(existing, "", "someone-else.exe");
  host::setRegistryString(existing, "Other", "kept.exe");
  writeRunOnceCommand("control.exe desk.cpl, @0,3");
  std::vector<unsigned char> stored;
  ASSERT_TRUE(host::registryValue(existing, "", nullptr, &stored));
  EXPECT_EQ(bytesOf(std::string("control.exe desk.cpl, @0,3") + '\0'), stored);
  ASSERT_TRUE(host::registryValue(existing, "Other", nullptr, &stored));
  EXPECT_EQ(bytesOf(std::string("kept.exe") + '\0'), stored);
  EXPECT_EQ(host::registryDump().find("SoftWare"), std::string::npos) << host::registryDump();
}

TEST_F(RunOnceTest, DoesNothingMoreWhenTheKeyCannotBeCreated) {
  host::failRegistryOpen(runOnceKey);
  writeRunOnceCommand("control.exe desk.cpl, @0,0");
  EXPECT_EQ(1u, host::journalCalls().size());
  EXPECT_FALSE(host::registryValue(runOnceKey, "", nullptr, nullptr));
}

TEST_F(RunOnceTest, AWriteThatFailsStillClosesTheKey) {
  host::refuseRegistryWrite(runOnceKey);
  writeRunOnceCommand("control.exe desk.cpl, @0,0");
  EXPECT_EQ(1u, host::journalCalls("RegCloseKey").size());
}

}  // namespace
