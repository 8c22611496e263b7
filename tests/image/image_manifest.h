// The images the win32 build makes, as it lists them (win95_images.txt,
// written by obx_win95_image), and the import allow-lists.
#pragma once

#include <set>
#include <string>
#include <vector>

struct ImageRow {
  std::string path;
  bool isDll = false;
  bool shipped = false;  // in the distribution folder, not a test program
  std::string label;     // file name, for test names and messages
};

// The rows of the manifest; error is set when it cannot be read.
std::vector<ImageRow> readImageManifest(const std::string& manifestPath, std::string* error);
std::vector<ImageRow> win32BuildImages();

// "KERNEL32 HeapAlloc" entries, the DLL in capitals without ".dll".
std::set<std::string> readAllowList(const std::string& path, std::string* error);
std::string importKey(const std::string& dllName, const std::string& function);
std::string moduleBaseName(const std::string& dllName);

// The win32 build's object files (those of its targets, not CMake's probes).
std::vector<std::string> win32BuildObjects();

const char* win32BinaryDir();
const char* distDir();
const char* objdumpCommand();
