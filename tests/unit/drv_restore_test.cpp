#include <stdlib.h>

#include <map>
#include <string>
#include <vector>

#include "drivertools/restore/drv_restore_run.h"
#include "drivertools/restore/restore_info_dialog.h"
#include "drivertools/shared/driver_switch_log.h"
#include "drv_program_test_support.h"

namespace {

using namespace drv_test;

const std::string d = displayClassKey;
const std::string runOnce = "HKCU\\SoftWare\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::string runOnceCommand("control.exe desk.cpl, @0,3", 27);
const char noteCaption[] = "NOTE";
const char restartCaption[] = "Restart Windows Options";
const char restartText[] =
    "You need to restart Windows so that the changes you make will take effect. Restart Windows "
    "now(Yes/No)?";
const WORD restoreInfoTemplate = 102;

std::string noteText(const std::string& driver) {
  return "Your current display driver is not ombrix driver but " + driver +
         ", do you want to continue?";
}

class DrvRestoreTest : public DrvProgramTest {
 protected:
  void SetUp() override {
    DrvProgramTest::SetUp();
    module = host::fakeModule(3);
  }
  // The user presses OK on the information dialog.
  void scriptOk() { host::scriptDialog(restoreInfoTemplate, {host::pressEnter()}); }
  int run(const std::string& tail) { return runDrvRestore(module, tail.c_str()); }
  HINSTANCE module = nullptr;
};

TEST_F(DrvRestoreTest, RunMakesItsCallsInOrder) {
  leaf("0000", "obxvga95.drv");
  host::writeProfileFile(
      "system.ini", logSection("2", {{"vga.drv", "ombrix.drv"}, {"ombrix.drv", "obxvga95.drv"}}));
  scriptOk();
  host::scriptMessageBoxAnswer(IDYES);  // NOTE
  host::scriptMessageBoxAnswer(IDYES);  // restart
  EXPECT_EQ(1, run("vga.drv"));

  // The dialog before the count; NOTE before RunOnce; RunOnce before the
  // Display class key; entries newest first, OriDrv before OBXDrv; the
  // reset after the walk; the restart question last.
  const std::string dialog = "0x00010004";
  const std::vector<std::string> expected = {
      "DialogBoxParamA(0x01000000, 102, 0x00000000, procedure, 0)",  // host::fakeModule(3)
      "EndDialog(" + dialog + ", 0)",
      "GetPrivateProfileIntA(\"OMBRIX\", \"RestoreNum\", 0, \"system.ini\") = 2",
      "MessageBoxA(0x00000000, \"" + noteText("vga.drv") + "\", \"NOTE\", 0x00000004)",
      "RegCreateKeyA(HKCU, \"SoftWare\\Microsoft\\Windows\\CurrentVersion\\RunOnce\" -> " +
          runOnce + ") = ERROR_SUCCESS",
      "RegSetValueExA(" + runOnce + ", \"\", 0, REG_SZ, 27) = ERROR_SUCCESS",
      "RegCloseKey(" + runOnce + ") = ERROR_SUCCESS",
      "GetPrivateProfileStringA(\"OMBRIX\", NULL, NULL, buffer, 4096, \"system.ini\") = 43 "
      "\"RestoreNum\\0OriDrv1\\0OBXDrv1\\0OriDrv2\\0OBXDrv2\\0\"",
      "RegOpenKeyExA(HKLM, \"System\\CurrentControlSet\\Services\\Class\\Display\", 0, KEY_READ "
      "-> " +
          d + ") = ERROR_SUCCESS",
      "RegEnumKeyExA(" + d + ", 0, name, 20->4 \"0000\", NULL, NULL, NULL, NULL) = ERROR_SUCCESS",
      "RegOpenKeyExA(" + d + ", \"0000\", 0, KEY_READ -> " + d + "\\0000) = ERROR_SUCCESS",
      "RegEnumKeyExA(" + d +
          "\\0000, 0, name, 20->20, NULL, NULL, NULL, NULL) = ERROR_NO_MORE_ITEMS",
      "RegQueryValueExA(" + d + "\\0000, \"drv\", NULL, REG_SZ, data, 20->13) = ERROR_SUCCESS",
      "GetPrivateProfileStringA(\"OMBRIX\", \"OriDrv2\", NULL, buffer, 20, \"system.ini\") = 10 "
      "\"ombrix.drv\"",
      "GetPrivateProfileStringA(\"OMBRIX\", \"OBXDrv2\", NULL, buffer, 20, \"system.ini\") = 12 "
      "\"obxvga95.drv\"",
      "RegSetValueExA(" + d + "\\0000, \"drv\", 0, REG_SZ, 20) = ERROR_SUCCESS",
      "RegCloseKey(" + d + "\\0000) = ERROR_SUCCESS",
      "RegEnumKeyExA(" + d + ", 1, name, 20->20, NULL, NULL, NULL, NULL) = ERROR_NO_MORE_ITEMS",
      "RegCloseKey(" + d + ") = ERROR_SUCCESS",
      "WritePrivateProfileStringA(\"OMBRIX\", \"RestoreNum\", \"0" + std::string(comment) +
          "\", \"system.ini\") = TRUE",
      "MessageBoxA(0x00000000, \"" + std::string(restartText) +
          "\", \"Restart Windows Options\", 0x00000004)",
      "ExitWindowsEx(0x00000002, 0)",
  };
  EXPECT_EQ(joinedLines(expected), joinedLines(host::journalCalls()));
  EXPECT_EQ("ombrix.drv", drvOf("0000"));
  for (const host::JournalRecord& record : host::journalRecords()) {
    if (record.call.rfind("RegSetValueExA(" + d, 0) == 0) {
      EXPECT_EQ(nameField("ombrix.drv"), record.data) << "the whole 20-byte field";
    }
  }
  ASSERT_EQ(1u, host::dialogRuns().size());
  EXPECT_EQ(module, host::dialogRuns()[0].module);
}

TEST_F(DrvRestoreTest, DialogEndsOnlyOnOkOrClose) {
  const struct {
    const char* description;
    UINT message;
    WPARAM wParam;
    INT_PTR returned;
    bool ends;
  } cases[] = {
      {"WM_INITDIALOG", WM_INITDIALOG, 0, FALSE, false},
      {"IDCANCEL", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), FALSE, false},
      {"OK with notification code 1", WM_COMMAND, MAKEWPARAM(IDOK, 1), FALSE, false},
      {"another control", WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), FALSE, false},
      {"WM_DESTROY", WM_DESTROY, 0, FALSE, false},
      {"OK", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), TRUE, true},
      {"WM_CLOSE", WM_CLOSE, 0, TRUE, true},
  };
  for (const auto& row : cases) {
    HWND dialog = host::createWindow(module);
    EXPECT_EQ(row.returned, restoreInfoDialogProcedure(dialog, row.message, row.wParam, 0))
        << row.description;
    EXPECT_EQ(row.ends, host::dialogEnded(dialog)) << row.description;
    if (row.ends) {
      EXPECT_EQ(0, host::dialogEndResult(dialog)) << row.description;
    }
  }
}

