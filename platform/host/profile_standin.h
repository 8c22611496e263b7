// What tests use to reach the stand-in's initialisation files. They are
// real files: a bare file name such as "system.ini" lives in the Windows
// directory, a temporary directory made for each test and removed after.
// Only tests include this (through control.h).
#pragma once

#include <string>

namespace host {

// The Windows directory of the current test; made on first use.
const std::string& windowsDirectory();
// Where the profile functions keep fileName: a bare name (no '\\', '/' or
// ':') in the Windows directory, in small letters, since Windows file
// names do not depend on case; any other name as it is.
std::string profileFilePath(const char* fileName);

void writeProfileFile(const char* fileName, const std::string& content);
// False when the file does not exist.
bool readProfileFile(const char* fileName, std::string* content);
bool profileFileExists(const char* fileName);

// Removes the Windows directory and everything in it; the next use makes
// a fresh one.
void resetProfiles();

}  // namespace host
