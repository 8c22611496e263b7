// A reader of compiled resource files (.res, the 32-bit format windres
// -O res writes): the entries with their type, name, language and data,
// and the classic dialog template parsed into its fields.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace res {

// A resource or class name: an ordinal (0xFFFF, n) or a UTF-16 string,
// kept here as its 8-bit characters.
struct NameOrOrdinal {
  bool isOrdinal = false;
  uint16_t ordinal = 0;
  std::string text;
};
std::string describe(const NameOrOrdinal& n);  // "#128" or "\"BUTTON\""

struct Resource {
  NameOrOrdinal type;
  NameOrOrdinal name;
  uint16_t memoryFlags = 0;
  uint16_t language = 0;
  std::vector<uint8_t> data;
};

// Reads every entry after the file's leading empty one; false with error
// set when the file is missing or malformed.
bool readResFile(const std::string& path, std::vector<Resource>* resources, std::string* error);

// The resource of a numbered type with a numbered name, or null.
const Resource* findResource(const std::vector<Resource>& resources, uint16_t type, uint16_t id);

const uint16_t typeIcon = 3;
const uint16_t typeBitmap = 2;
const uint16_t typeDialog = 5;
const uint16_t typeGroupIcon = 14;

struct DialogItem {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  uint16_t id = 0;
  NameOrOrdinal windowClass;
  NameOrOrdinal text;
  uint16_t creationDataSize = 0;
};

struct DialogTemplate {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  uint16_t itemCount = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::string caption;
  bool hasFont = false;
  uint16_t pointSize = 0;
  std::string font;
  std::vector<DialogItem> items;
};

// Parses a DLGTEMPLATE (not the extended form); false with error set when
// the data is too short or is an extended template.
bool parseDialog(const std::vector<uint8_t>& data, DialogTemplate* dialog, std::string* error);

}  // namespace res
