// Ground of the two programs' tests: a Display class tree built from
// leaves, the log as system.ini holds it, the RunOnce value, and checks at
// the end that every key was closed, every screen DC released and the
// user-interface stand-in saw no misuse.
#pragma once

#include <string>
#include <vector>

#include "driver_tools_test_support.h"

namespace drv_test {

const char comment[] = "  ;Do not modify this value manually";
const char runOnceKey[] = "HKCU\\SoftWare\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

inline std::string under(const std::string& relative) {
  return relative.empty() ? displayClassKey : std::string(displayClassKey) + "\\" + relative;
}

inline void leaf(const std::string& relative, const std::string& drv) {
  host::setRegistryString(under(relative), "drv", drv);
}

// The drv value's bytes up to its first zero; "<none>" when missing.
inline std::string drvOf(const std::string& relative) {
  std::vector<unsigned char> data;
  DWORD type = 0;
  if (!host::registryValue(under(relative), "drv", &type, &data)) return "<none>";
  std::string text(data.begin(), data.end());
  return text.substr(0, text.find('\0'));
}

// The RunOnce key's unnamed value, bytes as stored; "<none>" when missing.
inline std::string runOnceValue() {
  std::vector<unsigned char> data;
  DWORD type = 0;
  if (!host::registryValue(runOnceKey, "", &type, &data)) return "<none>";
  return std::string(data.begin(), data.end());
}

// system.ini as it stands; "<none>" when it does not exist.
inline std::string systemIni() {
  std::string text;
  if (!host::readProfileFile("system.ini", &text)) return "<none>";
  return text;
}

// A log section of count and entries {replaced, installed} from 1 up.
inline std::string logSection(const std::string& count,
                              const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string text = "[OMBRIX]\r\nRestoreNum=" + count + comment + "\r\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    text += "OriDrv" + n + "=" + entries[i].first + "\r\n";
    text += "OBXDrv" + n + "=" + entries[i].second + "\r\n";
  }
  return text;
}

// The function names of the journal, in order.
inline std::vector<std::string> journalFunctions() {
  std::vector<std::string> names;
  for (const std::string& call : host::journalCalls())
    names.push_back(call.substr(0, call.find('(')));
  return names;
}

inline size_t firstIndexOf(const std::vector<std::string>& calls, const std::string& prefix) {
  for (size_t i = 0; i < calls.size(); ++i)
    if (calls[i].rfind(prefix, 0) == 0) return i;
  return calls.size();
}

class DrvProgramTest : public DriverToolsTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(host::liveDeviceContextCount(), 0u) << "a screen DC was not released";
    for (const std::string& fault : host::userInterfaceFaults()) ADD_FAILURE() << fault;
    DriverToolsTest::TearDown();
  }
};

}  // namespace drv_test