TEST_F(DrvRestoreTest, RunGoesOnOnlyOnceTheDialogHasEnded) {
  host::writeProfileFile("system.ini", logSection("1", {{"vga.drv", "ombrix.drv"}}));
  leaf("0000", "ombrix.drv");
  host::scriptDialog(restoreInfoTemplate,
                     {host::pressEscape(), {WM_COMMAND, MAKEWPARAM(IDOK, 1), 0}, {WM_CLOSE, 0, 0}});
  EXPECT_EQ(1, run("ombrix.drv"));
  ASSERT_EQ(1u, host::dialogRuns().size());
  const host::DialogRun& shown = host::dialogRuns()[0];
  EXPECT_EQ(restoreInfoTemplate, shown.templateId);
  EXPECT_EQ(nullptr, shown.owner);
  EXPECT_EQ(0, shown.initParam);
  ASSERT_EQ(4u, shown.messages.size()) << "WM_INITDIALOG, the three actions";
  EXPECT_EQ(static_cast<UINT>(WM_CLOSE), shown.messages[3].message);
  const std::vector<std::string> calls = host::journalCalls();
  EXPECT_LT(firstIndexOf(calls, "EndDialog"), firstIndexOf(calls, "GetPrivateProfileIntA"));
}

struct RestoreCase {
  const char* description;
  std::vector<std::pair<std::string, std::string>> leaves;  // relative key, drv
  std::string iniBefore;                                    // "<none>": no file
  std::string tail;
  std::vector<int> answers;           // to the message boxes, in order
  std::vector<std::string> captions;  // of the message boxes shown
  std::vector<std::string> drvAfter;  // per leaf
  std::string iniAfter;               // "": as before with RestoreNum=0
  int exitCode;
  size_t restarts;
};

