#include "drivertools/shared/driver_name.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>

#include "drivertools/shared/plain_text.h"

namespace {

struct NameCase {
  const char* a;
  const char* b;
  bool same;
};

TEST(SameDriverName, FoldsOnlyAToZAndNeedsTheSameEnd) {
  const NameCase cases[] = {
      {"ombrix.drv", "ombrix.drv", true},
      {"ombrix.drv", "OMBRIX.DRV", true},
      {"ObxVga95.Drv", "obxvga95.drv", true},
      {"ombrix.drv", "ombrix.drv ", false},  // trailing blank
      {"ombrix.drv ", "ombrix.drv", false},
      {"ombrix.drv", "ombrix.dr", false},  // prefix
      {"ombrix.dr", "ombrix.drv", false},
      {"", "", true},
      {"", "a", false},
      {"\xC4.drv", "\xE4.drv", false},  // no folding above 127
      {"\xE4.drv", "\xE4.drv", true},
      {"@[`{", "`{@[", false},  // neighbours of the letters stay apart
      {"\"ombrix.drv\"", "ombrix.drv", false},
      {"\"ombrix.drv\"", "\"OMBRIX.drv\"", true},
  };
  for (const NameCase& row : cases) {
    EXPECT_EQ(sameDriverName(row.a, row.b), row.same) << '"' << row.a << "\" vs \"" << row.b << '"';
  }
}

TEST(DriverNameField, HoldsAtMost19CharactersAndZerosAfterThem) {
  DriverName name;
  memset(name.text, 'x', sizeof name.text);
  setDriverName(name, "ombrix.drv");
  char expected[20] = "ombrix.drv";
  EXPECT_EQ(0, memcmp(name.text, expected, 20));

  setDriverName(name, "a-driver-name-of-25-chars");
  EXPECT_EQ(std::string("a-driver-name-of-25"), name.text);
  EXPECT_EQ('\0', name.text[19]);
}

TEST(DriverNameField, TerminateZeroesBytesAfterTheNameAndRefusesAFieldWithoutZero) {
  DriverName name;
  memcpy(name.text, "abc\0xyz\0junkjunkjun", 20);
  ASSERT_TRUE(terminateDriverName(name));
  char expected[20] = "abc";
  EXPECT_EQ(0, memcmp(name.text, expected, 20));

  memcpy(name.text, "twenty-characters-xx", 20);
  EXPECT_FALSE(terminateDriverName(name));
}

TEST(PlainText, DecimalHasNoLeadingZerosAndASignOnlyWhenNegative) {
  const struct {
    int value;
    const char* text;
  } cases[] = {{0, "0"},
               {7, "7"},
               {10, "10"},
               {12, "12"},
               {-1, "-1"},
               {INT_MAX, "2147483647"},
               {INT_MIN, "-2147483648"}};
  for (const auto& row : cases) {
    char out[12];
    memset(out, 'x', sizeof out);
    char* end = appendDecimal(out, row.value);
    EXPECT_STREQ(row.text, out);
    EXPECT_EQ(strlen(row.text), static_cast<size_t>(end - out));
  }
  EXPECT_EQ(26u, textLength("control.exe desk.cpl, @0,0"));
}

}  // namespace
