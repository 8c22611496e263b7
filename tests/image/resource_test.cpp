// The page library's resources as the win32 build compiled them
// (OBXPage.res) and as the shipped DLL carries them: each dialog template parsed back and compared
// with its layout field by field, the arrow bitmaps' headers and the icon group.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/image/page_resource_source.h"
#include "tests/image/res_file.h"

namespace {

const uint16_t buttonAtom = 0x0080;
const uint16_t staticAtom = 0x0082;

struct ExpectedItem {
  uint16_t id;
  uint16_t windowClass;
  const char* text;
  uint32_t style;
  int16_t x, y, cx, cy;
};

struct ExpectedDialog {
  uint16_t id;
  const char* caption;
  uint32_t style;
  int16_t x, y, cx, cy;
  std::vector<ExpectedItem> items;
};

// WS_CHILD | WS_VISIBLE on every control, then its own styles.
const uint32_t child = 0x50000000;
const uint32_t tabStop = 0x00010000;
const uint32_t group = 0x00020000;
const uint32_t pushButton = 0x0, defPushButton = 0x1, groupBox = 0x7, autoRadio = 0x9;
const uint32_t bitmapButton = 0x80;
const uint32_t staticLeft = 0x0, staticRight = 0x2;

const ExpectedDialog screenControl = {
    102,
    "Screen Control",
    0x90CA00C4,
    0,
    0,
    227,
    178,
    {
        {1013, buttonAtom, "&TV output", child | pushButton | tabStop, 142, 131, 70, 24},
        {207, buttonAtom, "&I", child | pushButton | bitmapButton | tabStop, 58, 40, 30, 30},
        {209, buttonAtom, "&J", child | pushButton | bitmapButton | tabStop, 18, 80, 30, 30},
        {210, buttonAtom, "&K", child | pushButton | bitmapButton | tabStop, 98, 80, 29, 30},
        {208, buttonAtom, "&M", child | pushButton | bitmapButton | tabStop, 58, 120, 30, 30},
        {109, buttonAtom, "&Default", child | pushButton | tabStop, 58, 80, 30, 30},
        {65535, buttonAtom, "Move Screen", child | groupBox, 8, 30, 130, 125},
        {65535, buttonAtom, "Option", child | groupBox, 142, 30, 70, 70},
        {1023, buttonAtom, "800X600", child | autoRadio, 152, 57, 45, 10},
        {1024, buttonAtom, "640X480", child | autoRadio, 152, 46, 45, 10},
        {1021, buttonAtom, "TV Blank", child | autoRadio, 152, 76, 45, 10},
        {65535, buttonAtom, "Screen Control Utility", child | groupBox, 0, 5, 220, 162},
        {65535, staticAtom, "Version 4.31", child | staticRight | group, 167, 10, 50, 8},
    }};

const ExpectedDialog tvConfirm = {
    103,
    "TV out",
    0x90C000C0,
    0,
    0,
    192,
    66,
    {
        {2, buttonAtom, "&Cancel", child | pushButton | group, 98, 34, 50, 14},
        {1, buttonAtom, "&Yes", child | defPushButton | tabStop, 39, 34, 50, 14},
        {1041, staticAtom, "Ready to output to TV ?", child | staticLeft | group, 60, 14, 85, 8},
    }};

class PageResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(readPageResources(&resources, &error)) << error;
  }

  const res::Resource* find(uint16_t type, uint16_t id) {
    return res::findResource(resources, type, id);
  }

  std::vector<res::Resource> resources;
};

class DialogTemplateTest : public PageResourcesTest,
                           public ::testing::WithParamInterface<ExpectedDialog> {};

