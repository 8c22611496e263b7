#include "platform/host/profile_text.h"

#include <string.h>

namespace host {

namespace {

enum class LineKind { Blank, Comment, Section, Key, Other };

struct ProfileLine {
  size_t begin;  // first byte of the line
  size_t end;    // the byte after its text, before the line end
  size_t next;   // first byte of the following line
  LineKind kind;
  std::string name;   // section or key name
  std::string value;  // a key's value
};

// The platform counts the end-of-file mark 0x1A as white space as well.
bool isProfileSpace(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == 0x1A;
}

std::string trimmed(const std::string& text, size_t begin, size_t end) {
  while (begin < end && isProfileSpace(text[begin])) ++begin;
  while (end > begin && isProfileSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool sameName(const std::string& a, const char* b) {
  size_t length = strlen(b);
  if (a.size() != length) return false;
  for (size_t i = 0; i < length; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

void classify(const std::string& text, ProfileLine& line) {
  std::string content = trimmed(text, line.begin, line.end);
  line.kind = LineKind::Other;
  if (content.empty()) {
    line.kind = LineKind::Blank;
  } else if (content[0] == ';') {
    line.kind = LineKind::Comment;
  } else if (content[0] == '[' && content.find(']') != std::string::npos) {
    line.kind = LineKind::Section;
    line.name = content.substr(1, content.rfind(']') - 1);
  } else {
    size_t equals = content.find('=');
    if (equals != std::string::npos) {
      line.kind = LineKind::Key;
      line.name = trimmed(content, 0, equals);
      line.value = trimmed(content, equals + 1, content.size());
    }
  }
}

std::vector<ProfileLine> splitLines(const std::string& text) {
  std::vector<ProfileLine> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = begin;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    size_t next = end;
    if (next < text.size() && text[next] == '\r') ++next;
    if (next < text.size() && text[next] == '\n' && (next == end || text[end] == '\r')) ++next;
    ProfileLine line{begin, end, next, LineKind::Blank, std::string(), std::string()};
    classify(text, line);
    lines.push_back(line);
    begin = next;
  }
  return lines;
}

// The index of the first section header of that name, or lines.size().
size_t findSection(const std::vector<ProfileLine>& lines, const char* section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == LineKind::Section && sameName(lines[i].name, section)) return i;
  }
  return lines.size();
}

// The index after the section's last line: the next header or the end.
size_t sectionEnd(const std::vector<ProfileLine>& lines, size_t header) {
  size_t i = header + 1;
  while (i < lines.size() && lines[i].kind != LineKind::Section) ++i;
  return i;
}

size_t findKey(const std::vector<ProfileLine>& lines, size_t header, const char* key) {
  size_t end = sectionEnd(lines, header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines[i].kind == LineKind::Key && sameName(lines[i].name, key)) return i;
  }
  return end;
}

std::string lineEndOf(const std::string& text, const std::vector<ProfileLine>& lines) {
  for (const ProfileLine& line : lines) {
    if (line.next > line.end) return text.substr(line.end, line.next - line.end);
  }
  return "\r\n";
}

}  // namespace

bool findProfileValue(const std::string& text, const char* section, const char* key,
                      std::string* value) {
  std::vector<ProfileLine> lines = splitLines(text);
  size_t header = findSection(lines, section);
  if (header == lines.size()) return false;
  size_t found = findKey(lines, header, key);
  if (found == sectionEnd(lines, header)) return false;
  *value = lines[found].value;
  return true;
}

std::vector<std::string> profileKeyNames(const std::string& text, const char* section) {
  std::vector<std::string> names;
  std::vector<ProfileLine> lines = splitLines(text);
  size_t header = findSection(lines, section);
  if (header == lines.size()) return names;
  size_t end = sectionEnd(lines, header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines[i].kind == LineKind::Key && findKey(lines, header, lines[i].name.c_str()) == i) {
      names.push_back(lines[i].name);
    }
  }
  return names;
}

std::string withProfileValue(const std::string& text, const char* section, const char* key,
                             const char* value) {
  std::vector<ProfileLine> lines = splitLines(text);
  std::string lineEnd = lineEndOf(text, lines);
  size_t header = findSection(lines, section);
  if (header == lines.size()) {
    if (key == nullptr || value == nullptr) return text;
    std::string result = text;
    if (!result.empty() && result.back() != '\r' && result.back() != '\n') result += lineEnd;
    return result + "[" + section + "]" + lineEnd + key + "=" + value + lineEnd;
  }
  size_t end = sectionEnd(lines, header);
  if (key == nullptr) {
    size_t stop = end == lines.size() ? text.size() : lines[end].begin;
    return text.substr(0, lines[header].begin) + text.substr(stop);
  }
  size_t found = findKey(lines, header, key);
  if (found != end) {
    const ProfileLine& line = lines[found];
    if (value == nullptr) return text.substr(0, line.begin) + text.substr(line.next);
    return text.substr(0, line.begin) + line.name + "=" + value + text.substr(line.end);
  }
  if (value == nullptr) return text;
  // After the section's last line that is not blank.
  size_t last = end - 1;
  while (last > header && lines[last].kind == LineKind::Blank) --last;
  const ProfileLine& after = lines[last];
  std::string newLine = std::string(key) + "=" + value;
  if (after.next == after.end) {
    // The last line of the text has no line end yet.
    return text.substr(0, after.end) + lineEnd + newLine + text.substr(after.end);
  }
  return text.substr(0, after.next) + newLine + lineEnd + text.substr(after.next);
}

}  // namespace host
