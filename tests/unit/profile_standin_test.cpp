// The stand-in's profile rules that the log's own tests do not reach.
#include <string.h>

#include <string>

#include "driver_tools_test_support.h"

namespace {

class ProfileStandInTest : public DriverToolsTest {};

std::string listOf(const char* buffer, DWORD count) { return std::string(buffer, count); }

TEST_F(ProfileStandInTest, ANullKeyListsTheSectionKeyNamesCutToTheBuffer) {
  host::writeProfileFile("system.ini",
                         "[OMBRIX]\r\nRestoreNum=1\r\n;note=x\r\nOriDrv1=a\r\nrestorenum=2\r\n"
                         "[Other]\r\nz=1\r\n");
  char buffer[64];
  memset(buffer, 'x', sizeof buffer);
  DWORD count = GetPrivateProfileStringA("ombrix", NULL, NULL, buffer, sizeof buffer, "system.ini");
  EXPECT_EQ(std::string("RestoreNum\0OriDrv1\0", 19), listOf(buffer, count));
  EXPECT_EQ('\0', buffer[count]);

  memset(buffer, 'x', sizeof buffer);
  count = GetPrivateProfileStringA("OMBRIX", NULL, NULL, buffer, 8, "system.ini");
  EXPECT_EQ(6u, count);  // size - 2
  EXPECT_EQ(std::string("Restor\0\0x", 9), std::string(buffer, 9));

  memset(buffer, 'x', sizeof buffer);
  count = GetPrivateProfileStringA("Missing", NULL, NULL, buffer, sizeof buffer, "system.ini");
  EXPECT_EQ(0u, count);
  EXPECT_EQ(std::string("\0\0x", 3), std::string(buffer, 3));
}

TEST_F(ProfileStandInTest, StringReadsCutToTheBufferAndFallBackToTheDefault) {
  host::writeProfileFile("SYSTEM.INI", "[s]\r\nk=  'quoted value'  \r\nq=\"half\r\nn\r\n");
  char buffer[8];
  memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(7u, GetPrivateProfileStringA("S", "K", NULL, buffer, sizeof buffer, "System.Ini"));
  EXPECT_STREQ("quoted ", buffer);  // the pair of quotes goes, then the cut
  EXPECT_EQ(5u, GetPrivateProfileStringA("s", "q", NULL, buffer, sizeof buffer, "system.ini"));
  EXPECT_STREQ("\"half", buffer);  // an unmatched quote stays
  EXPECT_EQ(3u, GetPrivateProfileStringA("s", "n", "def  ", buffer, sizeof buffer, "system.ini"));
  EXPECT_STREQ("def", buffer);  // a line without '=' is no key
  memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(0u, GetPrivateProfileStringA("s", "k", NULL, buffer, 1, "system.ini"));
  EXPECT_EQ('\0', buffer[0]);
  EXPECT_EQ(0u, GetPrivateProfileStringA("s", "k", NULL, buffer, 0, "system.ini"));
  EXPECT_EQ('\0', buffer[0]);
  EXPECT_EQ(42u, GetPrivateProfileIntA("s", "absent", 42, "system.ini"));
  EXPECT_EQ(0u, GetPrivateProfileIntA("s", "k", 42, "system.ini"));  // no digit first
}

TEST_F(ProfileStandInTest, WritesKeepCrOnlyLineEndsAndDeleteKeysAndSections) {
  host::writeProfileFile("win.ini", "[a]\rx=1\ry=2\r\r[b]\rz=3\r");
  EXPECT_TRUE(WritePrivateProfileStringA("A", "new", "4", "win.ini"));
  EXPECT_TRUE(WritePrivateProfileStringA("a", "X", NULL, "win.ini"));
  EXPECT_TRUE(WritePrivateProfileStringA("B", NULL, NULL, "win.ini"));
  std::string text;
  ASSERT_TRUE(host::readProfileFile("win.ini", &text));
  EXPECT_EQ("[a]\ry=2\rnew=4\r\r", text);
  EXPECT_EQ(host::windowsDirectory() + "/win.ini", host::profileFilePath("WIN.INI"));
}

}  // namespace
