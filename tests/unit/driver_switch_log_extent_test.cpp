#include <string>
#include <vector>

#include "driver_tools_test_support.h"
#include "drivertools/shared/driver_switch_log.h"

namespace {

class LogExtentTest : public DriverToolsTest {};

TEST_F(LogExtentTest, HighestEntryComesFromTheKeysAsTheLogNamesThem) {
  const struct {
    const char* description;
    std::string section;
    int highest;
  } cases[] = {
      {"no entries", "RestoreNum=3\r\n", 0},
      {"OriDrv and OBXDrv both count", "OriDrv2=a\r\nOBXDrv5=b\r\nOriDrv4=c\r\n", 5},
      {"names in any case", "oridrv7=a\r\nOBXDRV3=b\r\n", 7},
      {"a leading zero is another key", "OriDrv1=a\r\nOriDrv09=b\r\n", 1},
      {"no number, or not only digits", "OriDrv=a\r\nOriDrv3x=b\r\nOBXDrv-4=c\r\nOriDrv 8=d\r\n",
       0},
      {"0 is no entry", "OriDrv0=a\r\nOBXDrv1=b\r\n", 1},
      {"the largest int", "OriDrv2147483647=a\r\n", 2147483647},
      {"beyond the largest int", "OriDrv2147483648=a\r\nOBXDrv99999999999=b\r\nOriDrv6=c\r\n", 6},
      {"other prefixes", "XOriDrv9=a\r\nOriDrvr9=b\r\nOri9=c\r\n", 0},
  };
  for (const auto& row : cases) {
    host::resetHost();
    host::writeProfileFile("system.ini", "[boot]\r\nOriDrv50=x\r\n[OMBRIX]\r\n" + row.section +
                                             "[other]\r\nOBXDrv60=y\r\n");
    int highest = -1;
    EXPECT_TRUE(DriverSwitchLog::highestEntryPresent(&highest)) << row.description;
    EXPECT_EQ(row.highest, highest) << row.description;
  }
}

TEST_F(LogExtentTest, NoFileOrSectionHasNoEntries) {
  int highest = -1;
  EXPECT_TRUE(DriverSwitchLog::highestEntryPresent(&highest));
  EXPECT_EQ(0, highest);
  host::writeProfileFile("system.ini", "[boot]\r\nOriDrv3=a\r\n");
  highest = -1;
  EXPECT_TRUE(DriverSwitchLog::highestEntryPresent(&highest));
  EXPECT_EQ(0, highest);
}

TEST_F(LogExtentTest, AListLongerThanTheFirstBufferIsReadWhole) {
  std::string ini = "[OMBRIX]\r\n";
  for (int n = 1; n <= 700; ++n) ini += "OriDrv" + std::to_string(n) + "=a\r\n";
  host::writeProfileFile("system.ini", ini);
  int highest = 0;
  EXPECT_TRUE(DriverSwitchLog::highestEntryPresent(&highest));
  EXPECT_EQ(700, highest);
  const std::vector<std::string> reads = host::journalCalls("GetPrivateProfileStringA");
  ASSERT_EQ(2u, reads.size());
  EXPECT_NE(std::string::npos, reads[0].find("buffer, 4096,")) << reads[0];
  EXPECT_NE(std::string::npos, reads[1].find("buffer, 8192,")) << reads[1];
}

}  // namespace