TEST_P(DialogTemplateTest, MatchesItsLayoutFieldByField) {
  const ExpectedDialog& expected = GetParam();
  const res::Resource* resource = find(res::typeDialog, expected.id);
  ASSERT_NE(resource, nullptr) << "no dialog template " << expected.id;
  res::DialogTemplate dialog;
  std::string error;
  ASSERT_TRUE(res::parseDialog(resource->data, &dialog, &error)) << error;

  EXPECT_EQ(dialog.style, expected.style);
  EXPECT_EQ(dialog.exStyle, 0u);
  EXPECT_EQ(dialog.itemCount, expected.items.size());
  EXPECT_EQ(dialog.x, expected.x);
  EXPECT_EQ(dialog.y, expected.y);
  EXPECT_EQ(dialog.cx, expected.cx);
  EXPECT_EQ(dialog.cy, expected.cy);
  EXPECT_EQ(res::describe(dialog.menu), "\"\"") << "a dialog without a menu";
  EXPECT_EQ(res::describe(dialog.windowClass), "\"\"") << "the dialog manager's own class";
  EXPECT_EQ(dialog.caption, expected.caption);
  EXPECT_TRUE(dialog.hasFont);
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(dialog.font, "MS Sans Serif");

  ASSERT_EQ(dialog.items.size(), expected.items.size());
  for (size_t i = 0; i < expected.items.size(); ++i) {
    const ExpectedItem& want = expected.items[i];
    const res::DialogItem& item = dialog.items[i];
    SCOPED_TRACE("item " + std::to_string(i + 1) + " \"" + want.text + "\"");
    EXPECT_EQ(item.style, want.style) << std::hex << item.style << " expected " << want.style;
    EXPECT_EQ(item.exStyle, 0u);
    EXPECT_EQ(item.x, want.x);
    EXPECT_EQ(item.y, want.y);
    EXPECT_EQ(item.cx, want.cx);
    EXPECT_EQ(item.cy, want.cy);
    EXPECT_EQ(item.id, want.id);
    EXPECT_EQ(res::describe(item.windowClass), "#" + std::to_string(want.windowClass));
    EXPECT_EQ(res::describe(item.text), std::string("\"") + want.text + "\"");
    EXPECT_EQ(item.creationDataSize, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogTemplateTest, ::testing::Values(screenControl, tvConfirm),
                         [](const ::testing::TestParamInfo<ExpectedDialog>& row) {
                           return std::to_string(row.param.id);
                         });

// --- Bitmaps and icons ------------------------------------------------------

const uint32_t infoHeaderSize = 40;
const uint32_t biRgb = 0;
const unsigned paletteEntries = 16;

// The 16 colours of the Windows VGA palette, as RGBQUADs (blue, green, red).
const uint8_t vgaPalette[paletteEntries][3] = {
    {0, 0, 0},     {0, 0, 128},     {0, 128, 0},     {0, 128, 128},  {128, 0, 0}, {128, 0, 128},
    {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255},    {0, 255, 0}, {0, 255, 255},
    {255, 0, 0},   {255, 0, 255},   {255, 255, 0},   {255, 255, 255}};
const uint8_t buttonFace = 7;

uint32_t dword(const std::vector<uint8_t>& d, size_t at) {
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}
uint16_t word(const std::vector<uint8_t>& d, size_t at) {
  return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}

// A BITMAPINFOHEADER with 4 bits a pixel, uncompressed, and the VGA
// palette after it.
void expectFourBitDib(const std::vector<uint8_t>& d, int32_t width, int32_t height) {
  ASSERT_GE(d.size(), infoHeaderSize + paletteEntries * 4);
  EXPECT_EQ(dword(d, 0), infoHeaderSize);
  EXPECT_EQ(static_cast<int32_t>(dword(d, 4)), width);
  EXPECT_EQ(static_cast<int32_t>(dword(d, 8)), height);
  EXPECT_EQ(word(d, 12), 1) << "planes";
  EXPECT_EQ(word(d, 14), 4) << "bits per pixel";
  EXPECT_EQ(dword(d, 16), biRgb) << "compression";
  const uint32_t coloursUsed = dword(d, 32);
  EXPECT_TRUE(coloursUsed == 0 || coloursUsed == paletteEntries) << coloursUsed;
  for (unsigned i = 0; i < paletteEntries; ++i) {
    const size_t at = infoHeaderSize + 4 * i;
    EXPECT_EQ(memcmp(&d[at], vgaPalette[i], 3), 0) << "palette entry " << i;
  }
}

struct ArrowBitmap {
  uint16_t id;
  const char* direction;
};

class ArrowBitmapTest : public PageResourcesTest,
                        public ::testing::WithParamInterface<ArrowBitmap> {};

TEST_P(ArrowBitmapTest, Is32By32WithSixteenColoursOnTheButtonFace) {
  const res::Resource* bitmap = find(res::typeBitmap, GetParam().id);
  ASSERT_NE(bitmap, nullptr) << "no bitmap " << GetParam().id;
  const std::vector<uint8_t>& d = bitmap->data;
  expectFourBitDib(d, 32, 32);
  const size_t rowBytes = 16;
  ASSERT_EQ(d.size(), infoHeaderSize + paletteEntries * 4 + 32 * rowBytes);
  // The corners are button face; the middle is the arrow.
  const size_t pixels = infoHeaderSize + paletteEntries * 4;
  EXPECT_EQ(d[pixels] >> 4, buttonFace);
  EXPECT_EQ(d[pixels + 31 * rowBytes + 15] & 0x0F, buttonFace);
  EXPECT_NE(d[pixels + 16 * rowBytes + 8] >> 4, buttonFace);
}

INSTANTIATE_TEST_SUITE_P(Arrows, ArrowBitmapTest,
                         ::testing::Values(ArrowBitmap{109, "up"}, ArrowBitmap{121, "left"},
                                           ArrowBitmap{122, "right"}, ArrowBitmap{123, "down"}),
                         [](const ::testing::TestParamInfo<ArrowBitmap>& row) {
                           return std::string(row.param.direction);
                         });

// The arrows point four ways: no two bitmaps are alike.
TEST_F(PageResourcesTest, TheFourArrowsDiffer) {
  const uint16_t ids[] = {109, 121, 122, 123};
  for (uint16_t a : ids) {
    for (uint16_t b : ids) {
      if (a >= b) continue;
      ASSERT_NE(find(res::typeBitmap, a), nullptr);
      ASSERT_NE(find(res::typeBitmap, b), nullptr);
      EXPECT_NE(find(res::typeBitmap, a)->data, find(res::typeBitmap, b)->data) << a << " " << b;
    }
  }
}

TEST_F(PageResourcesTest, IconGroupHasA32And16PixelSixteenColourImage) {
  const res::Resource* groupResource = find(res::typeGroupIcon, 126);
  ASSERT_NE(groupResource, nullptr) << "no icon group 126";
  const std::vector<uint8_t>& g = groupResource->data;
  ASSERT_GE(g.size(), 6u);
  EXPECT_EQ(word(g, 0), 0);
  EXPECT_EQ(word(g, 2), 1) << "an icon, not a cursor";
  ASSERT_EQ(word(g, 4), 2) << "two images";
  ASSERT_EQ(g.size(), 6u + 2 * 14);
  const uint8_t sizes[] = {32, 16};
  for (unsigned i = 0; i < 2; ++i) {
    SCOPED_TRACE("image " + std::to_string(sizes[i]));
    const size_t at = 6 + 14 * i;
    EXPECT_EQ(g[at], sizes[i]);
    EXPECT_EQ(g[at + 1], sizes[i]);
    EXPECT_EQ(g[at + 2], paletteEntries);
    EXPECT_EQ(word(g, at + 4), 1) << "planes";
    EXPECT_EQ(word(g, at + 6), 4) << "bits per pixel";
    const res::Resource* image = find(res::typeIcon, word(g, at + 12));
    ASSERT_NE(image, nullptr) << "no icon image " << word(g, at + 12);
    EXPECT_EQ(image->data.size(), dword(g, at + 8));
    // An icon image counts its colour and mask rows in its height.
    expectFourBitDib(image->data, sizes[i], 2 * sizes[i]);
  }
}

}  // namespace
