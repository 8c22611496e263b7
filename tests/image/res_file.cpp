#include "tests/image/res_file.h"

#include <fstream>
#include <iterator>

namespace res {

namespace {

const uint16_t ordinalMarker = 0xFFFF;
const uint16_t extendedSignature = 0xFFFF;  // DLGTEMPLATEEX starts 1, 0xFFFF
const uint32_t dsSetFont = 0x40;

// Reads little-endian fields from a byte range, remembering overruns.
class Reader {
 public:
  Reader(const std::vector<uint8_t>& bytes, size_t start, size_t end)
      : bytes_(bytes), at_(start), end_(end) {}

  uint16_t word() {
    if (at_ + 2 > end_) {
      failed_ = true;
      at_ = end_;
      return 0;
    }
    uint16_t value = static_cast<uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
    at_ += 2;
    return value;
  }
  uint32_t dword() {
    uint32_t low = word();
    return low | (static_cast<uint32_t>(word()) << 16);
  }
  int16_t shortValue() { return static_cast<int16_t>(word()); }

  // A zero-ended UTF-16 string, as 8-bit characters.
  std::string string() {
    std::string text;
    for (uint16_t c = word(); c != 0 && !failed_; c = word()) {
      text += c < 0x100 ? static_cast<char>(c) : '?';
    }
    return text;
  }

  NameOrOrdinal nameOrOrdinal() {
    NameOrOrdinal n;
    size_t mark = at_;
    if (word() == ordinalMarker) {
      n.isOrdinal = true;
      n.ordinal = word();
    } else {
      at_ = mark;
      n.text = string();
    }
    return n;
  }

  // A dialog's menu and class: 0 for none, 0xFFFF and an ordinal, or a string.
  NameOrOrdinal optionalNameOrOrdinal() {
    size_t mark = at_;
    if (word() == 0) return NameOrOrdinal();
    at_ = mark;
    return nameOrOrdinal();
  }

  void alignTo(size_t boundary, size_t base) {
    while ((at_ - base) % boundary != 0) at_++;
    if (at_ > end_) {
      failed_ = true;
      at_ = end_;
    }
  }

  void skip(size_t count) {
    if (at_ + count > end_) {
      failed_ = true;
      count = end_ - at_;
    }
    at_ += count;
  }

  size_t at() const { return at_; }
  bool failed() const { return failed_; }

 private:
  const std::vector<uint8_t>& bytes_;
  size_t at_;
  size_t end_;
  bool failed_ = false;
};

}  // namespace

std::string describe(const NameOrOrdinal& n) {
  if (n.isOrdinal) return "#" + std::to_string(n.ordinal);
  return "\"" + n.text + "\"";
}

bool readResFile(const std::string& path, std::vector<Resource>* resources, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = "no resource file " + path + " (configure and build the win32 build first)";
    return false;
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  resources->clear();
  size_t at = 0;
  bool first = true;
  while (at < bytes.size()) {
    Reader header(bytes, at, bytes.size());
    const uint32_t dataSize = header.dword();
    const uint32_t headerSize = header.dword();
    if (header.failed() || headerSize < 16 || at + headerSize + dataSize > bytes.size()) {
      *error = "truncated resource entry at offset " + std::to_string(at);
      return false;
    }
    Reader fields(bytes, at + 8, at + headerSize);
    Resource resource;
    resource.type = fields.nameOrOrdinal();
    resource.name = fields.nameOrOrdinal();
    fields.alignTo(4, at);
    fields.dword();  // data version
    resource.memoryFlags = fields.word();
    resource.language = fields.word();
    if (fields.failed()) {
      *error = "malformed resource header at offset " + std::to_string(at);
      return false;
    }
    const size_t dataStart = at + headerSize;
    resource.data.assign(bytes.begin() + dataStart, bytes.begin() + dataStart + dataSize);
    // The file starts with an empty entry that marks it as 32-bit.
    if (!(first && dataSize == 0)) resources->push_back(resource);
    first = false;
    at = dataStart + dataSize;
    at = (at + 3) & ~static_cast<size_t>(3);
  }
  return true;
}

const Resource* findResource(const std::vector<Resource>& resources, uint16_t type, uint16_t id) {
  for (const Resource& r : resources) {
    if (r.type.isOrdinal && r.type.ordinal == type && r.name.isOrdinal && r.name.ordinal == id) {
      return &r;
    }
  }
  return nullptr;
}

bool parseDialog(const std::vector<uint8_t>& data, DialogTemplate* dialog, std::string* error) {
  Reader r(data, 0, data.size());
  dialog->style = r.dword();
  if ((dialog->style >> 16) == extendedSignature && (dialog->style & 0xFFFF) == 1) {
    *error = "an extended dialog template";
    return false;
  }
  dialog->exStyle = r.dword();
  dialog->itemCount = r.word();
  dialog->x = r.shortValue();
  dialog->y = r.shortValue();
  dialog->cx = r.shortValue();
  dialog->cy = r.shortValue();
  dialog->menu = r.optionalNameOrOrdinal();
  dialog->windowClass = r.optionalNameOrOrdinal();
  dialog->caption = r.string();
  dialog->hasFont = (dialog->style & dsSetFont) != 0;
  if (dialog->hasFont) {
    dialog->pointSize = r.word();
    dialog->font = r.string();
  }
  dialog->items.clear();
  for (uint16_t i = 0; i < dialog->itemCount && !r.failed(); ++i) {
    r.alignTo(4, 0);
    DialogItem item;
    item.style = r.dword();
    item.exStyle = r.dword();
    item.x = r.shortValue();
    item.y = r.shortValue();
    item.cx = r.shortValue();
    item.cy = r.shortValue();
    item.id = r.word();
    item.windowClass = r.nameOrOrdinal();
    item.text = r.nameOrOrdinal();
    item.creationDataSize = r.word();
    r.skip(item.creationDataSize);
    dialog->items.push_back(item);
  }
  if (r.failed()) {
    *error = "dialog template shorter than its fields";
    return false;
  }
  return true;
}

}  // namespace res
