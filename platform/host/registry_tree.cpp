#include "platform/host/registry_tree.h"

#include <stdio.h>

#include <unordered_map>

#include "platform/host/registry_standin.h"

namespace host {

namespace {

unsigned char foldedUpper(char c) {
  unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

struct HandleRecord {
  RegistryNode* node;
  bool open;
};

// Handle values start well away from null and the predefined roots.
const uintptr_t firstHandle = 0x1000;
const uintptr_t handleStep = 4;

struct RegistryState {
  RegistryNode hklm;
  RegistryNode hkcu;
  RegistryNode hkcr;
  std::unordered_map<uintptr_t, HandleRecord> handles;
  int openCount = 0;
  std::vector<std::string> faults;

  RegistryState() {
    hklm.name = hklm.path = "HKLM";
    hkcu.name = hkcu.path = "HKCU";
    hkcr.name = hkcr.path = "HKCR";
  }
};

std::unique_ptr<RegistryState>& statePointer() {
  static std::unique_ptr<RegistryState> registry(new RegistryState);
  return registry;
}

RegistryState& state() { return *statePointer(); }

// Handle values go on rising across resets, so a handle kept from an
// earlier test is never mistaken for a new one.
uintptr_t nextHandle = firstHandle;

std::string handleText(HKEY key) {
  char buffer[32];
  snprintf(buffer, sizeof buffer, "0x%lX",
           static_cast<unsigned long>(reinterpret_cast<uintptr_t>(key)));
  return buffer;
}

void dumpNode(RegistryNode& node, int depth, std::string& out) {
  std::string indent(static_cast<size_t>(depth) * 2, ' ');
  out += indent + node.name + "\n";
  for (const RegistryValueRecord& value : node.values) {
    out += indent + "  " + (value.name.empty() ? "@" : value.name) + " = type " +
           std::to_string(value.type) + " \"";
    for (unsigned char byte : value.data) {
      if (byte >= 32 && byte < 127 && byte != '"' && byte != '\\') {
        out += static_cast<char>(byte);
      } else {
        char escape[8];
        snprintf(escape, sizeof escape, "\\x%02X", byte);
        out += escape;
      }
    }
    out += "\"\n";
  }
  for (RegistryNode* child : node.subkeysInOrder()) dumpNode(*child, depth + 1, out);
}

}  // namespace

bool RegistryNameLess::operator()(const std::string& a, const std::string& b) const {
  size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    unsigned char x = foldedUpper(a[i]);
    unsigned char y = foldedUpper(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

bool sameRegistryName(const std::string& a, const std::string& b) {
  RegistryNameLess less;
  return !less(a, b) && !less(b, a);
}

const std::vector<RegistryNode*>& RegistryNode::subkeysInOrder() {
  if (!orderValid_) {
    order_.clear();
    order_.reserve(children.size());
    for (auto& child : children) order_.push_back(child.second.get());
    orderValid_ = true;
  }
  return order_;
}

RegistryNode* RegistryNode::subkey(const std::string& childName) const {
  auto found = children.find(childName);
  return found == children.end() ? nullptr : found->second.get();
}

RegistryNode* RegistryNode::addSubkey(const std::string& childName) {
  RegistryNode* existing = subkey(childName);
  if (existing != nullptr) return existing;
  std::unique_ptr<RegistryNode> child(new RegistryNode);
  child->name = childName;
  child->path = path + "\\" + childName;
  RegistryNode* added = child.get();
  children.emplace(childName, std::move(child));
  orderValid_ = false;
  return added;
}

RegistryValueRecord* RegistryNode::value(const std::string& valueName) {
  for (RegistryValueRecord& record : values) {
    if (sameRegistryName(record.name, valueName)) return &record;
  }
  return nullptr;
}

RegistryNode* registryRoot(HKEY predefined) {
  if (predefined == HKEY_LOCAL_MACHINE) return &state().hklm;
  if (predefined == HKEY_CURRENT_USER) return &state().hkcu;
  if (predefined == HKEY_CLASSES_ROOT) return &state().hkcr;
  return nullptr;
}

RegistryNode* followRegistryPath(RegistryNode* node, const char* path, bool create) {
  if (path == nullptr) return node;
  const char* part = path;
  while (node != nullptr && *part != '\0') {
    const char* end = part;
    while (*end != '\0' && *end != '\\') ++end;
    if (end != part) {
      std::string name(part, end);
      node = create ? node->addSubkey(name) : node->subkey(name);
    }
    part = *end == '\\' ? end + 1 : end;
  }
  return node;
}

RegistryNode* registryNodeAt(const std::string& path, bool create) {
  size_t split = path.find('\\');
  std::string root = path.substr(0, split);
  RegistryNode* node = nullptr;
  if (sameRegistryName(root, "HKLM")) node = &state().hklm;
  if (sameRegistryName(root, "HKCU")) node = &state().hkcu;
  if (sameRegistryName(root, "HKCR")) node = &state().hkcr;
  if (node == nullptr || split == std::string::npos) return node;
  return followRegistryPath(node, path.c_str() + split + 1, create);
}

HKEY openRegistryHandle(RegistryNode* node) {
  uintptr_t value = nextHandle;
  nextHandle += handleStep;
  state().handles[value] = HandleRecord{node, true};
  ++state().openCount;
  return reinterpret_cast<HKEY>(value);
}

RegistryNode* registryHandleNode(HKEY key, const char* function) {
  RegistryNode* root = registryRoot(key);
  if (root != nullptr) return root;
  auto found = state().handles.find(reinterpret_cast<uintptr_t>(key));
  if (found != state().handles.end() && found->second.open) return found->second.node;
  state().faults.push_back(std::string(function) + " on " +
                           (found == state().handles.end()
                                ? "invalid handle "
                                : "closed key " + found->second.node->path + " ") +
                           handleText(key));
  return nullptr;
}

bool closeRegistryHandle(HKEY key) {
  if (registryRoot(key) != nullptr) return true;
  auto found = state().handles.find(reinterpret_cast<uintptr_t>(key));
  if (found == state().handles.end()) {
    state().faults.push_back("RegCloseKey on invalid handle " + handleText(key));
    return false;
  }
  if (!found->second.open) {
    state().faults.push_back("RegCloseKey twice on " + found->second.node->path + " " +
                             handleText(key));
    return false;
  }
  found->second.open = false;
  --state().openCount;
  return true;
}

std::string registryHandleName(HKEY key) {
  RegistryNode* root = registryRoot(key);
  if (root != nullptr) return root->path;
  auto found = state().handles.find(reinterpret_cast<uintptr_t>(key));
  if (found == state().handles.end()) return "<invalid " + handleText(key) + ">";
  if (!found->second.open) return "<closed " + found->second.node->path + ">";
  return found->second.node->path;
}

// The test control.

void createRegistryKey(const std::string& path) { registryNodeAt(path, true); }

void setRegistryValue(const std::string& path, const std::string& name, DWORD type,
                      const std::vector<unsigned char>& data) {
  RegistryNode* node = registryNodeAt(path, true);
  if (node == nullptr) return;
  RegistryValueRecord* record = node->value(name);
  if (record == nullptr) {
    node->values.push_back(RegistryValueRecord());
    record = &node->values.back();
    record->name = name;
  }
  record->type = type;
  record->data = data;
}

void setRegistryString(const std::string& path, const std::string& name, const std::string& text) {
  std::vector<unsigned char> data(text.begin(), text.end());
  data.push_back(0);
  setRegistryValue(path, name, REG_SZ, data);
}

bool registryKeyExists(const std::string& path) { return registryNodeAt(path, false) != nullptr; }

bool registryValue(const std::string& path, const std::string& name, DWORD* type,
                   std::vector<unsigned char>* data) {
  RegistryNode* node = registryNodeAt(path, false);
  RegistryValueRecord* record = node == nullptr ? nullptr : node->value(name);
  if (record == nullptr) return false;
  if (type != nullptr) *type = record->type;
  if (data != nullptr) *data = record->data;
  return true;
}

void failRegistryOpen(const std::string& path, LONG code) {
  registryNodeAt(path, true)->openFailure = code;
}

void refuseRegistryWrite(const std::string& path, LONG code) {
  registryNodeAt(path, true)->writeFailure = code;
}

void failRegistryEnumeration(const std::string& path, DWORD index, LONG code) {
  registryNodeAt(path, true)->enumerationFailures[index] = code;
}

void failRegistryEnumerationFrom(const std::string& path, DWORD firstIndex, LONG code) {
  RegistryNode* node = registryNodeAt(path, true);
  node->enumerationFailsFrom = firstIndex;
  node->enumerationFailsFromCode = code;
}

std::string registryKeyName(HKEY key) { return registryHandleName(key); }

int openKeyCount() { return state().openCount; }

const std::vector<std::string>& registryHandleFaults() { return state().faults; }

std::string registryDump() {
  std::string out;
  dumpNode(state().hklm, 0, out);
  dumpNode(state().hkcu, 0, out);
  dumpNode(state().hkcr, 0, out);
  return out;
}

void resetRegistry() { statePointer().reset(new RegistryState); }

std::string registryResultName(LONG code) {
  switch (code) {
    case ERROR_SUCCESS:
      return "ERROR_SUCCESS";
    case ERROR_FILE_NOT_FOUND:
      return "ERROR_FILE_NOT_FOUND";
    case ERROR_ACCESS_DENIED:
      return "ERROR_ACCESS_DENIED";
    case ERROR_INVALID_HANDLE:
      return "ERROR_INVALID_HANDLE";
    case ERROR_OUTOFMEMORY:
      return "ERROR_OUTOFMEMORY";
    case ERROR_INVALID_PARAMETER:
      return "ERROR_INVALID_PARAMETER";
    case ERROR_MORE_DATA:
      return "ERROR_MORE_DATA";
    case ERROR_NO_MORE_ITEMS:
      return "ERROR_NO_MORE_ITEMS";
    default:
      return std::to_string(code);
  }
}

}  // namespace host
