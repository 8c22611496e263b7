// The stand-in registry's answers that the walk relies on.
#include <string.h>

#include <string>

#include "driver_tools_test_support.h"

namespace {

class RegistryStandInTest : public DriverToolsTest {
 protected:
  HKEY open(const char* path) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key));
    return key;
  }
};

TEST_F(RegistryStandInTest, EnumerationAnswersMoreDataWhenTheNameNeedsTheWholeField) {
  host::createRegistryKey("HKLM\\K\\nineteen-characters");
  host::createRegistryKey("HKLM\\K\\twenty-characters-xy");
  HKEY key = open("k");
  char name[20];
  memset(name, 'x', sizeof name);
  DWORD length = 20;
  EXPECT_EQ(ERROR_SUCCESS, RegEnumKeyExA(key, 0, name, &length, NULL, NULL, NULL, NULL));
  EXPECT_STREQ("nineteen-characters", name);
  EXPECT_EQ(19u, length);
  memset(name, 'x', sizeof name);
  length = 20;
  EXPECT_EQ(ERROR_MORE_DATA, RegEnumKeyExA(key, 1, name, &length, NULL, NULL, NULL, NULL));
  EXPECT_EQ(20u, length);
  EXPECT_EQ(std::string(20, 'x'), std::string(name, 20));
  EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyExA(key, 2, name, &length, NULL, NULL, NULL, NULL));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
}

TEST_F(RegistryStandInTest, AValueThatDoesNotFitLeavesTheBufferUntouched) {
  host::setRegistryString("HKLM\\K", "drv", "twenty-characters.dr");
  HKEY key = open("K");
  BYTE data[20];
  memset(data, 'x', sizeof data);
  DWORD type = 0, length = 20;
  EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(key, "DRV", NULL, &type, data, &length));
  EXPECT_EQ(21u, length);
  EXPECT_EQ(std::string(20, 'x'), std::string(reinterpret_cast<char*>(data), 20));
  length = 20;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key, "other", NULL, &type, data, &length));
  RegCloseKey(key);
}

TEST_F(RegistryStandInTest, CountsHandlesAndRecordsDoubleClosesAndUnknownHandles) {
  host::createRegistryKey("HKLM\\K");
  HKEY key = open("K");
  EXPECT_EQ(1, host::openKeyCount());
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));
  DWORD length = 20;
  char name[20];
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegEnumKeyExA(key, 0, name, &length, NULL, NULL, NULL, NULL));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(reinterpret_cast<HKEY>(0x12)));
  EXPECT_EQ(0, host::openKeyCount());
  ASSERT_EQ(3u, host::registryHandleFaults().size());
  EXPECT_EQ(0u, host::registryHandleFaults()[0].find("RegCloseKey twice on HKLM\\K"));
  EXPECT_EQ(0u, host::registryHandleFaults()[1].find("RegEnumKeyExA on closed key HKLM\\K"));
  EXPECT_EQ(0u, host::registryHandleFaults()[2].find("RegCloseKey on invalid handle 0x12"));
  host::resetRegistry();  // these faults were the point of the test
}

TEST_F(RegistryStandInTest, InjectedFailuresAnswerTheirCode) {
  host::createRegistryKey("HKLM\\K\\Sub");
  host::failRegistryOpen("HKLM\\K\\Sub", ERROR_ACCESS_DENIED);
  host::failRegistryEnumeration("HKLM\\K", 0, ERROR_OUTOFMEMORY);
  HKEY key = open("K");
  HKEY sub = nullptr;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(key, "SUB", 0, KEY_READ, &sub));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(key, "none", 0, KEY_READ, &sub));
  char name[20];
  DWORD length = 20;
  EXPECT_EQ(ERROR_OUTOFMEMORY, RegEnumKeyExA(key, 0, name, &length, NULL, NULL, NULL, NULL));
  RegCloseKey(key);
}

}  // namespace
