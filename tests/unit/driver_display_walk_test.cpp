#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver_tools_test_support.h"
#include "drivertools/shared/display_key_walk.h"
#include "drivertools/shared/drv_value.h"

namespace {

struct LeafVisit {
  std::string key;
  std::vector<unsigned char> field;  // all 20 bytes handed over
};

std::vector<LeafVisit> visits;

void recordLeaf(HKEY leafKey, const DriverName& drvValue) {
  visits.push_back(LeafVisit{host::registryKeyName(leafKey),
                             std::vector<unsigned char>(drvValue.text, drvValue.text + 20)});
}

// What a program does: rewrite the leaves that hold "vga.drv".
void replaceVga(HKEY leafKey, const DriverName& drvValue) {
  recordLeaf(leafKey, drvValue);
  if (!sameDriverName(drvValue.text, "vga.drv")) return;
  DriverName ombrix;
  setDriverName(ombrix, "ombrix.drv");
  writeDrv(leafKey, ombrix);
}

std::vector<std::string> visitedKeys() {
  std::vector<std::string> keys;
  for (const LeafVisit& visit : visits) keys.push_back(visit.key);
  return keys;
}

std::string under(const std::string& relative) {
  return relative.empty() ? displayClassKey : std::string(displayClassKey) + "\\" + relative;
}

class DisplayWalkTest : public DriverToolsTest {
 protected:
  void SetUp() override {
    DriverToolsTest::SetUp();
    visits.clear();
  }
  void leaf(const std::string& relative, const std::string& drv) {
    host::setRegistryString(under(relative), "drv", drv);
  }
};

const char twentyCharacterName[] = "A-name-of-twenty-chr";   // 20 characters
const char nineteenCharacterName[] = "A-name-of-nineteen.";  // 19 characters

TEST_F(DisplayWalkTest, MakesExactlyTheCallsOfADepthFirstWalk) {
  leaf("0000", "vga.drv");
  leaf("0001\\Sub", "other.drv");
  ASSERT_TRUE(walkDisplayClass(replaceVga, EnumStop::NoMoreItems));

  const std::string d = under("");
  const std::vector<std::string> expected = {
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
      "RegEnumKeyExA(" + d + ", 1, name, 20->4 \"0001\", NULL, NULL, NULL, NULL) = ERROR_SUCCESS",
      "RegOpenKeyExA(" + d + ", \"0001\", 0, KEY_READ -> " + d + "\\0001) = ERROR_SUCCESS",
      "RegEnumKeyExA(" + d +
          "\\0001, 0, name, 20->3 \"Sub\", NULL, NULL, NULL, NULL) = ERROR_SUCCESS",
      "RegOpenKeyExA(" + d + "\\0001, \"Sub\", 0, KEY_READ -> " + d +
          "\\0001\\Sub) = ERROR_SUCCESS",
      "RegEnumKeyExA(" + d +
          "\\0001\\Sub, 0, name, 20->20, NULL, NULL, NULL, NULL) = ERROR_NO_MORE_ITEMS",
      "RegQueryValueExA(" + d + "\\0001\\Sub, \"drv\", NULL, REG_SZ, data, 20->10) = ERROR_SUCCESS",
      "RegCloseKey(" + d + "\\0001\\Sub) = ERROR_SUCCESS",
      "RegEnumKeyExA(" + d +
          "\\0001, 1, name, 20->20, NULL, NULL, NULL, NULL) = ERROR_NO_MORE_ITEMS",
      "RegCloseKey(" + d + "\\0001) = ERROR_SUCCESS",
      "RegEnumKeyExA(" + d + ", 2, name, 20->20, NULL, NULL, NULL, NULL) = ERROR_NO_MORE_ITEMS",
      "RegCloseKey(" + d + ") = ERROR_SUCCESS",
  };
  EXPECT_EQ(joinedLines(expected), joinedLines(host::journalCalls()));

  // The write is the whole field: the name, its zero, zeros to the end.
  for (const host::JournalRecord& record : host::journalRecords()) {
    if (record.call.rfind("RegSetValueExA", 0) == 0) {
      EXPECT_EQ(nameField("ombrix.drv"), record.data);
    }
  }
  std::vector<unsigned char> stored;
  DWORD type = 0;
  ASSERT_TRUE(host::registryValue(under("0000"), "drv", &type, &stored));
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(nameField("ombrix.drv"), stored);
}

TEST_F(DisplayWalkTest, ClosesEveryKeyItOpensExactlyOnce) {
  leaf("0000", "a.drv");
  leaf("0001\\x\\y", "b.drv");
  leaf("0001\\z", "c.drv");
  host::createRegistryKey(under("0002"));
  host::failRegistryOpen(under("0003"));
  ASSERT_TRUE(walkDisplayClass(recordLeaf, EnumStop::FirstFailure));

  std::vector<std::string> opened, closed;
  for (const std::string& call : host::journalCalls("RegOpenKeyExA")) {
    size_t arrow = call.find("-> ");
    if (arrow != std::string::npos)
      opened.push_back(call.substr(arrow + 3, call.find(')', arrow) - arrow - 3));
  }
  for (const std::string& call : host::journalCalls("RegCloseKey(")) {
    closed.push_back(call.substr(12, call.find(')') - 12));
  }
  std::sort(opened.begin(), opened.end());
  std::sort(closed.begin(), closed.end());
  EXPECT_EQ(7u, opened.size());  // the class key, 0000, 0001, x, y, z, 0002
  EXPECT_EQ(joinedLines(opened), joinedLines(closed));
}

struct StopCase {
  const char* description;
  void (*build)();
  std::vector<std::string> noMoreItems;  // leaves visited, in order
  std::vector<std::string> firstFailure;
};

void longNameFirst() {
  host::setRegistryString(under(""), "drv", "class.drv");
  host::setRegistryString(under(twentyCharacterName), "drv", "long.drv");
  host::setRegistryString(under("B"), "drv", "b.drv");
}
void longNameLater() {
  host::setRegistryString(under("0"), "drv", "zero.drv");
  host::setRegistryString(under(twentyCharacterName), "drv", "long.drv");
  host::setRegistryString(under("B"), "drv", "b.drv");
}
void nineteenCharacterNameFirst() {
  host::setRegistryString(under(nineteenCharacterName), "drv", "n.drv");
  host::setRegistryString(under("B"), "drv", "b.drv");
}
void subkeyWillNotOpen() {
  host::setRegistryString(under("0000"), "drv", "a.drv");
  host::setRegistryString(under("0001"), "drv", "locked.drv");
  host::failRegistryOpen(under("0001"));
  host::setRegistryString(under("0002"), "drv", "c.drv");
}
void keyWithSubkeysAndItsOwnDrv() {
  host::setRegistryString(under("0000"), "drv", "parent.drv");
  host::setRegistryString(under("0000\\Child"), "drv", "child.drv");
}
void classKeyWithoutSubkeys() { host::setRegistryString(under(""), "drv", "class.drv"); }
void enumerationDeniedAtIndexOne() {
  host::setRegistryString(under("0000"), "drv", "a.drv");
  host::setRegistryString(under("0001"), "drv", "b.drv");
  host::setRegistryString(under("0002"), "drv", "c.drv");
  host::failRegistryEnumeration(under(""), 1, ERROR_ACCESS_DENIED);
}
void enumerationFailsAtEveryIndex() {
  host::setRegistryString(under(""), "drv", "class.drv");
  host::setRegistryString(under("0000"), "drv", "a.drv");
  host::failRegistryEnumerationFrom(under(""), 0, ERROR_ACCESS_DENIED);
}

TEST_F(DisplayWalkTest, NoMoreItemsPassesOverFailuresAndFirstFailureEndsThere) {
  const std::string longKey = under(twentyCharacterName);
  const StopCase cases[] = {
      {"20-character subkey name at index 0", longNameFirst, {under("B")}, {under("")}},
      {"20-character subkey name at index 1",
       longNameLater,
       {under("0"), under("B")},
       {under("0")}},
      {"19-character subkey name",
       nineteenCharacterNameFirst,
       {under(nineteenCharacterName), under("B")},
       {under(nineteenCharacterName), under("B")}},
      {"subkey that will not open",
       subkeyWillNotOpen,
       {under("0000"), under("0002")},
       {under("0000"), under("0002")}},
      {"key with subkeys and its own drv",
       keyWithSubkeysAndItsOwnDrv,
       {under("0000\\Child")},
       {under("0000\\Child")}},
      {"Display class key without subkeys", classKeyWithoutSubkeys, {under("")}, {under("")}},
      {"enumeration denied at index 1",
       enumerationDeniedAtIndexOne,
       {under("0000"), under("0002")},
       {under("0000")}},
      {"enumeration fails at every index", enumerationFailsAtEveryIndex, {}, {under("")}},
  };
  for (const StopCase& row : cases) {
    for (EnumStop stop : {EnumStop::NoMoreItems, EnumStop::FirstFailure}) {
      host::resetHost();
      visits.clear();
      row.build();
      ASSERT_TRUE(walkDisplayClass(recordLeaf, stop));
      const std::vector<std::string>& expected =
          stop == EnumStop::NoMoreItems ? row.noMoreItems : row.firstFailure;
      EXPECT_EQ(joinedLines(expected), joinedLines(visitedKeys()))
          << row.description << (stop == EnumStop::NoMoreItems ? ", NoMoreItems" : ", FirstFailure")
          << "\n"
          << host::registryDump();
      EXPECT_EQ(0, host::openKeyCount()) << row.description;
    }
  }
}

struct DrvCase {
  const char* description;
  DWORD type;
  std::string bytes;
  bool examined;
  std::string field;  // the name the leaf action sees
};

TEST_F(DisplayWalkTest, ReadsDrvThroughATwentyByteFieldOfAnyType) {
  const DrvCase cases[] = {
      {"18 characters, 19 bytes", REG_SZ, std::string("eighteen-chars.drv") + '\0', true,
       "eighteen-chars.drv"},
      {"19 characters, 20 bytes", REG_SZ, std::string("nineteen-chars..drv") + '\0', true,
       "nineteen-chars..drv"},
      {"20 characters, 21 bytes", REG_SZ, std::string("twenty-characters.dr") + '\0', false, ""},
      {"20 bytes without a zero", REG_SZ, "twenty-characters.dr", false, ""},
      {"5 bytes without a zero", REG_SZ, "a.drv", true, "a.drv"},
      {"bytes after the zero", REG_SZ, std::string("a.drv\0junk", 10) + '\0', true, "a.drv"},
      {"empty", REG_SZ, "", true, ""},
      {"binary bytes of a name", REG_BINARY, std::string("vga.drv") + '\0', true, "vga.drv"},
      {"a DWORD", REG_DWORD, std::string("\x41\0\0\0", 4), true, "A"},
  };
  for (const DrvCase& row : cases) {
    host::resetHost();
    visits.clear();
    host::setRegistryValue(under("0000"), "drv", row.type, bytesOf(row.bytes));
    ASSERT_TRUE(walkDisplayClass(recordLeaf, EnumStop::NoMoreItems));
    ASSERT_EQ(row.examined ? 1u : 0u, visits.size()) << row.description;
    if (row.examined) {
      EXPECT_EQ(nameField(row.field), visits[0].field) << row.description;
    }
  }
}

TEST_F(DisplayWalkTest, PassesOverALeafWithoutDrv) {
  host::createRegistryKey(under("0000"));
  leaf("0001", "b.drv");
  ASSERT_TRUE(walkDisplayClass(recordLeaf, EnumStop::NoMoreItems));
  EXPECT_EQ(joinedLines({under("0001")}), joinedLines(visitedKeys()));
}

TEST_F(DisplayWalkTest, HandsEveryLeafWithTheSameNameOverWithItsOwnKey) {
  leaf("0000", "vga.drv");
  leaf("0001", "VGA.DRV");
  ASSERT_TRUE(walkDisplayClass(replaceVga, EnumStop::NoMoreItems));
  EXPECT_EQ(joinedLines({under("0000"), under("0001")}), joinedLines(visitedKeys()));
  EXPECT_EQ(2u, host::journalCalls("RegSetValueExA").size());
}

TEST_F(DisplayWalkTest, VisitsSubkeysInCaseInsensitiveOrderEachSubtreeFirst) {
  leaf("b\\2", "x.drv");
  leaf("B\\1", "x.drv");  // the same key as "b"
  leaf("a", "x.drv");
  leaf("C", "x.drv");
  leaf("_", "x.drv");  // '_' sorts after the letters folded to capitals
  ASSERT_TRUE(walkDisplayClass(recordLeaf, EnumStop::NoMoreItems));
  EXPECT_EQ(joinedLines({under("a"), under("b\\1"), under("b\\2"), under("C"), under("_")}),
            joinedLines(visitedKeys()));
}

TEST_F(DisplayWalkTest, ReturnsFalseAndDoesNothingElseWhenTheClassKeyWillNotOpen) {
  leaf("0000", "vga.drv");
  host::failRegistryOpen(under(""));
  EXPECT_FALSE(walkDisplayClass(recordLeaf, EnumStop::NoMoreItems));
  EXPECT_EQ(1u, host::journalCalls().size());
  EXPECT_TRUE(visits.empty());

  host::resetHost();
  EXPECT_FALSE(walkDisplayClass(recordLeaf, EnumStop::FirstFailure));  // no such key
  EXPECT_EQ(1u, host::journalCalls().size());
}

TEST_F(DisplayWalkTest, WalksATreeTenThousandKeysWide) {
  const int width = 10000;
  for (int i = 0; i < width; ++i) {
    char name[8];
    snprintf(name, sizeof name, "%05d", i);
    leaf(name, i % 2 == 0 ? "vga.drv" : "other.drv");
  }
  host::clearJournal();
  ASSERT_TRUE(walkDisplayClass(replaceVga, EnumStop::NoMoreItems));
  ASSERT_EQ(static_cast<size_t>(width), visits.size());
  EXPECT_EQ(under("00000"), visits.front().key);
  EXPECT_EQ(under("09999"), visits.back().key);
  EXPECT_EQ(static_cast<size_t>(width / 2), host::journalCalls("RegSetValueExA").size());
  EXPECT_EQ(static_cast<size_t>(width + 1), host::journalCalls("RegCloseKey").size());
}

TEST_F(DisplayWalkTest, WalksATreeTwoHundredKeysDeep) {
  std::string path;
  for (int depth = 0; depth < 200; ++depth) path += (path.empty() ? "" : "\\") + std::string("k");
  leaf(path, "vga.drv");
  ASSERT_TRUE(walkDisplayClass(replaceVga, EnumStop::FirstFailure));
  ASSERT_EQ(1u, visits.size());
  EXPECT_EQ(under(path), visits[0].key);
  EXPECT_EQ(201u, host::journalCalls("RegCloseKey").size());
  std::vector<unsigned char> stored;
  ASSERT_TRUE(host::registryValue(under(path), "drv", nullptr, &stored));
  EXPECT_EQ(nameField("ombrix.drv"), stored);
}

TEST_F(DisplayWalkTest, WriteDrvReportsARefusedWriteAndLeavesTheValue) {
  leaf("0000", "vga.drv");
  host::refuseRegistryWrite(under("0000"));
  HKEY key;
  ASSERT_EQ(
      ERROR_SUCCESS,
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Display\\0000",
                    0, KEY_READ, &key));
  DriverName ombrix;
  setDriverName(ombrix, "ombrix.drv");
  EXPECT_FALSE(writeDrv(key, ombrix));
  RegCloseKey(key);
  std::vector<unsigned char> stored;
  ASSERT_TRUE(host::registryValue(under("0000"), "drv", nullptr, &stored));
  EXPECT_EQ(bytesOf(std::string("vga.drv") + '\0'), stored);
}

}  // namespace
