#include "platform/host/profile_standin.h"

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace host {

namespace {

// Removes the last test's directory when the test program ends.
struct WindowsDirectory {
  std::string path;
  ~WindowsDirectory() { remove(); }
  void remove() {
    if (path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    path.clear();
  }
};

WindowsDirectory& current() {
  static WindowsDirectory directory;
  return directory;
}

bool isBareName(const char* fileName) {
  for (const char* c = fileName; *c != '\0'; ++c) {
    if (*c == '\\' || *c == '/' || *c == ':') return false;
  }
  return true;
}

}  // namespace

const std::string& windowsDirectory() {
  WindowsDirectory& directory = current();
  if (directory.path.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "obx-windows-XXXXXX").string();
    if (mkdtemp(&pattern[0]) == nullptr) {
      perror("mkdtemp");
      abort();
    }
    directory.path = pattern;
  }
  return directory.path;
}

std::string profileFilePath(const char* fileName) {
  if (!isBareName(fileName)) return fileName;
  std::string name = fileName;
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return windowsDirectory() + "/" + name;
}

void writeProfileFile(const char* fileName, const std::string& content) {
  std::ofstream file(profileFilePath(fileName), std::ios::binary | std::ios::trunc);
  file.write(content.data(), static_cast<std::streamsize>(content.size()));
}

bool readProfileFile(const char* fileName, std::string* content) {
  std::ifstream file(profileFilePath(fileName), std::ios::binary);
  if (!file) return false;
  content->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

bool profileFileExists(const char* fileName) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(profileFilePath(fileName), ignored);
}

void resetProfiles() { current().remove(); }

}  // namespace host
