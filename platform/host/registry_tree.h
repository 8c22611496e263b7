// The stand-in registry's own records: an in-memory tree of keys and
// values, the handle table and the injected failures. Shared by the
// registry functions and the test control; product code never sees it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/win32_host_registry.h"

namespace host {

// Orders names as the platform enumerates them: A-Z folded onto upper case,
// every other byte by its value, a prefix first.
struct RegistryNameLess {
  bool operator()(const std::string& a, const std::string& b) const;
};
bool sameRegistryName(const std::string& a, const std::string& b);

struct RegistryValueRecord {
  std::string name;
  DWORD type = REG_NONE;
  std::vector<unsigned char> data;
};

struct RegistryNode {
  std::string name;  // as created
  std::string path;  // from the root: "HKLM\\System"
  std::map<std::string, std::unique_ptr<RegistryNode>, RegistryNameLess> children;
  std::vector<RegistryValueRecord> values;

  // Injected failures.
  LONG openFailure = ERROR_SUCCESS;
  LONG writeFailure = ERROR_SUCCESS;
  std::map<DWORD, LONG> enumerationFailures;
  DWORD enumerationFailsFrom = 0xFFFFFFFFu;  // every index from here on
  LONG enumerationFailsFromCode = ERROR_SUCCESS;

  // Subkeys by enumeration index; rebuilt after a subkey is added.
  const std::vector<RegistryNode*>& subkeysInOrder();
  RegistryNode* subkey(const std::string& childName) const;
  RegistryNode* addSubkey(const std::string& childName);
  RegistryValueRecord* value(const std::string& valueName);

 private:
  std::vector<RegistryNode*> order_;
  bool orderValid_ = false;
};

// The root behind a predefined handle, or null.
RegistryNode* registryRoot(HKEY predefined);
// Follows a path of names separated by '\\' from node; null when a key is
// missing. With create, missing keys are made with the path's spelling.
RegistryNode* followRegistryPath(RegistryNode* node, const char* path, bool create);
// "HKLM\\System\\..." from the test control's notation.
RegistryNode* registryNodeAt(const std::string& path, bool create);

// Handles: each open hands out a new value, never reused.
HKEY openRegistryHandle(RegistryNode* node);
// The node of an open handle or predefined root; null (and a recorded
// fault) for anything else.
RegistryNode* registryHandleNode(HKEY key, const char* function);
// Closes; false (and a recorded fault) for a handle not open.
bool closeRegistryHandle(HKEY key);
// "HKLM\\System", or "<closed 0x1004>" for a handle not open.
std::string registryHandleName(HKEY key);

}  // namespace host
