#include "tests/image/pe_image.h"

#include <fstream>
#include <iterator>
#include <set>

namespace pe {

namespace {

const uint16_t dosMagic = 0x5A4D;         // "MZ"
const uint32_t peSignature = 0x00004550;  // "PE\0\0"
const uint32_t dosLfanewOffset = 0x3C;
const uint32_t fileHeaderSize = 20;
const uint32_t sectionHeaderSize = 40;
const uint32_t sectionNameSize = 8;
const uint32_t importDescriptorSize = 20;
const uint32_t ordinalFlag32 = 0x80000000u;
const uint32_t resourceDirectoryHeaderSize = 16;
const uint32_t resourceEntrySize = 8;
const uint32_t resourceDataEntrySize = 16;
const uint32_t resourceHighBit = 0x80000000u;
const int resourceLevels = 3;  // type, name, language
const size_t maxNameLength = 4096;

// Offsets in the optional header of PE32.
const uint32_t optEntryPoint = 16;
const uint32_t optImageBase = 28;
const uint32_t optMajorOsVersion = 40;
const uint32_t optMinorOsVersion = 42;
const uint32_t optMajorSubsystemVersion = 48;
const uint32_t optMinorSubsystemVersion = 50;
const uint32_t optSubsystem = 68;
const uint32_t optDllCharacteristics = 70;
const uint32_t optNumberOfRvaAndSizes = 92;
const uint32_t optDirectories = 96;

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  bool has(uint64_t offset, uint64_t size) const {
    return offset <= bytes_.size() && size <= bytes_.size() - offset;
  }
  std::optional<uint16_t> u16(uint64_t offset) const {
    if (!has(offset, 2)) return std::nullopt;
    return static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
  }
  std::optional<uint32_t> u32(uint64_t offset) const {
    if (!has(offset, 4)) return std::nullopt;
    return static_cast<uint32_t>(bytes_[offset]) | static_cast<uint32_t>(bytes_[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes_[offset + 2]) << 16 |
           static_cast<uint32_t>(bytes_[offset + 3]) << 24;
  }
  // A zero-terminated string; null when it runs off the file.
  std::optional<std::string> text(uint64_t offset) const {
    std::string out;
    while (has(offset, 1) && out.size() < maxNameLength) {
      const char c = static_cast<char>(bytes_[offset++]);
      if (c == '\0') return out;
      out += c;
    }
    return std::nullopt;
  }

 private:
  const std::vector<uint8_t>& bytes_;
};

struct Parser {
  const Image& image;
  Reader reader;
  std::string error;

  bool fail(const std::string& what) {
    if (error.empty()) error = what;
    return false;
  }

