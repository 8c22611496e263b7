// The PE reader on the runtime probe's images, whose exports, imports and
// resources are known, and on damaged copies of them.
#include "tests/image/pe_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/image/image_manifest.h"

namespace {

const uint16_t englishUs = 0x0409;
const uint16_t germanGermany = 0x0407;
const uint16_t probeConnectOrdinal = 5;

std::string probeImagePath(const std::string& fileName) {
  for (const ImageRow& row : win32BuildImages()) {
    if (row.label == fileName) return row.path;
  }
  ADD_FAILURE() << fileName << " is not among the win32 build's images";
  return "";
}

pe::Image readProbe(const std::string& fileName) {
  std::string error;
  auto image = pe::readImage(probeImagePath(fileName), &error);
  EXPECT_TRUE(image.has_value()) << error;
  return image ? *image : pe::Image();
}

TEST(PeImageTest, ReadsExportsWithTheirBaseAndOrdinals) {
  const pe::Image dll = readProbe("runtime_probe_dll.dll");
  EXPECT_EQ(dll.exports.dllName, "runtime_probe_dll.dll");
  EXPECT_EQ(dll.exports.base, probeConnectOrdinal);
  ASSERT_EQ(dll.exports.entries.size(), 1u);
  EXPECT_EQ(dll.exports.entries[0].name, "probeConnect");
  EXPECT_EQ(dll.exports.entries[0].ordinal, probeConnectOrdinal);
  const pe::Section* code = dll.sectionAt(dll.exports.entries[0].rva);
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(code->name, ".text");
}

TEST(PeImageTest, ReadsImportedDllsAndFunctionNames) {
  const pe::Image exe = readProbe("runtime_probe.exe");
  ASSERT_EQ(exe.imports.size(), 1u);
  EXPECT_EQ(moduleBaseName(exe.imports[0].dllName), "KERNEL32");
  std::vector<std::string> names;
  for (const pe::ImportedFunction& f : exe.imports[0].functions) names.push_back(f.name);
  for (const char* expected : {"GetCommandLineA", "HeapAlloc", "CreateProcessA", "FreeLibrary"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
  }
  EXPECT_TRUE(exe.exports.entries.empty());
}

TEST(PeImageTest, ReadsResourcesByTypeNameAndLanguage) {
  const pe::Image exe = readProbe("runtime_probe.exe");
  const pe::ResourceId rcdata = pe::resourceNumber(pe::resourceTypeRcdata);

  const auto numbered = exe.findResources(rcdata, pe::resourceNumber(1));
  ASSERT_EQ(numbered.size(), 1u);
  EXPECT_EQ(numbered[0]->language, englishUs);
  EXPECT_EQ(std::string(numbered[0]->data.begin(), numbered[0]->data.end()),
            "runtime probe resource");

  const auto named = exe.findResources(rcdata, pe::resourceName("PROBETEXT"));
  ASSERT_EQ(named.size(), 1u);
  EXPECT_EQ(named[0]->language, germanGermany);
  EXPECT_EQ(named[0]->data, (std::vector<uint8_t>{0x34, 0x12, 0x78, 0x56}));

  EXPECT_TRUE(exe.findResources(rcdata, pe::resourceNumber(2)).empty());
  EXPECT_EQ(exe.resources.size(), 2u);
}

// Every cut of the file and a few overwritten header fields: the reader
// answers with an error or a result, and never reads outside the bytes.
TEST(PeImageTest, DamagedImagesGiveErrorsNotCrashes) {
  const pe::Image dll = readProbe("runtime_probe_dll.dll");
  ASSERT_FALSE(dll.bytes.empty());
  for (size_t length = 0; length < dll.bytes.size(); length += 7) {
    std::vector<uint8_t> cut(dll.bytes.begin(), dll.bytes.begin() + length);
    std::string error;
    const auto image = pe::parseImage(cut, &error);
    if (!image) {
      EXPECT_NE(error, "") << "cut at " << length;
    }
  }
  std::string error;
  EXPECT_FALSE(pe::parseImage({}, &error));
  EXPECT_EQ(error, "no MZ header");

  std::vector<uint8_t> badOffset = dll.bytes;
  badOffset[0x3C] = 0xF0;
  badOffset[0x3F] = 0x7F;
  EXPECT_FALSE(pe::parseImage(badOffset, &error));
  EXPECT_EQ(error, "no PE signature");
}

}  // namespace
