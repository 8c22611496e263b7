#include "tests/image/image_manifest.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const char manifestName[] = "win95_images.txt";

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool isInside(const std::filesystem::path& file, const std::filesystem::path& folder) {
  const auto f = std::filesystem::weakly_canonical(file);
  const auto d = std::filesystem::weakly_canonical(folder);
  return std::mismatch(d.begin(), d.end(), f.begin(), f.end()).first == d.end();
}

}  // namespace

const char* win32BinaryDir() { return OBX_WIN32_BINARY_DIR; }
const char* distDir() { return OBX_DIST_DIR; }
const char* objdumpCommand() { return OBX_OBJDUMP; }

std::vector<ImageRow> readImageManifest(const std::string& manifestPath, std::string* error) {
  std::vector<ImageRow> rows;
  std::ifstream file(manifestPath);
  if (!file) {
    *error = "no image list " + manifestPath + " (configure and build the win32 build first)";
    return rows;
  }
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty()) continue;
    const size_t blank = line.find(' ');
    ImageRow row;
    const std::string kind = line.substr(0, blank);
    if (blank == std::string::npos || (kind != "DLL" && kind != "PROGRAM")) {
      *error = "bad line in " + manifestPath + ": " + line;
      return {};
    }
    row.isDll = kind == "DLL";
    row.path = line.substr(blank + 1);
    row.shipped = isInside(row.path, distDir());
    row.label = std::filesystem::path(row.path).filename().string();
    rows.push_back(row);
  }
  if (rows.empty()) *error = manifestPath + " lists no image";
  return rows;
}

std::vector<ImageRow> win32BuildImages() {
  std::string error;
  return readImageManifest(std::string(win32BinaryDir()) + "/" + manifestName, &error);
}

std::string moduleBaseName(const std::string& dllName) {
  std::string base = upper(dllName);
  const std::string suffix = ".DLL";
  if (base.size() > suffix.size() &&
      base.compare(base.size() - suffix.size(), suffix.size(), suffix) == 0) {
    base.erase(base.size() - suffix.size());
  }
  return base;
}

std::string importKey(const std::string& dllName, const std::string& function) {
  return moduleBaseName(dllName) + " " + function;
}

std::set<std::string> readAllowList(const std::string& path, std::string* error) {
  std::set<std::string> entries;
  std::ifstream file(path);
  if (!file) {
    *error = "cannot read allow-list " + path;
    return entries;
  }
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream words(line);
    std::string dll, function, extra;
    if (!(words >> dll) || dll[0] == '#') continue;
    if (!(words >> function) || (words >> extra)) {
      *error = "bad line in " + path + ": " + line;
      return {};
    }
    entries.insert(importKey(dll, function));
  }
  return entries;
}

std::vector<std::string> win32BuildObjects() {
  std::vector<std::string> objects;
  std::error_code ignored;
  for (auto it = std::filesystem::recursive_directory_iterator(win32BinaryDir(), ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    const std::string path = it->path().string();
    // Target objects live in <target>.dir; CMake's compiler checks do not.
    if (it->path().extension() == ".obj" && path.find(".dir/") != std::string::npos) {
      objects.push_back(path);
    }
  }
  std::sort(objects.begin(), objects.end());
  return objects;
}
