// The command tail that the runtime hands WinMain, against the same table of
// command lines that the runtime probe runs under Wine, plus the lines only
// the host can pass (a null pointer, every separator character).
#include "platform/command_tail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/command_tail_cases.h"

namespace {

struct TailRow {
  std::string name;
  std::string commandLine;
  std::string tail;
};

std::string visible(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < ' ' || c >= 0x7F) {
      const char digits[] = "0123456789abcdef";
      out += "\\x";
      out += digits[c >> 4];
      out += digits[c & 0x0F];
    } else {
      out += static_cast<char>(c);
    }
  }
  return "[" + out + "]";
}

std::vector<TailRow> tailRows() {
  std::vector<TailRow> rows;
  for (const CommandTailCase& row : commandTailCases) {
    rows.push_back({row.name, row.commandLine, row.tail});
  }
  rows.push_back({"empty line", "", ""});
  rows.push_back({"blanks only", "   ", ""});
  rows.push_back({"quoted empty name", "\"\" ombrix.drv", "ombrix.drv"});
  rows.push_back({"quoted name with a tab inside", "\"run\tprobe\" x", "x"});
  // Every code from 1 to 32 ends an unquoted name and is skipped after it.
  for (int code = 1; code <= 32; ++code) {
    const std::string separator(1, static_cast<char>(code));
    rows.push_back({"separator " + std::to_string(code), "probe" + separator + "x", "x"});
    rows.push_back({"separators " + std::to_string(code) + " twice after a quoted name",
                    "\"probe\"" + separator + separator + "x" + separator, "x" + separator});
  }
  // Codes above 32 belong to the name, those of the upper half too.
  for (int code : {33, 127, 0xA0, 0xFF}) {
    const std::string inside(1, static_cast<char>(code));
    rows.push_back(
        {"code " + std::to_string(code) + " inside the name", "probe" + inside + "x y", "y"});
    rows.push_back({"code " + std::to_string(code) + " kept at the start of the tail",
                    "probe " + inside + "y", inside + "y"});
  }
  return rows;
}

TEST(CommandTailTest, TableOfCommandLines) {
  for (const TailRow& row : tailRows()) {
    SCOPED_TRACE(row.name + ": " + visible(row.commandLine));
    const char* line = row.commandLine.c_str();
    const char* tail = commandTail(line);
    ASSERT_NE(tail, nullptr);
    EXPECT_EQ(visible(tail), visible(row.tail));
    // WinMain receives a pointer into the process's command line, not a copy.
    EXPECT_EQ(tail, line + row.commandLine.size() - row.tail.size());
  }
}

TEST(CommandTailTest, NullCommandLineGivesEmptyTail) {
  const char* tail = commandTail(nullptr);
  ASSERT_NE(tail, nullptr);
  EXPECT_STREQ(tail, "");
}

}  // namespace
