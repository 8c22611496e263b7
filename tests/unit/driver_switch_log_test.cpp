#include "drivertools/shared/driver_switch_log.h"

#include <string.h>

#include <string>
#include <vector>

#include "driver_tools_test_support.h"

namespace {

using DriverSwitchLog::LogEntry;

const char comment[] = "  ;Do not modify this value manually";

std::string systemIni() {
  std::string text;
  EXPECT_TRUE(host::readProfileFile("system.ini", &text));
  return text;
}

class SwitchLogTest : public DriverToolsTest {};

TEST_F(SwitchLogTest, CountCommentIsTwoBlanksASemicolonAndTheWords) {
  EXPECT_STREQ(comment, DriverSwitchLog::countComment);
}

struct CountCase {
  const char* description;
  bool fileExists;
  std::string content;
  int count;
};

TEST_F(SwitchLogTest, ReadCountTakesTheNumberTheValueBeginsWith) {
  const std::string longLine(64 * 1024, 'x');
  const CountCase cases[] = {
      {"no file", false, "", 0},
      {"empty file", true, "", 0},
      {"no [OMBRIX] section", true, "[boot]\r\nRestoreNum=4\r\n", 0},
      {"no RestoreNum", true, "[OMBRIX]\r\nOriDrv1=vga.drv\r\n", 0},
      {"count 0 with comment", true, "[OMBRIX]\r\nRestoreNum=0" + std::string(comment) + "\r\n", 0},
      {"count 3 with comment", true, "[OMBRIX]\r\nRestoreNum=3" + std::string(comment) + "\r\n", 3},
      {"count 12, no line end", true, "[OMBRIX]\r\nRestoreNum=12", 12},
      {"names of other case", true, "[ombrix]\r\nrestorenum=5\r\n", 5},
      {"blanks around", true, "  [OMBRIX]  \r\n  RestoreNum  =  7 ;x  \r\n", 7},
      {"no digit first", true, "[OMBRIX]\r\nRestoreNum=;3\r\n", 0},
      {"a sign", true, "[OMBRIX]\r\nRestoreNum=-2\r\n", 0},
      {"commented out", true, "[OMBRIX]\r\n;RestoreNum=9\r\n", 0},
      {"section twice", true, "[OMBRIX]\r\nRestoreNum=2\r\n[OMBRIX]\r\nRestoreNum=8\r\n", 2},
      {"key twice", true, "[OMBRIX]\r\nRestoreNum=2\r\nRestoreNum=8\r\n", 2},
      {"key only in the second section", true, "[OMBRIX]\r\n[OMBRIX]\r\nRestoreNum=8\r\n", 0},
      {"LF line ends", true, "[boot]\nx=1\n[OMBRIX]\nRestoreNum=6\n", 6},
      {"CR line ends", true, "[boot]\rx=1\r[OMBRIX]\rRestoreNum=6\r", 6},
      {"64 KiB lines", true,
       longLine + "\r\n[OMBRIX]\r\n" + longLine + "=1\r\nRestoreNum=4" + longLine, 4},
      {"binary bytes", true,
       std::string("\x00\xFF\x1A[OMBRIX]\r\n\x80\x00=\x01\r\n", 19) +
           "[OMBRIX]\r\nRestoreNum=5\r\n",
       5},
  };
  for (const CountCase& row : cases) {
    host::resetHost();
    if (row.fileExists) host::writeProfileFile("system.ini", row.content);
    EXPECT_EQ(row.count, DriverSwitchLog::readCount()) << row.description;
    ASSERT_EQ(1u, host::journalCalls().size());
    EXPECT_EQ("GetPrivateProfileIntA(\"OMBRIX\", \"RestoreNum\", 0, \"system.ini\") = " +
                  std::to_string(row.count),
              host::journalCalls()[0]);
    EXPECT_EQ(row.fileExists, host::profileFileExists("system.ini")) << row.description;
    if (row.fileExists) {
      EXPECT_EQ(row.content, systemIni()) << row.description;
    }
  }
}

TEST_F(SwitchLogTest, RecordSwitchIntoAMissingFileWritesTheCountThenTheTwoNames) {
  DriverSwitchLog::recordSwitch(1, "vga.drv", "ombrix.drv");
  EXPECT_EQ(
      joinedLines({
          "WritePrivateProfileStringA(\"OMBRIX\", \"RestoreNum\", \"1" + std::string(comment) +
              "\", \"system.ini\") = TRUE",
          "WritePrivateProfileStringA(\"OMBRIX\", \"OriDrv1\", \"vga.drv\", \"system.ini\") = TRUE",
          "WritePrivateProfileStringA(\"OMBRIX\", \"OBXDrv1\", \"ombrix.drv\", \"system.ini\") = "
          "TRUE",
      }),
      joinedLines(host::journalCalls()));
  EXPECT_EQ("[OMBRIX]\r\nRestoreNum=1" + std::string(comment) +
                "\r\nOriDrv1=vga.drv\r\nOBXDrv1=ombrix.drv\r\n",
            systemIni());
}

TEST_F(SwitchLogTest, RecordSwitchLeavesEveryOtherLineAsItWas) {
  const std::string before =
      "; system.ini of this machine\r\n"
      "[boot]\r\n"
      "shell=Explorer.exe\r\n"
      "display.drv=pnpdrvr.drv ; set up by the installer\r\n"
      "\r\n"
      "[ombrix]\r\n"
      ";  switches are logged here\r\n"
      "RestoreNum = 1  ;Do not modify this value manually\r\n"
      "OriDrv1=vga.drv\r\n"
      "OBXDrv1=ombrix.drv\r\n"
      "OriDrv2=old.drv\r\n"
      "\r\n"
      "[386Enh]\r\n"
      "device=*vpicd\r\n";
  host::writeProfileFile("system.ini", before);
  DriverSwitchLog::recordSwitch(2, "ombrix.drv", "obxvga95.drv");
  EXPECT_EQ(
      "; system.ini of this machine\r\n"
      "[boot]\r\n"
      "shell=Explorer.exe\r\n"
      "display.drv=pnpdrvr.drv ; set up by the installer\r\n"
      "\r\n"
      "[ombrix]\r\n"
      ";  switches are logged here\r\n"
      "RestoreNum=2  ;Do not modify this value manually\r\n"
      "OriDrv1=vga.drv\r\n"
      "OBXDrv1=ombrix.drv\r\n"
      "OriDrv2=ombrix.drv\r\n"
      "OBXDrv2=obxvga95.drv\r\n"
      "\r\n"
      "[386Enh]\r\n"
      "device=*vpicd\r\n",
      systemIni());
}

TEST_F(SwitchLogTest, ANewSectionGoesAtTheEndInTheFileOwnLineEnds) {
  host::writeProfileFile("system.ini", "[boot]\nshell=Explorer.exe");
  DriverSwitchLog::recordSwitch(1, "vga.drv", "ombrix.drv");
  EXPECT_EQ("[boot]\nshell=Explorer.exe\n[OMBRIX]\nRestoreNum=1" + std::string(comment) +
                "\nOriDrv1=vga.drv\nOBXDrv1=ombrix.drv\n",
            systemIni());
}

TEST_F(SwitchLogTest, ResetCountKeepsTheEntriesAndTheNextSwitchReplacesOnlyEntryOne) {
  DriverSwitchLog::recordSwitch(1, "vga.drv", "ombrix.drv");
  DriverSwitchLog::recordSwitch(2, "ombrix.drv", "obxvga95.drv");
  DriverSwitchLog::resetCount();
  const std::string afterReset = "[OMBRIX]\r\nRestoreNum=0" + std::string(comment) +
                                 "\r\nOriDrv1=vga.drv\r\nOBXDrv1=ombrix.drv\r\n"
                                 "OriDrv2=ombrix.drv\r\nOBXDrv2=obxvga95.drv\r\n";
  EXPECT_EQ(afterReset, systemIni());
  EXPECT_EQ(0, DriverSwitchLog::readCount());

  DriverSwitchLog::recordSwitch(1, "S3.DRV", "ombrix.drv");
  EXPECT_EQ("[OMBRIX]\r\nRestoreNum=1" + std::string(comment) +
                "\r\nOriDrv1=S3.DRV\r\nOBXDrv1=ombrix.drv\r\n"
                "OriDrv2=ombrix.drv\r\nOBXDrv2=obxvga95.drv\r\n",
            systemIni());
}

TEST_F(SwitchLogTest, EntriesTenAndAboveUseTheirNumberWithoutLeadingZeros) {
  DriverSwitchLog::recordSwitch(10, "vga.drv", "ombrix.drv");
  DriverSwitchLog::recordSwitch(12, "ombrix.drv", "obxvga95.drv");
  EXPECT_EQ("[OMBRIX]\r\nRestoreNum=12" + std::string(comment) +
                "\r\nOriDrv10=vga.drv\r\nOBXDrv10=ombrix.drv\r\n"
                "OriDrv12=ombrix.drv\r\nOBXDrv12=obxvga95.drv\r\n",
            systemIni());
  EXPECT_EQ(12, DriverSwitchLog::readCount());
  host::clearJournal();
  LogEntry entry = DriverSwitchLog::readEntry(10);
  EXPECT_STREQ("vga.drv", entry.replacedDriver.text);
  EXPECT_EQ(7u, entry.replacedLength);
  EXPECT_STREQ("ombrix.drv", entry.installedDriver.text);
  EXPECT_EQ(10u, entry.installedLength);
  EXPECT_EQ(
      joinedLines({
          "GetPrivateProfileStringA(\"OMBRIX\", \"OriDrv10\", NULL, buffer, 20, \"system.ini\") "
          "= 7 \"vga.drv\"",
          "GetPrivateProfileStringA(\"OMBRIX\", \"OBXDrv10\", NULL, buffer, 20, \"system.ini\") "
          "= 10 \"ombrix.drv\"",
      }),
      joinedLines(host::journalCalls()));
}

struct EntryCase {
  const char* description;
  bool fileExists;
  std::string content;
  std::string replaced;
  std::string installed;
};

TEST_F(SwitchLogTest, ReadEntryGivesAtMost19CharactersAndEmptyNamesForMissingKeys) {
  const std::string longLine(64 * 1024, 'y');
  const EntryCase cases[] = {
      {"no file", false, "", "", ""},
      {"no section", true, "[boot]\r\nOriDrv1=vga.drv\r\n", "", ""},
      {"never written", true, "[OMBRIX]\r\nRestoreNum=1\r\nOriDrv2=a.drv\r\nOBXDrv2=b.drv\r\n", "",
       ""},
      {"only the installed name", true, "[OMBRIX]\r\nOBXDrv1=ombrix.drv\r\n", "", "ombrix.drv"},
      {"empty replaced name", true, "[OMBRIX]\r\nOriDrv1=\r\nOBXDrv1=ombrix.drv\r\n", "",
       "ombrix.drv"},
      {"value whole with its ';' text", true, "[OMBRIX]\r\nOriDrv1=v.drv ;x\r\nOBXDrv1=o\r\n",
       "v.drv ;x", "o"},
      {"name of 25 characters", true, "[OMBRIX]\r\nOriDrv1=twenty-five-characters.dr\r\n",
       "twenty-five-charact", ""},
      {"64 KiB value", true, "[OMBRIX]\r\nOriDrv1=" + longLine + "\r\nOBXDrv1=ombrix.drv\r\n",
       std::string(19, 'y'), "ombrix.drv"},
      {"first of two keys", true, "[OMBRIX]\r\nOriDrv1=a.drv\r\nOriDrv1=b.drv\r\n", "a.drv", ""},
      {"CR line ends", true, "[OMBRIX]\rOriDrv1=a.drv\rOBXDrv1=b.drv\r", "a.drv", "b.drv"},
      {"LF line ends", true, "[OMBRIX]\nOriDrv1=a.drv\nOBXDrv1=b.drv", "a.drv", "b.drv"},
      {"a zero byte in the value", true, std::string("[OMBRIX]\r\nOriDrv1=a\0b\r\n", 23), "a", ""},
  };
  for (const EntryCase& row : cases) {
    host::resetHost();
    if (row.fileExists) host::writeProfileFile("system.ini", row.content);
    LogEntry entry;
    memset(&entry, 0x55, sizeof entry);
    entry = DriverSwitchLog::readEntry(1);
    EXPECT_EQ(nameField(row.replaced),
              std::vector<unsigned char>(entry.replacedDriver.text, entry.replacedDriver.text + 20))
        << row.description;
    EXPECT_EQ(row.replaced.size(), entry.replacedLength) << row.description;
    EXPECT_EQ(nameField(row.installed), std::vector<unsigned char>(entry.installedDriver.text,
                                                                   entry.installedDriver.text + 20))
        << row.description;
    EXPECT_EQ(row.installed.size(), entry.installedLength) << row.description;
    EXPECT_EQ(row.fileExists, host::profileFileExists("system.ini")) << row.description;
    if (row.fileExists) {
      EXPECT_EQ(row.content, systemIni()) << row.description;
    }
  }
}

}  // namespace
