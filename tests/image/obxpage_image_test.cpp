// The shipped OBXPage.dll beyond the rules every image follows: its two
// exports at ordinals 2 and 3 and nothing else, the description string in
// read-only data, the page calls and no registry or COM library import,
// and its size.
#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/image/image_manifest.h"
#include "tests/image/pe_image.h"

namespace {

const uint32_t sizeBudget = 24 * 1024;
const char description[] = "\"Ombrix Control Panel Extension to set refresh rates\"";
const uint32_t sectionWritable = 0x80000000;  // IMAGE_SCN_MEM_WRITE

std::string dllPath() { return std::string(distDir()) + "/OBXPage.dll"; }

class ObxPageImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    image = pe::readImage(dllPath(), &error);
    ASSERT_TRUE(image.has_value()) << error;
  }
  std::optional<pe::Image> image;
};

TEST_F(ObxPageImageTest, ExportsTheTwoServerEntriesByNameAtOrdinals2And3) {
  const pe::ExportTable& exports = image->exports;
  EXPECT_EQ(exports.dllName, "OBXPage.dll");
  EXPECT_EQ(exports.base, 2u) << "there is no ordinal 1";
  ASSERT_EQ(exports.entries.size(), 2u);
  EXPECT_EQ(exports.entries[0].ordinal, 2);
  EXPECT_EQ(exports.entries[0].name, "DllCanUnloadNow");
  EXPECT_EQ(exports.entries[1].ordinal, 3);
  EXPECT_EQ(exports.entries[1].name, "DllGetClassObject");
  for (const pe::Export& e : exports.entries) {
    const pe::Section* section = image->sectionAt(e.rva);
    ASSERT_NE(section, nullptr) << e.name;
    EXPECT_EQ(section->name, ".text") << e.name << " is code, not a forwarder";
  }
}

TEST_F(ObxPageImageTest, HoldsTheQuotedDescriptionInReadOnlyData) {
  ASSERT_EQ(strlen(description), 53u);
  const pe::Section* rdata = image->sectionNamed(".rdata");
  ASSERT_NE(rdata, nullptr);
  EXPECT_EQ(rdata->characteristics & sectionWritable, 0u);
  const std::vector<uint8_t> bytes = image->sectionBytes(*rdata);
  // The whole string with its terminating zero, so a longer text fails.
  const std::string wanted(description, sizeof description);
  const auto at = std::search(bytes.begin(), bytes.end(), wanted.begin(), wanted.end());
  EXPECT_NE(at, bytes.end()) << "no " << description << " in .rdata";
}

TEST_F(ObxPageImageTest, ImportsThePageCallsAndNoRegistryOrComLibrary) {
  bool create = false, destroy = false;
  for (const pe::ImportedModule& module : image->imports) {
    const std::string base = moduleBaseName(module.dllName);
    EXPECT_NE(base, "ADVAPI32") << "the library writes no registration";
    EXPECT_NE(base, "OLE32");
    for (const pe::ImportedFunction& f : module.functions) {
      if (base != "COMCTL32") continue;
      create = create || f.name == "CreatePropertySheetPageA";
      destroy = destroy || f.name == "DestroyPropertySheetPage";
    }
  }
  EXPECT_TRUE(create);
  EXPECT_TRUE(destroy);
}

TEST_F(ObxPageImageTest, FitsItsSizeBudget) {
  const uintmax_t size = std::filesystem::file_size(dllPath());
  EXPECT_LE(size, sizeBudget) << size << " bytes";
  EXPECT_EQ(size, image->bytes.size());
}

}  // namespace