  // The file offset of rva, with size bytes behind it inside one section.
  std::optional<uint64_t> fileOffset(uint32_t rva, uint32_t size = 1) const {
    const Section* section = image.sectionAt(rva);
    if (section == nullptr) return std::nullopt;
    const uint64_t within = rva - section->virtualAddress;
    if (within + size > section->rawSize) return std::nullopt;
    return section->rawOffset + within;
  }
  std::optional<uint32_t> u32At(uint32_t rva) const {
    const auto offset = fileOffset(rva, 4);
    if (!offset) return std::nullopt;
    return reader.u32(*offset);
  }
  std::optional<uint16_t> u16At(uint32_t rva) const {
    const auto offset = fileOffset(rva, 2);
    if (!offset) return std::nullopt;
    return reader.u16(*offset);
  }
  std::optional<std::string> textAt(uint32_t rva) const {
    const auto offset = fileOffset(rva);
    if (!offset) return std::nullopt;
    return reader.text(*offset);
  }
};

bool parseHeaders(Parser& p, Image& image, uint32_t* sectionTable, uint16_t* sectionCount) {
  const Reader& r = p.reader;
  if (r.u16(0) != dosMagic) return p.fail("no MZ header");
  const auto peOffset = r.u32(dosLfanewOffset);
  if (!peOffset || r.u32(*peOffset) != peSignature) return p.fail("no PE signature");
  const uint64_t fileHeader = *peOffset + 4;
  const auto machine = r.u16(fileHeader);
  const auto count = r.u16(fileHeader + 2);
  const auto optionalSize = r.u16(fileHeader + 16);
  const auto characteristics = r.u16(fileHeader + 18);
  if (!machine || !count || !optionalSize || !characteristics) {
    return p.fail("file header cut off");
  }
  Headers& h = image.headers;
  h.machine = *machine;
  h.characteristics = *characteristics;
  const uint64_t opt = fileHeader + fileHeaderSize;
  if (!r.has(opt, *optionalSize)) return p.fail("optional header cut off");
  h.optionalMagic = r.u16(opt).value_or(0);
  if (h.optionalMagic != optionalMagicPe32 || *optionalSize < optDirectories) {
    return p.fail("not a PE32 optional header");
  }
  h.entryPoint = *r.u32(opt + optEntryPoint);
  h.imageBase = *r.u32(opt + optImageBase);
  h.majorOsVersion = *r.u16(opt + optMajorOsVersion);
  h.minorOsVersion = *r.u16(opt + optMinorOsVersion);
  h.majorSubsystemVersion = *r.u16(opt + optMajorSubsystemVersion);
  h.minorSubsystemVersion = *r.u16(opt + optMinorSubsystemVersion);
  h.subsystem = *r.u16(opt + optSubsystem);
  h.dllCharacteristics = *r.u16(opt + optDllCharacteristics);
  uint32_t directories = *r.u32(opt + optNumberOfRvaAndSizes);
  if (directories > directoryCount) directories = directoryCount;
  if (optDirectories + directories * 8 > *optionalSize) return p.fail("directories cut off");
  for (uint32_t i = 0; i < directories; ++i) {
    h.directories[i].virtualAddress = *r.u32(opt + optDirectories + i * 8);
    h.directories[i].size = *r.u32(opt + optDirectories + i * 8 + 4);
  }
  *sectionTable = static_cast<uint32_t>(opt + *optionalSize);
  *sectionCount = *count;
  return true;
}

bool parseSections(Parser& p, Image& image, uint32_t table, uint16_t count) {
  if (!p.reader.has(table, static_cast<uint64_t>(count) * sectionHeaderSize)) {
    return p.fail("section table cut off");
  }
  for (uint16_t i = 0; i < count; ++i) {
    const uint32_t at = table + i * sectionHeaderSize;
    Section s;
    for (uint32_t c = 0; c < sectionNameSize && image.bytes[at + c] != 0; ++c) {
      s.name += static_cast<char>(image.bytes[at + c]);
    }
    s.virtualSize = *p.reader.u32(at + 8);
    s.virtualAddress = *p.reader.u32(at + 12);
    s.rawSize = *p.reader.u32(at + 16);
    s.rawOffset = *p.reader.u32(at + 20);
    s.characteristics = *p.reader.u32(at + 36);
    if (s.rawSize != 0 && !p.reader.has(s.rawOffset, s.rawSize)) {
      return p.fail("section " + s.name + " runs off the file");
    }
    image.sections.push_back(s);
  }
  return true;
}

bool parseImports(Parser& p, Image& image) {
  const DataDirectory& dir = image.directory(importDirectory);
  if (dir.virtualAddress == 0) return true;
  for (uint32_t at = dir.virtualAddress;; at += importDescriptorSize) {
    const auto lookup = p.u32At(at);
    const auto nameRva = p.u32At(at + 12);
    const auto addressTable = p.u32At(at + 16);
    if (!lookup || !nameRva || !addressTable) return p.fail("import descriptor cut off");
    if (*lookup == 0 && *nameRva == 0 && *addressTable == 0) return true;
    ImportedModule module;
    const auto dllName = p.textAt(*nameRva);
    if (!dllName) return p.fail("import DLL name cut off");
    module.dllName = *dllName;
    // The lookup table may be missing (bound images); the address table
    // holds the same entries in an image on disk.
    for (uint32_t entry = *lookup != 0 ? *lookup : *addressTable;; entry += 4) {
      const auto thunk = p.u32At(entry);
      if (!thunk) return p.fail("import table of " + module.dllName + " cut off");
      if (*thunk == 0) break;
      ImportedFunction function;
      if ((*thunk & ordinalFlag32) != 0) {
        function.byOrdinal = true;
        function.ordinal = static_cast<uint16_t>(*thunk & 0xFFFF);
      } else {
        const auto hint = p.u16At(*thunk);
        const auto name = p.textAt(*thunk + 2);
        if (!hint || !name) return p.fail("import name in " + module.dllName + " cut off");
        function.ordinal = *hint;
        function.name = *name;
      }
      module.functions.push_back(function);
    }
    image.imports.push_back(module);
  }
}

bool parseExports(Parser& p, Image& image) {
  const DataDirectory& dir = image.directory(exportDirectory);
  if (dir.virtualAddress == 0) return true;
  const uint32_t at = dir.virtualAddress;
  const auto nameRva = p.u32At(at + 12);
  const auto base = p.u32At(at + 16);
  const auto addressCount = p.u32At(at + 20);
  const auto nameCount = p.u32At(at + 24);
  const auto addresses = p.u32At(at + 28);
  const auto names = p.u32At(at + 32);
  const auto ordinals = p.u32At(at + 36);
  if (!nameRva || !base || !addressCount || !nameCount || !addresses || !names || !ordinals) {
    return p.fail("export directory cut off");
  }
  const auto dllName = p.textAt(*nameRva);
  if (!dllName) return p.fail("export DLL name cut off");
  ExportTable& table = image.exports;
  table.dllName = *dllName;
  table.base = *base;
  std::vector<std::string> entryNames(*addressCount);
  if (*addressCount > image.bytes.size() || *nameCount > image.bytes.size()) {
    return p.fail("export counts beyond the file");
  }
  for (uint32_t i = 0; i < *nameCount; ++i) {
    const auto namePointer = p.u32At(*names + i * 4);
    const auto index = p.u16At(*ordinals + i * 2);
    if (!namePointer || !index) return p.fail("export name table cut off");
    const auto name = p.textAt(*namePointer);
    if (!name || *index >= *addressCount) return p.fail("export name entry invalid");
    entryNames[*index] = *name;
  }
  for (uint32_t i = 0; i < *addressCount; ++i) {
    const auto rva = p.u32At(*addresses + i * 4);
    if (!rva) return p.fail("export address table cut off");
    if (*rva == 0) continue;
    table.entries.push_back({static_cast<uint16_t>(*base + i), entryNames[i], *rva});
  }
  return true;
}

struct ResourceWalk {
  Parser& p;
  Image& image;
  uint32_t root;               // rva of the resource directory
  std::set<uint32_t> visited;  // guards against loops in a damaged tree