const std::string chain =
    logSection("2", {{"vga.drv", "ombrix.drv"}, {"ombrix.drv", "obxvga95.drv"}});

const RestoreCase restoreCases[] = {
    {"the two-entry chain takes each leaf back one switch",
     {{"0000", "obxvga95.drv"}, {"0001", "ombrix.drv"}, {"0002", "other.drv"}},
     chain,
     "obxvga95.drv",
     {IDNO},
     {restartCaption},
     {"ombrix.drv", "vga.drv", "other.drv"},
     "",
     1,
     0},
    {"the maker's driver in mixed case asks nothing",
     {{"0000", "ombrix.drv"}},
     chain,
     "OBXVga95.DRV",
     {IDYES},
     {restartCaption},
     {"vga.drv"},
     "",
     1,
     1},
    {"the maker's driver with a trailing blank is asked about",
     {{"0000", "ombrix.drv"}},
     chain,
     "ombrix.drv ",
     {IDOK, IDYES},
     {noteCaption, restartCaption},
     {"vga.drv"},
     "",
     1,
     1},
    {"NOTE answered No writes nothing",
     {{"0000", "ombrix.drv"}},
     chain,
     "vga.drv",
     {IDNO},
     {noteCaption},
     {"ombrix.drv"},
     chain,
     0,
     0},
    {"no leaf matches: the count is still reset, no restart offered",
     {{"0000", "other.drv"}},
     chain,
     "ombrix.drv",
     {},
     {},
     {"other.drv"},
     "",
     0,
     0},
    {"count 0: nothing after the dialog",
     {{"0000", "ombrix.drv"}},
     logSection("0", {{"vga.drv", "ombrix.drv"}}),
     "ombrix.drv",
     {},
     {},
     {"ombrix.drv"},
     logSection("0", {{"vga.drv", "ombrix.drv"}}),
     0,
     0},
    {"no log at all",
     {{"0000", "ombrix.drv"}},
     "<none>",
     "ombrix.drv",
     {},
     {},
     {"ombrix.drv"},
     "<none>",
     0,
     0},
    {"a count that reads negative",
     {{"0000", "ombrix.drv"}},
     logSection("4294967295", {{"vga.drv", "ombrix.drv"}}),
     "ombrix.drv",
     {},
     {},
     {"ombrix.drv"},
     logSection("4294967295", {{"vga.drv", "ombrix.drv"}}),
     0,
     0},
    {"a missing replaced name passes to the next older entry",
     {{"0000", "ombrix.drv"}},
     "[OMBRIX]\r\nRestoreNum=2\r\nOriDrv1=vga.drv\r\nOBXDrv1=ombrix.drv\r\nOBXDrv2=ombrix.drv\r\n",
     "ombrix.drv",
     {IDNO},
     {restartCaption},
     {"vga.drv"},
     "[OMBRIX]\r\nRestoreNum=0" + std::string(comment) +
         "\r\nOriDrv1=vga.drv\r\nOBXDrv1=ombrix.drv\r\nOBXDrv2=ombrix.drv\r\n",
     1,
     0},
    {"an empty installed name passes to the next older entry",
     {{"0000", "ombrix.drv"}},
     "[OMBRIX]\r\nRestoreNum=2\r\nOriDrv1=vga.drv\r\nOBXDrv1=ombrix.drv\r\nOriDrv2=s3.drv\r\n"
     "OBXDrv2=\r\n",
     "ombrix.drv",
     {IDNO},
     {restartCaption},
     {"vga.drv"},
     "[OMBRIX]\r\nRestoreNum=0" + std::string(comment) +
         "\r\nOriDrv1=vga.drv\r\nOBXDrv1=ombrix.drv\r\nOriDrv2=s3.drv\r\nOBXDrv2=\r\n",
     1,
     0},
    {"entries above the count are not consulted",
     {{"0000", "obxvga95.drv"}},
     logSection("1", {{"vga.drv", "ombrix.drv"}, {"ombrix.drv", "obxvga95.drv"}}),
     "ombrix.drv",
     {},
     {},
     {"obxvga95.drv"},
     "",
     0,
     0},
    {"the installed name matches without regard to A-Z case",
     {{"0000", "OMBRIX.DRV"}},
     chain,
     "ombrix.drv",
     {IDNO},
     {restartCaption},
     {"vga.drv"},
     "",
     1,
     0},
};

