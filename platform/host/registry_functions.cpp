// The stand-in's registry functions. Each appends one journal record with
// its arguments as passed (keys by path, lengths going in and coming out)
// and its result.
#include <string.h>

#include <string>

#include "platform/host/journal.h"
#include "platform/host/registry_standin.h"
#include "platform/host/registry_tree.h"

using host::RegistryNode;
using host::RegistryValueRecord;

namespace {

std::string accessName(REGSAM access) {
  if (access == KEY_READ) return "KEY_READ";
  if (access == KEY_WRITE) return "KEY_WRITE";
  if (access == KEY_ALL_ACCESS) return "KEY_ALL_ACCESS";
  return std::to_string(access);
}

std::string typeName(DWORD type) {
  switch (type) {
    case REG_NONE:
      return "REG_NONE";
    case REG_SZ:
      return "REG_SZ";
    case REG_EXPAND_SZ:
      return "REG_EXPAND_SZ";
    case REG_BINARY:
      return "REG_BINARY";
    case REG_DWORD:
      return "REG_DWORD";
    case REG_MULTI_SZ:
      return "REG_MULTI_SZ";
    default:
      return std::to_string(type);
  }
}

std::string pointerArgument(const void* pointer, const std::string& name) {
  return pointer == nullptr ? "NULL" : name;
}

// "20->4": the length going in and coming out; "NULL" for no length.
std::string lengthArgument(const DWORD* length, DWORD before) {
  if (length == nullptr) return "NULL";
  return std::to_string(before) + "->" + std::to_string(*length);
}

std::string ending(LONG result) { return ") = " + host::registryResultName(result); }

LONG openOrCreate(HKEY key, LPCSTR subKey, PHKEY result, bool create) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  RegistryNode* parent = host::registryHandleNode(key, create ? "RegCreateKeyA" : "RegOpenKeyExA");
  if (parent == nullptr) return ERROR_INVALID_HANDLE;
  RegistryNode* node = host::followRegistryPath(parent, subKey, false);
  if (node != nullptr && node->openFailure != ERROR_SUCCESS) return node->openFailure;
  if (node == nullptr && !create) return ERROR_FILE_NOT_FOUND;
  if (node == nullptr) node = host::followRegistryPath(parent, subKey, true);
  *result = host::openRegistryHandle(node);
  return ERROR_SUCCESS;
}

}  // namespace

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  std::string call = "RegOpenKeyExA(" + host::registryHandleName(key) + ", " +
                     host::quoted(subKey) + ", " + std::to_string(options) + ", " +
                     accessName(access);
  LONG status = openOrCreate(key, subKey, result, false);
  if (status == ERROR_SUCCESS) call += " -> " + host::registryHandleName(*result);
  host::journal(call + ending(status));
  return status;
}

LONG WINAPI RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
  std::string call = "RegCreateKeyA(" + host::registryHandleName(key) + ", " + host::quoted(subKey);
  LONG status = openOrCreate(key, subKey, result, true);
  if (status == ERROR_SUCCESS) call += " -> " + host::registryHandleName(*result);
  host::journal(call + ending(status));
  return status;
}

LONG WINAPI RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved,
                          LPSTR className, LPDWORD classLength, PFILETIME lastWriteTime) {
  std::string keyName = host::registryHandleName(key);
  DWORD lengthBefore = nameLength == nullptr ? 0 : *nameLength;
  LONG status = ERROR_SUCCESS;
  std::string found;
  RegistryNode* node = host::registryHandleNode(key, "RegEnumKeyExA");
  if (node == nullptr) {
    status = ERROR_INVALID_HANDLE;
  } else if (name == nullptr || nameLength == nullptr || reserved != nullptr) {
    status = ERROR_INVALID_PARAMETER;
  } else if (node->enumerationFailures.count(index) != 0) {
    status = node->enumerationFailures[index];
  } else if (index >= node->enumerationFailsFrom) {
    status = node->enumerationFailsFromCode;
  } else if (index >= node->subkeysInOrder().size()) {
    status = ERROR_NO_MORE_ITEMS;
  } else {
    const std::string& subkeyName = node->subkeysInOrder()[index]->name;
    // The name and its zero must fit; otherwise name and length stay as
    // they were.
    if (subkeyName.size() >= *nameLength) {
      status = ERROR_MORE_DATA;
    } else {
      memcpy(name, subkeyName.c_str(), subkeyName.size() + 1);
      *nameLength = static_cast<DWORD>(subkeyName.size());
      found = " " + host::quoted(subkeyName.c_str());
      if (className != nullptr && classLength != nullptr && *classLength > 0) {
        className[0] = '\0';
        *classLength = 0;
      }
      if (lastWriteTime != nullptr) *lastWriteTime = FILETIME{0, 0};
    }
  }
  host::journal("RegEnumKeyExA(" + keyName + ", " + std::to_string(index) + ", " +
                pointerArgument(name, "name") + ", " + lengthArgument(nameLength, lengthBefore) +
                found + ", " + pointerArgument(reserved, "reserved") + ", " +
                pointerArgument(className, "class") + ", " +
                pointerArgument(classLength, "classLength") + ", " +
                pointerArgument(lastWriteTime, "time") + ending(status));
  return status;
}

LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                             LPBYTE data, LPDWORD dataLength) {
  std::string keyName = host::registryHandleName(key);
  DWORD lengthBefore = dataLength == nullptr ? 0 : *dataLength;
  LONG status = ERROR_SUCCESS;
  const RegistryValueRecord* record = nullptr;
  RegistryNode* node = host::registryHandleNode(key, "RegQueryValueExA");
  if (node == nullptr) {
    status = ERROR_INVALID_HANDLE;
  } else if (reserved != nullptr || (data != nullptr && dataLength == nullptr)) {
    status = ERROR_INVALID_PARAMETER;
  } else {
    record = node->value(valueName == nullptr ? "" : valueName);
    if (record == nullptr) {
      status = ERROR_FILE_NOT_FOUND;
    } else {
      DWORD size = static_cast<DWORD>(record->data.size());
      if (type != nullptr) *type = record->type;
      // A value that does not fit leaves the buffer untouched and gives
      // the size it needs.
      if (data != nullptr && size > *dataLength) {
        status = ERROR_MORE_DATA;
      } else if (data != nullptr && size > 0) {
        memcpy(data, record->data.data(), size);
      }
      if (dataLength != nullptr) *dataLength = size;
    }
  }
  std::string typeText = type == nullptr ? "NULL" : record == nullptr ? "type" : typeName(*type);
  std::string call = "RegQueryValueExA(" + keyName + ", " + host::quoted(valueName) + ", " +
                     pointerArgument(reserved, "reserved") + ", " + typeText + ", " +
                     pointerArgument(data, "data") + ", " +
                     lengthArgument(dataLength, lengthBefore) + ending(status);
  if (status == ERROR_SUCCESS && data != nullptr) {
    host::journal(call, data, *dataLength);
  } else {
    host::journal(call);
  }
  return status;
}

LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                           DWORD dataLength) {
  std::string call = "RegSetValueExA(" + host::registryHandleName(key) + ", " +
                     host::quoted(valueName) + ", " + std::to_string(reserved) + ", " +
                     typeName(type) + ", " + std::to_string(dataLength);
  LONG status = ERROR_SUCCESS;
  RegistryNode* node = host::registryHandleNode(key, "RegSetValueExA");
  if (node == nullptr) {
    status = ERROR_INVALID_HANDLE;
  } else if (data == nullptr && dataLength > 0) {
    status = ERROR_INVALID_PARAMETER;
  } else if (node->writeFailure != ERROR_SUCCESS) {
    status = node->writeFailure;
  } else {
    // Windows 95 accepts the write through a key opened for reading, and
    // the value keeps exactly the bytes given.
    std::vector<unsigned char> bytes;
    if (data != nullptr) bytes.assign(data, data + dataLength);
    host::setRegistryValue(node->path, valueName == nullptr ? "" : valueName, type, bytes);
  }
  host::journal(call + ending(status), data, data == nullptr ? 0 : dataLength);
  return status;
}

LONG WINAPI RegCloseKey(HKEY key) {
  std::string call = "RegCloseKey(" + host::registryHandleName(key);
  LONG status = host::closeRegistryHandle(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
  host::journal(call + ending(status));
  return status;
}
