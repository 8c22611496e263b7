// The shipped driver tools: each program within its size budget, the
// imports that show what each does (DrvSwitch asks the screen's colour
// depth and never shows a window; DrvRestore shows its dialog and message
// boxes and may restart Windows), and DrvRestore's template 102 parsed
// back from the image and compared with its layout field by field.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/image/pe_image.h"
#include "tests/image/res_file.h"

namespace {

const uintmax_t sizeBudget = 12 * 1024;

std::string distPath(const std::string& name) { return std::string(OBX_DIST_DIR) + "/" + name; }

std::optional<pe::Image> readProgram(const std::string& name) {
  std::string error;
  std::optional<pe::Image> image = pe::readImage(distPath(name), &error);
  EXPECT_TRUE(image.has_value()) << name << ": " << error;
  return image;
}

// "USER32 MessageBoxA" for every function imported by name.
std::set<std::string> importNames(const pe::Image& image) {
  std::set<std::string> names;
  for (const pe::ImportedModule& module : image.imports) {
    std::string base = module.dllName.substr(0, module.dllName.find('.'));
    for (char& c : base) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    for (const pe::ImportedFunction& f : module.functions) names.insert(base + " " + f.name);
  }
  return names;
}

class ProgramImageTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ProgramImageTest, FitsItsSizeBudget) {
  std::optional<pe::Image> image = readProgram(GetParam());
  ASSERT_TRUE(image.has_value());
  const uintmax_t size = std::filesystem::file_size(distPath(GetParam()));
  EXPECT_LE(size, sizeBudget) << size << " bytes";
  EXPECT_FALSE(image->isDll());
}

INSTANTIATE_TEST_SUITE_P(Dist, ProgramImageTest,
                         ::testing::Values("DrvSwitch.exe", "DrvRestore.exe"),
                         [](const ::testing::TestParamInfo<const char*>& row) {
                           std::string name = row.param;
                           return name.substr(0, name.find('.'));
                         });

TEST(DrvSwitchImageTest, AsksTheColourDepthAndShowsNothing) {
  std::optional<pe::Image> image = readProgram("DrvSwitch.exe");
  ASSERT_TRUE(image.has_value());
  const std::set<std::string> names = importNames(*image);
  for (const char* wanted : {"USER32 GetDC", "USER32 ReleaseDC", "GDI32 GetDeviceCaps",
                             "ADVAPI32 RegSetValueExA", "KERNEL32 WritePrivateProfileStringA"}) {
    EXPECT_EQ(1u, names.count(wanted)) << wanted;
  }
  for (const char* unwanted :
       {"USER32 MessageBoxA", "USER32 DialogBoxParamA", "USER32 ExitWindowsEx"}) {
    EXPECT_EQ(0u, names.count(unwanted)) << unwanted;
  }
  EXPECT_TRUE(image->resources.empty()) << "a program without a window has no templates";
}

TEST(DrvRestoreImageTest, ShowsItsDialogAndMayRestart) {
  std::optional<pe::Image> image = readProgram("DrvRestore.exe");
  ASSERT_TRUE(image.has_value());
  const std::set<std::string> names = importNames(*image);
  for (const char* wanted : {"USER32 DialogBoxParamA", "USER32 EndDialog", "USER32 MessageBoxA",
                             "USER32 ExitWindowsEx", "KERNEL32 GetPrivateProfileStringA"}) {
    EXPECT_EQ(1u, names.count(wanted)) << wanted;
  }
  EXPECT_EQ(0u, names.count("GDI32 GetDeviceCaps"));
}

struct ExpectedItem {
  uint16_t id;
  uint16_t windowClass;
  const char* text;
  uint32_t style;
  int16_t x, y, cx, cy;
};

const uint16_t buttonAtom = 0x0080;
const uint16_t staticAtom = 0x0082;
const uint32_t wsPopup = 0x80000000, wsVisible = 0x10000000, wsCaption = 0x00C00000,
               wsSysMenu = 0x00080000, dsModalFrame = 0x00000080, dsSetFont = 0x00000040;
const uint32_t wsChild = 0x40000000, wsTabStop = 0x00010000, wsGroup = 0x00020000;
const uint32_t bsDefPushButton = 0x1, ssCenter = 0x1;
const uint16_t noId = 0xFFFF;  // -1

const ExpectedItem restoreInfoItems[] = {
    {1, buttonAtom, "OK", wsChild | wsVisible | wsTabStop | bsDefPushButton, 54, 52, 50, 14},
    {noId, staticAtom, "This application will restore the ombrix driver to your original driver",
     wsChild | wsVisible | wsGroup | ssCenter, 8, 10, 152, 19},
    {noId, staticAtom, "Ombrix International Co.", wsChild | wsVisible | wsGroup | ssCenter, 8, 34,
     151, 11},
};

TEST(DrvRestoreImageTest, Template102MatchesItsLayoutFieldByField) {
  std::optional<pe::Image> image = readProgram("DrvRestore.exe");
  ASSERT_TRUE(image.has_value());
  const std::vector<const pe::Resource*> found =
      image->findResources(pe::resourceNumber(pe::resourceTypeDialog), pe::resourceNumber(102));
  ASSERT_EQ(1u, found.size()) << "one template 102, in one language";
  res::DialogTemplate dialog;
  std::string error;
  ASSERT_TRUE(res::parseDialog(found[0]->data, &dialog, &error)) << error;

  EXPECT_EQ(wsPopup | wsVisible | wsCaption | wsSysMenu | dsModalFrame | dsSetFont, dialog.style)
      << std::hex << dialog.style;
  EXPECT_EQ(0u, dialog.exStyle);
  EXPECT_EQ(80, dialog.x);
  EXPECT_EQ(80, dialog.y);
  EXPECT_EQ(166, dialog.cx);
  EXPECT_EQ(79, dialog.cy);
  EXPECT_EQ("\"\"", res::describe(dialog.menu)) << "no menu";
  EXPECT_EQ("\"\"", res::describe(dialog.windowClass)) << "the dialog manager's own class";
  EXPECT_EQ("Restore your display driver", dialog.caption);
  EXPECT_TRUE(dialog.hasFont);
  EXPECT_EQ(8, dialog.pointSize);
  EXPECT_EQ("MS Sans Serif", dialog.font);

  const size_t itemCount = sizeof restoreInfoItems / sizeof restoreInfoItems[0];
  EXPECT_EQ(itemCount, dialog.itemCount);
  ASSERT_EQ(itemCount, dialog.items.size());
  for (size_t i = 0; i < itemCount; ++i) {
    const ExpectedItem& want = restoreInfoItems[i];
    const res::DialogItem& item = dialog.items[i];
    SCOPED_TRACE("item " + std::to_string(i + 1) + " \"" + want.text + "\"");
    EXPECT_EQ(want.style, item.style) << std::hex << item.style;
    EXPECT_EQ(0u, item.exStyle);
    EXPECT_EQ(want.x, item.x);
    EXPECT_EQ(want.y, item.y);
    EXPECT_EQ(want.cx, item.cx);
    EXPECT_EQ(want.cy, item.cy);
    EXPECT_EQ(want.id, item.id);
    EXPECT_EQ("#" + std::to_string(want.windowClass), res::describe(item.windowClass));
    EXPECT_EQ(std::string("\"") + want.text + "\"", res::describe(item.text));
    EXPECT_EQ(0, item.creationDataSize);
  }
}

}  // namespace
