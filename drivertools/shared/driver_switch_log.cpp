#include "drivertools/shared/driver_switch_log.h"

#include "drivertools/shared/driver_switch_log_names.h"
#include "drivertools/shared/plain_text.h"

namespace DriverSwitchLog {

const char countComment[] = "  ;Do not modify this value manually";

namespace {

// Room for a prefix, a number of up to 11 characters and the zero.
const int decimalRoom = 11;
typedef char EntryKey[sizeof replacedKeyPrefix + decimalRoom];
typedef char CountValue[decimalRoom + sizeof countComment];

void makeEntryKey(EntryKey& key, const char* prefix, int n) {
  appendDecimal(appendText(key, prefix), n);
}

void writeCount(int n) {
  CountValue value;
  appendText(appendDecimal(value, n), countComment);
  WritePrivateProfileStringA(sectionName, countKey, value, fileName);
}

// A missing key reads as the empty name, length 0.
DWORD readName(const char* prefix, int k, DriverName& name) {
  EntryKey key;
  makeEntryKey(key, prefix, k);
  clearDriverName(name);
  return GetPrivateProfileStringA(sectionName, key, NULL, name.text, driverNameSize, fileName);
}

}  // namespace

int readCount() {
  return static_cast<int>(GetPrivateProfileIntA(sectionName, countKey, 0, fileName));
}

void recordSwitch(int n, const char* replacedDriver, const char* installedDriver) {
  writeCount(n);
  EntryKey key;
  makeEntryKey(key, replacedKeyPrefix, n);
  WritePrivateProfileStringA(sectionName, key, replacedDriver, fileName);
  makeEntryKey(key, installedKeyPrefix, n);
  WritePrivateProfileStringA(sectionName, key, installedDriver, fileName);
}

LogEntry readEntry(int k) {
  LogEntry entry;
  entry.replacedLength = readName(replacedKeyPrefix, k, entry.replacedDriver);
  entry.installedLength = readName(installedKeyPrefix, k, entry.installedDriver);
  return entry;
}

void resetCount() { writeCount(0); }

}  // namespace DriverSwitchLog