// system.ini as it was with RestoreNum reset.
std::string withCountReset(const std::string& before) {
  const std::string key = "RestoreNum=";
  const size_t start = before.find(key) + key.size();
  const size_t end = before.find("\r\n", start);
  return before.substr(0, start) + "0" + comment + before.substr(end);
}

TEST_F(DrvRestoreTest, TakesLeavesBackByTheNewestMatchingEntry) {
  for (const RestoreCase& row : restoreCases) {
    host::resetHost();
    for (const auto& entry : row.leaves) leaf(entry.first, entry.second);
    if (row.iniBefore != "<none>") host::writeProfileFile("system.ini", row.iniBefore);
    for (int answer : row.answers) host::scriptMessageBoxAnswer(answer);
    scriptOk();
    EXPECT_EQ(row.exitCode, run(row.tail)) << row.description;
    for (size_t i = 0; i < row.leaves.size(); ++i) {
      EXPECT_EQ(row.drvAfter[i], drvOf(row.leaves[i].first))
          << row.description << ": " << row.leaves[i].first;
    }
    const std::string iniAfter =
        row.iniAfter.empty() ? withCountReset(row.iniBefore) : row.iniAfter;
    EXPECT_EQ(iniAfter, systemIni()) << row.description;
    std::vector<std::string> captions;
    for (const host::MessageBoxRecord& box : host::messageBoxes()) {
      captions.push_back(box.caption);
      EXPECT_EQ(nullptr, box.owner) << row.description;
      EXPECT_EQ(static_cast<UINT>(MB_YESNO), box.type) << row.description;
      if (box.caption == restartCaption) {
        EXPECT_EQ(restartText, box.text) << row.description;
      }
      if (box.caption == noteCaption) {
        EXPECT_EQ(noteText(row.tail), box.text) << row.description;
      }
    }
    EXPECT_EQ(joinedLines(row.captions), joinedLines(captions)) << row.description;
    EXPECT_EQ(row.restarts, host::exitWindowsRequests().size()) << row.description;
    for (const host::ExitWindowsRequest& request : host::exitWindowsRequests()) {
      EXPECT_EQ(static_cast<UINT>(EWX_REBOOT), request.flags);
      EXPECT_EQ(0u, request.reserved);
    }
    const bool wroteAnything = !host::journalCalls("RegSetValueExA").empty() ||
                               !host::journalCalls("RegCreateKeyA").empty() ||
                               !host::journalCalls("WritePrivateProfileStringA").empty();
    const bool reachedTheWalk = !host::journalCalls("RegOpenKeyExA").empty();
    EXPECT_EQ(reachedTheWalk, wroteAnything) << row.description;
    EXPECT_EQ(reachedTheWalk ? runOnceCommand : std::string("<none>"), runOnceValue())
        << row.description;
    EXPECT_EQ(1u, host::dialogRuns().size()) << row.description;
    EXPECT_EQ(0, host::openKeyCount()) << row.description;
  }
}

