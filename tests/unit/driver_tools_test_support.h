// Fixture and helpers of the driver tools' tests: every test starts from an
// empty registry and Windows directory, and ends by checking that each key
// opened was closed exactly once.
#pragma once

#include <string>
#include <vector>

#include "host_test.h"
#include "platform/win32.h"

const char displayClassKey[] = "HKLM\\System\\CurrentControlSet\\Services\\Class\\Display";

inline std::string joinedLines(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

inline std::vector<unsigned char> bytesOf(const std::string& text) {
  return std::vector<unsigned char>(text.begin(), text.end());
}

// The text padded with zeros to the 20 bytes of a driver name field.
inline std::vector<unsigned char> nameField(const std::string& text) {
  std::vector<unsigned char> field = bytesOf(text);
  field.resize(20, 0);
  return field;
}

class DriverToolsTest : public HostTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(host::openKeyCount(), 0) << "keys left open\n" << host::registryDump();
    EXPECT_TRUE(host::registryHandleFaults().empty()) << joinedLines(host::registryHandleFaults());
    host::resetProfiles();
  }
};
