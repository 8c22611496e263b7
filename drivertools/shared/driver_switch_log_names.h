// The file, section and key names of the switch log, for the log's own
// source files only.
#pragma once

namespace DriverSwitchLog {

const char fileName[] = "system.ini";
const char sectionName[] = "OMBRIX";
const char countKey[] = "RestoreNum";
const char replacedKeyPrefix[] = "OriDrv";
const char installedKeyPrefix[] = "OBXDrv";

}  // namespace DriverSwitchLog