  std::optional<ResourceId> entryId(uint32_t nameField) {
    ResourceId id;
    if ((nameField & resourceHighBit) == 0) {
      id.number = static_cast<uint16_t>(nameField);
      return id;
    }
    // A counted UTF-16 string; the names here are ASCII.
    const uint32_t at = root + (nameField & ~resourceHighBit);
    const auto length = p.u16At(at);
    if (!length) return std::nullopt;
    id.isName = true;
    for (uint32_t i = 0; i < *length; ++i) {
      const auto unit = p.u16At(at + 2 + i * 2);
      if (!unit) return std::nullopt;
      id.name += *unit < 0x80 ? static_cast<char>(*unit) : '?';
    }
    return id;
  }

  bool walk(uint32_t directory, int level, Resource path) {
    if (!visited.insert(directory).second) return p.fail("resource tree loops");
    const uint32_t at = root + directory;
    const auto named = p.u16At(at + 12);
    const auto numbered = p.u16At(at + 14);
    if (!named || !numbered) return p.fail("resource directory cut off");
    const uint32_t entries = *named + *numbered;
    for (uint32_t i = 0; i < entries; ++i) {
      const uint32_t entry = at + resourceDirectoryHeaderSize + i * resourceEntrySize;
      const auto nameField = p.u32At(entry);
      const auto target = p.u32At(entry + 4);
      if (!nameField || !target) return p.fail("resource entry cut off");
      const auto id = entryId(*nameField);
      if (!id) return p.fail("resource name cut off");
      Resource next = path;
      if (level == 0) next.type = *id;
      if (level == 1) next.name = *id;
      if (level == 2) next.language = id->number;
      const bool isDirectory = (*target & resourceHighBit) != 0;
      if (isDirectory != (level < resourceLevels - 1)) return p.fail("resource tree misshapen");
      if (isDirectory) {
        if (!walk(*target & ~resourceHighBit, level + 1, next)) return false;
        continue;
      }
      const auto dataRva = p.u32At(root + *target);
      const auto size = p.u32At(root + *target + 4);
      const auto codePage = p.u32At(root + *target + 8);
      if (!dataRva || !size || !codePage) return p.fail("resource data entry cut off");
      const auto offset = p.fileOffset(*dataRva, *size);
      if (*size != 0 && !offset) return p.fail("resource data outside the image");
      next.codePage = *codePage;
      if (*size != 0) {
        next.data.assign(image.bytes.begin() + *offset, image.bytes.begin() + *offset + *size);
      }
      image.resources.push_back(next);
    }
    return true;
  }
};

bool parseResources(Parser& p, Image& image) {
  const DataDirectory& dir = image.directory(resourceDirectory);
  if (dir.virtualAddress == 0) return true;
  ResourceWalk walk{p, image, dir.virtualAddress, {}};
  return walk.walk(0, 0, Resource());
}

}  // namespace

bool ResourceId::operator==(const ResourceId& other) const {
  return isName == other.isName && (isName ? name == other.name : number == other.number);
}

ResourceId resourceNumber(uint16_t number) {
  ResourceId id;
  id.number = number;
  return id;
}

ResourceId resourceName(const std::string& name) {
  ResourceId id;
  id.isName = true;
  id.name = name;
  return id;
}

std::string describe(const ResourceId& id) {
  return id.isName ? "\"" + id.name + "\"" : std::to_string(id.number);
}

const Section* Image::sectionAt(uint32_t rva) const {
  for (const Section& s : sections) {
    const uint32_t extent = s.virtualSize != 0 ? s.virtualSize : s.rawSize;
    if (rva >= s.virtualAddress && rva - s.virtualAddress < extent) return &s;
  }
  return nullptr;
}

const Section* Image::sectionNamed(const std::string& name) const {
  for (const Section& s : sections) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

std::vector<const Resource*> Image::findResources(const ResourceId& type,
                                                  const ResourceId& name) const {
  std::vector<const Resource*> found;
  for (const Resource& r : resources) {
    if (r.type == type && r.name == name) found.push_back(&r);
  }
  return found;
}

std::vector<uint8_t> Image::sectionBytes(const Section& section) const {
  return std::vector<uint8_t>(bytes.begin() + section.rawOffset,
                              bytes.begin() + section.rawOffset + section.rawSize);
}

std::optional<Image> parseImage(std::vector<uint8_t> bytes, std::string* error) {
  Image image;
  image.bytes = std::move(bytes);
  Parser p{image, Reader(image.bytes), {}};
  uint32_t sectionTable = 0;
  uint16_t sectionCount = 0;
  const bool parsed = parseHeaders(p, image, &sectionTable, &sectionCount) &&
                      parseSections(p, image, sectionTable, sectionCount) &&
                      parseImports(p, image) && parseExports(p, image) && parseResources(p, image);
  if (!parsed) {
    if (error != nullptr) *error = p.error;
    return std::nullopt;
  }
  return image;
}

std::optional<Image> readImage(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error != nullptr) *error = "cannot open " + path;
    return std::nullopt;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
  std::string why;
  auto image = parseImage(std::move(bytes), &why);
  if (!image && error != nullptr) *error = path + ": " + why;
  return image;
}

}  // namespace pe
