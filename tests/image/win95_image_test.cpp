// The Windows 95 image rules, checked on every image the win32 build makes.
// The list of images comes from the build itself (win95_images.txt), so a
// new image is checked as soon as its target exists, and an image that the
// build should have made but did not fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "tests/image/image_manifest.h"
#include "tests/image/pe_image.h"

namespace {

const uint16_t windows95Major = 4;
const uint16_t windows95Minor = 0;
const std::set<std::string> windows95Dlls = {"KERNEL32", "USER32", "GDI32", "ADVAPI32", "COMCTL32"};
// Sections the compiler writes for exceptions and unwinding, and for TLS.
const std::set<std::string> forbiddenSections = {".eh_frame", ".pdata", ".xdata", ".tls",
                                                 ".gcc_except_table"};

std::set<std::string> allowedImports(const ImageRow& row) {
  std::string error;
  std::set<std::string> allowed = readAllowList(OBX_WIN95_IMPORTS, &error);
  EXPECT_EQ(error, "");
  if (!row.shipped) {
    const std::set<std::string> probe = readAllowList(OBX_PROBE_IMPORTS, &error);
    EXPECT_EQ(error, "");
    allowed.insert(probe.begin(), probe.end());
  }
  return allowed;
}

TEST(ImageListTest, Win32BuildListsItsImagesAndMadeThem) {
  std::string error;
  const auto rows = readImageManifest(std::string(win32BinaryDir()) + "/win95_images.txt", &error);
  ASSERT_EQ(error, "");
  for (const ImageRow& row : rows) {
    EXPECT_TRUE(std::filesystem::is_regular_file(row.path)) << "not built: " << row.path;
  }
}

class ImageRulesTest : public ::testing::TestWithParam<ImageRow> {
 protected:
  void SetUp() override {
    std::string error;
    image = pe::readImage(GetParam().path, &error);
    ASSERT_TRUE(image.has_value()) << error;
  }
  std::optional<pe::Image> image;
};

TEST_P(ImageRulesTest, IsPe32ForI386OfItsKind) {
  EXPECT_EQ(image->headers.machine, pe::machineI386);
  EXPECT_EQ(image->headers.optionalMagic, pe::optionalMagicPe32);
  EXPECT_EQ(image->isDll(), GetParam().isDll);
}

TEST_P(ImageRulesTest, HasWindows95GuiHeader) {
  const pe::Headers& h = image->headers;
  EXPECT_EQ(h.subsystem, pe::subsystemWindowsGui);
  EXPECT_EQ(h.majorSubsystemVersion, windows95Major);
  EXPECT_EQ(h.minorSubsystemVersion, windows95Minor);
  EXPECT_EQ(h.majorOsVersion, windows95Major);
  EXPECT_EQ(h.minorOsVersion, windows95Minor);
}

TEST_P(ImageRulesTest, DllKeepsItsRelocations) {
  if (!GetParam().isDll) GTEST_SKIP() << "a program loads at its preferred base";
  EXPECT_EQ(image->headers.characteristics & pe::fileRelocsStripped, 0);
  EXPECT_NE(image->directory(pe::baseRelocationDirectory).size, 0u);
  EXPECT_NE(image->sectionNamed(".reloc"), nullptr);
}

TEST_P(ImageRulesTest, ImportsOnlyFromWindows95SystemDlls) {
  EXPECT_FALSE(image->imports.empty());
  for (const pe::ImportedModule& module : image->imports) {
    const std::string base = moduleBaseName(module.dllName);
    EXPECT_EQ(base.find("MSVCR"), std::string::npos) << "imports a C runtime: " << module.dllName;
    EXPECT_TRUE(windows95Dlls.count(base) == 1) << "imports from " << module.dllName;
  }
}

TEST_P(ImageRulesTest, ImportsOnlyAllowedWindows95Functions) {
  const std::set<std::string> allowed = allowedImports(GetParam());
  ASSERT_FALSE(allowed.empty());
  for (const pe::ImportedModule& module : image->imports) {
    for (const pe::ImportedFunction& function : module.functions) {
      // Ordinals of the system DLLs differ between Windows versions.
      EXPECT_FALSE(function.byOrdinal)
          << module.dllName << " ordinal " << function.ordinal << " imported by number";
      if (function.byOrdinal) continue;
      EXPECT_TRUE(allowed.count(importKey(module.dllName, function.name)) == 1)
          << module.dllName << " " << function.name
          << " is not on the allow-list of Windows 95 functions";
    }
  }
}

TEST_P(ImageRulesTest, HasNoTlsExceptionOrUnwindData) {
  EXPECT_EQ(image->directory(pe::tlsDirectory).virtualAddress, 0u);
  EXPECT_EQ(image->directory(pe::tlsDirectory).size, 0u);
  for (const pe::Section& section : image->sections) {
    EXPECT_EQ(forbiddenSections.count(section.name), 0u) << "section " << section.name;
  }
}

TEST_P(ImageRulesTest, EntryPointIsInCode) {
  const uint32_t executable = 0x20000000;  // IMAGE_SCN_MEM_EXECUTE
  const pe::Section* section = image->sectionAt(image->headers.entryPoint);
  ASSERT_NE(section, nullptr);
  EXPECT_NE(section->characteristics & executable, 0u) << section->name;
}

std::string testName(const ::testing::TestParamInfo<ImageRow>& info) {
  std::string name = info.param.label;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Win32Build, ImageRulesTest, ::testing::ValuesIn(win32BuildImages()),
                         testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ImageRulesTest);

}  // namespace