TEST_F(DrvRestoreTest, EmptyTailShowsNothingAndTouchesNothing) {
  host::writeProfileFile("system.ini", chain);
  leaf("0000", "ombrix.drv");
  EXPECT_EQ(0, run(""));
  EXPECT_EQ(joinedLines({}), joinedLines(host::journalCalls()));
}

TEST_F(DrvRestoreTest, NoDisplayClassKeyLeavesTheCount) {
  host::writeProfileFile("system.ini", chain);
  scriptOk();
  EXPECT_EQ(0, run("ombrix.drv"));
  EXPECT_EQ(chain, systemIni());
  EXPECT_EQ(runOnceCommand, runOnceValue());
  EXPECT_TRUE(host::messageBoxes().empty());
}

TEST_F(DrvRestoreTest, FailedWriteTriesTheNextOlderEntry) {
  host::writeProfileFile("system.ini",
                         logSection("2", {{"vga.drv", "ombrix.drv"}, {"s3.drv", "ombrix.drv"}}));
  leaf("0000", "ombrix.drv");
  host::refuseRegistryWrite(under("0000"));
  scriptOk();
  EXPECT_EQ(0, run("ombrix.drv"));
  std::vector<std::string> steps;
  for (const std::string& call : host::journalCalls()) {
    if (call.find("\"OriDrv") != std::string::npos || call.find("\"OBXDrv") != std::string::npos ||
        call.rfind("RegSetValueExA(" + d, 0) == 0) {
      steps.push_back(call.substr(0, call.find(')')));
    }
  }
  const std::vector<std::string> expected = {
      "GetPrivateProfileStringA(\"OMBRIX\", \"OriDrv2\", NULL, buffer, 20, \"system.ini\"",
      "GetPrivateProfileStringA(\"OMBRIX\", \"OBXDrv2\", NULL, buffer, 20, \"system.ini\"",
      "RegSetValueExA(" + d + "\\0000, \"drv\", 0, REG_SZ, 20",
      "GetPrivateProfileStringA(\"OMBRIX\", \"OriDrv1\", NULL, buffer, 20, \"system.ini\"",
      "GetPrivateProfileStringA(\"OMBRIX\", \"OBXDrv1\", NULL, buffer, 20, \"system.ini\"",
      "RegSetValueExA(" + d + "\\0000, \"drv\", 0, REG_SZ, 20",
  };
  EXPECT_EQ(joinedLines(expected), joinedLines(steps));
  EXPECT_EQ("ombrix.drv", drvOf("0000"));
  EXPECT_TRUE(host::messageBoxes().empty()) << "no restart offered";
  EXPECT_NE(std::string::npos, systemIni().find("RestoreNum=0" + std::string(comment)));
}

TEST_F(DrvRestoreTest, SecondRunEndsAfterTheDialog) {
  host::writeProfileFile("system.ini", chain);
  leaf("0000", "ombrix.drv");
  scriptOk();
  host::scriptMessageBoxAnswer(IDNO);
  EXPECT_EQ(1, run("ombrix.drv"));
  const std::string afterFirst = systemIni();
  host::clearJournal();
  scriptOk();
  EXPECT_EQ(0, run("ombrix.drv"));
  EXPECT_EQ(afterFirst, systemIni());
  EXPECT_EQ("vga.drv", drvOf("0000"));
  EXPECT_EQ(journalFunctions(),
            std::vector<std::string>({"DialogBoxParamA", "EndDialog", "GetPrivateProfileIntA"}));
}

