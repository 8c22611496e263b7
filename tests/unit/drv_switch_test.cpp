#include <string>
#include <vector>

#include "drivertools/switch/drv_switch_run.h"
#include "drv_program_test_support.h"

namespace {

using namespace drv_test;

const std::string d = displayClassKey;
const std::string runOnce = "HKCU\\SoftWare\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class DrvSwitchTest : public DrvProgramTest {};

TEST_F(DrvSwitchTest, RunMakesItsCallsInOrder) {
  leaf("0000", "vga.drv");
  host::writeProfileFile("system.ini", logSection("1", {{"x.drv", "vga.drv"}}));
  EXPECT_EQ(0, runDrvSwitch("vga.drv"));

  // The count, the colour depth on a released screen DC, RunOnce before
  // the Display class key is opened, the walk, then one log entry.
  const std::vector<std::string> expected = {
      "GetPrivateProfileIntA(\"OMBRIX\", \"RestoreNum\", 0, \"system.ini\") = 1",
      "GetDC(0x00000000) = 0x00300004",
      "GetDeviceCaps(0x00300004, 12) = 8",
      "ReleaseDC(0x00000000, 0x00300004)",
      "RegCreateKeyA(HKCU, \"SoftWare\\Microsoft\\Windows\\CurrentVersion\\RunOnce\" -> " +
          runOnce + ") = ERROR_SUCCESS",
      "RegSetValueExA(" + runOnce + ", \"\", 0, REG_SZ, 27) = ERROR_SUCCESS",
      "RegCloseKey(" + runOnce + ") = ERROR_SUCCESS",
      "RegOpenKeyExA(HKLM, \"System\\CurrentControlSet\\Services\\Class\\Display\", 0, KEY_READ "
      "-> " +
          d + ") = ERROR_SUCCESS",
      "RegEnumKeyExA(" + d + ", 0, name, 20->4 \"0000\", NULL, NULL, NULL, NULL) = ERROR_SUCCESS",
      "RegOpenKeyExA(" + d + ", \"0000\", 0, KEY_READ -> " + d + "\\0000) = ERROR_SUCCESS",
      "RegEnumKeyExA(" + d +
          "\\0000, 0, name, 20->20, NULL, NULL, NULL, NULL) = ERROR_NO_MORE_ITEMS",
      "RegQueryValueExA(" + d + "\\0000, \"drv\", NULL, REG_SZ, data, 20->8) = ERROR_SUCCESS",
      "RegSetValueExA(" + d + "\\0000, \"drv\", 0, REG_SZ, 20) = ERROR_SUCCESS",
      "RegCloseKey(" + d + "\\0000) = ERROR_SUCCESS",
      "RegEnumKeyExA(" + d + ", 1, name, 20->20, NULL, NULL, NULL, NULL) = ERROR_NO_MORE_ITEMS",
      "RegCloseKey(" + d + ") = ERROR_SUCCESS",
      "WritePrivateProfileStringA(\"OMBRIX\", \"RestoreNum\", \"2" + std::string(comment) +
          "\", \"system.ini\") = TRUE",
      "WritePrivateProfileStringA(\"OMBRIX\", \"OriDrv2\", \"vga.drv\", \"system.ini\") = TRUE",
      "WritePrivateProfileStringA(\"OMBRIX\", \"OBXDrv2\", \"ombrix.drv\", \"system.ini\") = TRUE",
  };
  EXPECT_EQ(joinedLines(expected), joinedLines(host::journalCalls()));
  EXPECT_EQ(std::string("control.exe desk.cpl, @0,0", 27), runOnceValue());
  for (const host::JournalRecord& record : host::journalRecords()) {
    if (record.call.rfind("RegSetValueExA(" + d, 0) == 0) {
      EXPECT_EQ(nameField("ombrix.drv"), record.data) << "the whole 20-byte field";
    }
  }
}

TEST_F(DrvSwitchTest, ColourDepthChoosesTheDriver) {
  const struct {
    int bitsPerPixel;
    const char* driver;
  } cases[] = {
      {1, "obxvga95.drv"}, {4, "obxvga95.drv"}, {5, "ombrix.drv"},
      {8, "ombrix.drv"},   {16, "ombrix.drv"},  {32, "ombrix.drv"},
  };
  for (const auto& row : cases) {
    host::resetHost();
    host::setBitsPerPixel(row.bitsPerPixel);
    leaf("0000", "vga.drv");
    EXPECT_EQ(0, runDrvSwitch("vga.drv"));
    EXPECT_EQ(row.driver, drvOf("0000")) << row.bitsPerPixel << " bits per pixel";
    EXPECT_EQ(logSection("1", {{"vga.drv", row.driver}}), systemIni())
        << row.bitsPerPixel << " bits per pixel";
    EXPECT_EQ(0u, host::liveDeviceContextCount());
  }
}

struct SwitchCase {
  const char* description;
  std::vector<std::pair<std::string, std::string>> leaves;  // relative key, drv
  std::string iniBefore;                                    // "<none>": no file
  std::string tail;
  std::vector<std::string> drvAfter;  // per leaf
  std::string iniAfter;
};

const std::string twentyCharacters = "twenty-characters.dr";

const SwitchCase switchCases[] = {
    {"two matching leaves, one entry after count 2",
     {{"0000", "vga.drv"}, {"0001", "other.drv"}, {"0002\\Sub", "VGA.drv"}},
     logSection("2", {{"a.drv", "ombrix.drv"}, {"b.drv", "obxvga95.drv"}}),
     "vga.drv",
     {"ombrix.drv", "other.drv", "ombrix.drv"},
     logSection("3",
                {{"a.drv", "ombrix.drv"}, {"b.drv", "obxvga95.drv"}, {"vga.drv", "ombrix.drv"}})},
    {"no section: entry 1",
     {{"0000", "vga.drv"}},
     "[boot]\r\nshell=Explorer.exe\r\n",
     "vga.drv",
     {"ombrix.drv"},
     "[boot]\r\nshell=Explorer.exe\r\n" + logSection("1", {{"vga.drv", "ombrix.drv"}})},
    {"capitals match small letters; the tail is logged in its own case",
     {{"0000", "vga.drv"}},
     "<none>",
     "VGA.DRV",
     {"ombrix.drv"},
     logSection("1", {{"VGA.DRV", "ombrix.drv"}})},
    {"no folding beyond A to Z",
     {{"0000", "\xC4vga.drv"}},
     "<none>",
     "\xE4vga.drv",
     {"\xC4vga.drv"},
     "<none>"},
    {"a trailing blank matches only a value with it",
     {{"0000", "vga.drv"}, {"0001", "vga.drv "}},
     "<none>",
     "vga.drv ",
     {"vga.drv", "ombrix.drv"},
     // The stand-in, like Windows, keeps the value's trailing blank on write.
     "[OMBRIX]\r\nRestoreNum=1" + std::string(comment) +
         "\r\nOriDrv1=vga.drv \r\nOBXDrv1=ombrix.drv\r\n"},
    {"quotes are part of the name",
     {{"0000", "vga.drv"}, {"0001", "\"vga.drv\""}},
     "<none>",
     "\"vga.drv\"",
     {"vga.drv", "ombrix.drv"},
     logSection("1", {{"\"vga.drv\"", "ombrix.drv"}})},
    {"a tail of 20 characters matches no value",
     {{"0000", twentyCharacters.substr(0, 19)}},
     "<none>",
     twentyCharacters,
     {twentyCharacters.substr(0, 19)},
     "<none>"},
    {"a tail naming the new driver logs an entry of two equal names",
     {{"0000", "ombrix.drv"}},
     logSection("1", {{"vga.drv", "ombrix.drv"}}),
     "ombrix.drv",
     {"ombrix.drv"},
     logSection("2", {{"vga.drv", "ombrix.drv"}, {"ombrix.drv", "ombrix.drv"}})},
    {"a key with subkeys keeps its own drv",
     {{"0000", "vga.drv"}, {"0000\\Sub", "vga.drv"}},
     "<none>",
     "vga.drv",
     {"vga.drv", "ombrix.drv"},
     logSection("1", {{"vga.drv", "ombrix.drv"}})},
    {"nothing matches: the log stays",
     {{"0000", "other.drv"}},
     logSection("4", {}),
     "vga.drv",
     {"other.drv"},
     logSection("4", {})},
};

TEST_F(DrvSwitchTest, RewritesTheMatchingLeavesAndLogsOneEntry) {
  for (const SwitchCase& row : switchCases) {
    host::resetHost();
    for (const auto& entry : row.leaves) leaf(entry.first, entry.second);
    if (row.iniBefore != "<none>") host::writeProfileFile("system.ini", row.iniBefore);
    EXPECT_EQ(0, runDrvSwitch(row.tail.c_str())) << row.description;
    for (size_t i = 0; i < row.leaves.size(); ++i) {
      EXPECT_EQ(row.drvAfter[i], drvOf(row.leaves[i].first))
          << row.description << ": " << row.leaves[i].first;
    }
    EXPECT_EQ(row.iniAfter, systemIni()) << row.description;
    EXPECT_EQ(std::string("control.exe desk.cpl, @0,0", 27), runOnceValue()) << row.description;
    EXPECT_EQ(0, host::openKeyCount()) << row.description;
  }
}

TEST_F(DrvSwitchTest, EmptyTailDoesNothingAtAll) {
  leaf("0000", "vga.drv");
  EXPECT_EQ(0, runDrvSwitch(""));
  EXPECT_EQ(joinedLines({}), joinedLines(host::journalCalls()));
  EXPECT_EQ("vga.drv", drvOf("0000"));
}

TEST_F(DrvSwitchTest, NoDisplayClassKeyLeavesRunOnceAndTheLog) {
  host::createRegistryKey("HKLM\\System\\CurrentControlSet\\Services\\Class");
  host::writeProfileFile("system.ini", logSection("1", {{"vga.drv", "ombrix.drv"}}));
  EXPECT_EQ(0, runDrvSwitch("vga.drv"));
  EXPECT_EQ(std::string("control.exe desk.cpl, @0,0", 27), runOnceValue());
  EXPECT_EQ(logSection("1", {{"vga.drv", "ombrix.drv"}}), systemIni());
  EXPECT_TRUE(host::journalCalls("WritePrivateProfileStringA").empty());
}

TEST_F(DrvSwitchTest, RefusedWritesLogNothing) {
  leaf("0000", "vga.drv");
  host::refuseRegistryWrite(under("0000"));
  EXPECT_EQ(0, runDrvSwitch("vga.drv"));
  EXPECT_EQ("vga.drv", drvOf("0000"));
  EXPECT_EQ("<none>", systemIni());
  EXPECT_EQ(std::string("control.exe desk.cpl, @0,0", 27), runOnceValue());
}

TEST_F(DrvSwitchTest, OneRefusedWriteAmongTwoStillLogs) {
  leaf("0000", "vga.drv");
  leaf("0001", "vga.drv");
  host::refuseRegistryWrite(under("0000"));
  EXPECT_EQ(0, runDrvSwitch("vga.drv"));
  EXPECT_EQ("vga.drv", drvOf("0000"));
  EXPECT_EQ("ombrix.drv", drvOf("0001"));
  EXPECT_EQ(logSection("1", {{"vga.drv", "ombrix.drv"}}), systemIni());
}

TEST_F(DrvSwitchTest, SecondRunFindsNothingLeftToSwitch) {
  leaf("0000", "vga.drv");
  EXPECT_EQ(0, runDrvSwitch("vga.drv"));
  const std::string afterFirst = systemIni();
  host::clearJournal();
  EXPECT_EQ(0, runDrvSwitch("vga.drv"));
  EXPECT_EQ(afterFirst, systemIni());
  EXPECT_TRUE(host::journalCalls("WritePrivateProfileStringA").empty());
  EXPECT_EQ(1u, host::journalCalls("RegSetValueExA").size()) << "only the RunOnce value";
}

// A count that DrvRestore could never reach once raised (negative, or the
// largest int) starts the log afresh at entry 1; the old entries stay.
TEST_F(DrvSwitchTest, CorruptedCountStartsAFreshLog) {
  const struct {
    const char* stored;
    const char* entryKey;
    const char* countAfter;
  } cases[] = {
      {"4294967295", "1", "1"},                    // reads as -1
      {"2147483648", "1", "1"},                    // reads as the most negative int
      {"2147483647", "1", "1"},                    // the largest int cannot be raised
      {"2147483646", "2147483647", "2147483647"},  // the largest that can
  };
  for (const auto& row : cases) {
    host::resetHost();
    leaf("0000", "vga.drv");
    const std::string before = "[OMBRIX]\r\nRestoreNum=" + std::string(row.stored) + comment +
                               "\r\nOriDrv2=old.drv\r\nOBXDrv2=ombrix.drv\r\n";
    host::writeProfileFile("system.ini", before);
    EXPECT_EQ(0, runDrvSwitch("vga.drv"));
    const std::vector<std::string> writes = host::journalCalls("WritePrivateProfileStringA");
    ASSERT_EQ(3u, writes.size()) << row.stored;
    EXPECT_EQ("WritePrivateProfileStringA(\"OMBRIX\", \"RestoreNum\", \"" +
                  std::string(row.countAfter) + comment + "\", \"system.ini\") = TRUE",
              writes[0]);
    EXPECT_EQ("WritePrivateProfileStringA(\"OMBRIX\", \"OriDrv" + std::string(row.entryKey) +
                  "\", \"vga.drv\", \"system.ini\") = TRUE",
              writes[1]);
    EXPECT_NE(std::string::npos, systemIni().find("OriDrv2=old.drv")) << row.stored;
  }
}

}  // namespace
