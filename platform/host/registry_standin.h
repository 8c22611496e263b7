// What tests use to set up and inspect the stand-in registry. Paths name
// their root first: "HKLM\\System\\CurrentControlSet", "HKCU\\SoftWare".
// Names match without regard to the case of A-Z; subkeys are enumerated in
// that case-insensitive order. Only tests include this (through control.h).
#pragma once

#include <string>
#include <vector>

#include "platform/host/win32_host_registry.h"

namespace host {

// Creates the key and every missing key on its path; existing keys keep
// the spelling they were created with.
void createRegistryKey(const std::string& path);
void setRegistryValue(const std::string& path, const std::string& name, DWORD type,
                      const std::vector<unsigned char>& data);
// A REG_SZ value: the text and its terminating zero.
void setRegistryString(const std::string& path, const std::string& name, const std::string& text);

bool registryKeyExists(const std::string& path);
// False when the key or the value is missing.
bool registryValue(const std::string& path, const std::string& name, DWORD* type,
                   std::vector<unsigned char>* data);

// Injected failures, in force until the next resetRegistry().
// Every open or create of the key answers code.
void failRegistryOpen(const std::string& path, LONG code = ERROR_ACCESS_DENIED);
// Every RegSetValueExA through a handle of the key answers code.
void refuseRegistryWrite(const std::string& path, LONG code = ERROR_ACCESS_DENIED);
// RegEnumKeyExA on the key at index answers code (and no name).
void failRegistryEnumeration(const std::string& path, DWORD index, LONG code);
// RegEnumKeyExA on the key at firstIndex and every index after it answers
// code, ERROR_NO_MORE_ITEMS never.
void failRegistryEnumerationFrom(const std::string& path, DWORD firstIndex, LONG code);

// Handles opened by the stand-in's functions and not yet closed.
int openKeyCount();
// Closes of a key closed before, and uses of handles that were never open
// or are closed: one line each.
const std::vector<std::string>& registryHandleFaults();

// The path of an open key ("HKLM\\System"), for tests that see handles.
std::string registryKeyName(HKEY key);

// The whole tree, one key or value a line, for test messages.
std::string registryDump();

// Empty tree (the three roots only), no handles, no injected failures.
void resetRegistry();

// "ERROR_SUCCESS", "ERROR_MORE_DATA", ... or the number.
std::string registryResultName(LONG code);

}  // namespace host