TEST_F(DrvRestoreTest, ConfirmationHoldsAWholeLongTail) {
  host::writeProfileFile("system.ini", chain);
  scriptOk();
  host::scriptMessageBoxAnswer(IDNO);
  std::string tail(64 * 1024, 'x');
  tail += "-end";
  EXPECT_EQ(0, run(tail));
  ASSERT_EQ(1u, host::messageBoxes().size());
  EXPECT_EQ(noteText(tail), host::messageBoxes()[0].text);
}

// --- A hand-edited count far above the entries -----------------------------

size_t entryReads() {
  size_t reads = 0;
  for (const std::string& call : host::journalCalls("GetPrivateProfileStringA"))
    reads += call.find("NULL, NULL, buffer") == std::string::npos ? 1 : 0;
  return reads;
}

TEST_F(DrvRestoreTest, HugeCountScansOnlyTheEntriesPresent) {
  host::writeProfileFile("system.ini", logSection("2147483647", {{"vga.drv", "ombrix.drv"},
                                                                 {"s3.drv", "obxvga95.drv"}}));
  leaf("0000", "ombrix.drv");
  leaf("0001", "other.drv");
  scriptOk();
  host::scriptMessageBoxAnswer(IDNO);
  EXPECT_EQ(1, run("ombrix.drv"));
  EXPECT_EQ("vga.drv", drvOf("0000"));
  EXPECT_EQ("other.drv", drvOf("0001"));
  EXPECT_EQ(8u, entryReads()) << "two entries, two names, two leaves";
}

// The scan from the highest entry present gives what the scan from the
// count gives, for every log: compared with the plain scan, done here
// through the log's own reads, over generated logs whose key names vary
// in case, carry leading zeros or stand alone.
TEST_F(DrvRestoreTest, ShortenedScanMatchesThePlainScan) {
  const char* const names[] = {"vga.drv", "ombrix.drv", "obxvga95.drv", "OMBRIX.DRV", "s3.drv"};
  const char* const prefixes[] = {"OriDrv", "OBXDrv", "oridrv", "OBXDRV", "OriDrv0", "OBXDrv0"};
  srand(6);
  for (int trial = 0; trial < 300; ++trial) {
    host::resetHost();
    const int highest = rand() % 12;
    const int count = rand() % 16 + 1;
    std::string ini = "[OMBRIX]\r\nRestoreNum=" + std::to_string(count) + comment + "\r\n";
    for (int n = 1; n <= highest; ++n) {
      for (int name = 0; name < 2; ++name) {
        if (rand() % 5 == 0) continue;  // a missing name
        ini += std::string(prefixes[rand() % 6]) + std::to_string(n) + "=" + names[rand() % 5] +
               "\r\n";
      }
    }
    host::writeProfileFile("system.ini", ini);
    std::vector<std::string> leaves;
    for (int i = 0; i < 4; ++i) {
      leaves.push_back(names[rand() % 5]);
      leaf("000" + std::to_string(i), leaves.back());
    }
    // The plain scan: from the count down to 1, newest match wins.
    std::vector<std::string> expected = leaves;
    for (std::string& value : expected) {
      for (int k = count; k >= 1; --k) {
        const DriverSwitchLog::LogEntry entry = DriverSwitchLog::readEntry(k);
        if (entry.replacedLength != 0 && entry.installedLength != 0 &&
            sameDriverName(value.c_str(), entry.installedDriver.text)) {
          value = entry.replacedDriver.text;
          break;
        }
      }
    }
    scriptOk();
    run("ombrix.drv");
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(expected[i], drvOf("000" + std::to_string(i))) << "trial " << trial << "\n" << ini;
    }
  }
}

}  // namespace
