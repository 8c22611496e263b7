// A small reader of 32-bit PE images for the image tier: headers, sections,
// imports, exports and the resource tree. Reads the whole file and checks
// every offset it follows; a damaged image gives an error, never a crash.
#pragma once

#include <stdint.h>

#include <optional>
#include <string>
#include <vector>

namespace pe {

const uint16_t machineI386 = 0x014C;
const uint16_t optionalMagicPe32 = 0x010B;
const uint16_t subsystemWindowsGui = 2;
const uint16_t fileRelocsStripped = 0x0001;
const uint16_t fileDll = 0x2000;

enum DirectoryIndex {
  exportDirectory = 0,
  importDirectory = 1,
  resourceDirectory = 2,
  baseRelocationDirectory = 5,
  tlsDirectory = 9,
  directoryCount = 16,
};

struct DataDirectory {
  uint32_t virtualAddress = 0;
  uint32_t size = 0;
};

struct Headers {
  uint16_t machine = 0;
  uint16_t characteristics = 0;
  uint16_t optionalMagic = 0;
  uint32_t entryPoint = 0;
  uint32_t imageBase = 0;
  uint16_t majorOsVersion = 0;
  uint16_t minorOsVersion = 0;
  uint16_t majorSubsystemVersion = 0;
  uint16_t minorSubsystemVersion = 0;
  uint16_t subsystem = 0;
  uint16_t dllCharacteristics = 0;
  DataDirectory directories[directoryCount];
};

struct Section {
  std::string name;
  uint32_t virtualAddress = 0;
  uint32_t virtualSize = 0;
  uint32_t rawOffset = 0;
  uint32_t rawSize = 0;
  uint32_t characteristics = 0;
};

struct ImportedFunction {
  std::string name;      // empty when imported by ordinal
  uint16_t ordinal = 0;  // the ordinal, or the hint for a named import
  bool byOrdinal = false;
};

struct ImportedModule {
  std::string dllName;
  std::vector<ImportedFunction> functions;
};

struct Export {
  uint16_t ordinal = 0;  // base + index in the address table
  std::string name;      // empty when exported by ordinal only
  uint32_t rva = 0;
};

struct ExportTable {
  std::string dllName;
  uint32_t base = 0;
  std::vector<Export> entries;  // address table order; unused slots left out
};

// A resource type or name: a number, or a string (kept as 8-bit text).
struct ResourceId {
  bool isName = false;
  uint16_t number = 0;
  std::string name;
  bool operator==(const ResourceId& other) const;
};
ResourceId resourceNumber(uint16_t number);
ResourceId resourceName(const std::string& name);
std::string describe(const ResourceId& id);

struct Resource {
  ResourceId type;
  ResourceId name;
  uint16_t language = 0;
  uint32_t codePage = 0;
  std::vector<uint8_t> data;
};

// Standard resource types.
const uint16_t resourceTypeBitmap = 2;
const uint16_t resourceTypeIcon = 3;
const uint16_t resourceTypeDialog = 5;
const uint16_t resourceTypeString = 6;
const uint16_t resourceTypeRcdata = 10;
const uint16_t resourceTypeGroupIcon = 14;
const uint16_t resourceTypeVersion = 16;

struct Image {
  Headers headers;
  std::vector<Section> sections;
  std::vector<ImportedModule> imports;
  ExportTable exports;
  std::vector<Resource> resources;
  std::vector<uint8_t> bytes;  // the whole file

  bool isDll() const { return (headers.characteristics & fileDll) != 0; }
  const DataDirectory& directory(DirectoryIndex index) const { return headers.directories[index]; }
  // The section holding rva, or null.
  const Section* sectionAt(uint32_t rva) const;
  const Section* sectionNamed(const std::string& name) const;
  // The resources of one type and name, in every language.
  std::vector<const Resource*> findResources(const ResourceId& type, const ResourceId& name) const;
  // The file bytes of a section (its raw data only).
  std::vector<uint8_t> sectionBytes(const Section& section) const;
};

// Parses an image held in memory. On failure, error says what was wrong.
std::optional<Image> parseImage(std::vector<uint8_t> bytes, std::string* error);
std::optional<Image> readImage(const std::string& path, std::string* error);

}  // namespace pe
