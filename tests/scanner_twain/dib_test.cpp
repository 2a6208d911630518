// Colour counts, pixel addresses, palettes, drawing and header accessors of
// DIB handles.
#include <gtest/gtest.h>
#include <ostream>

#include <algorithm>
#include <cstring>
#include <set>

#include "dib_support.h"
#include "morvex/bmp.h"
#include "morvex/twain/dib.h"

namespace morvex::testing {

namespace {

using namespace morvex::twain;

// ---- Default palette ----------------------------------------------------------

TEST(DefaultPalette, StaticEntriesAtBothEnds) {
  const auto& table = TWAIN_DefaultPalette();
  const PALETTEENTRY first[10] = {{0x00, 0x00, 0x00, 0}, {0x80, 0x00, 0x00, 0}, {0x00, 0x80, 0x00, 0},
                                  {0x80, 0x80, 0x00, 0}, {0x00, 0x00, 0x80, 0}, {0x80, 0x00, 0x80, 0},
                                  {0x00, 0x80, 0x80, 0}, {0xC0, 0xC0, 0xC0, 0}, {0xC0, 0xDC, 0xC0, 0},
                                  {0xA6, 0xCA, 0xF0, 0}};
  const PALETTEENTRY last[10] = {{0xFF, 0xFB, 0xF0, 0}, {0xA0, 0xA0, 0xA4, 0}, {0x80, 0x80, 0x80, 0},
                                 {0xFF, 0x00, 0x00, 0}, {0x00, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0x00, 0},
                                 {0x00, 0x00, 0xFF, 0}, {0xFF, 0x00, 0xFF, 0}, {0x00, 0xFF, 0xFF, 0},
                                 {0xFF, 0xFF, 0xFF, 0}};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(table[static_cast<std::size_t>(i)], first[i]) << i;
    EXPECT_EQ(table[static_cast<std::size_t>(246 + i)], last[i]) << 246 + i;
  }
}

TEST(DefaultPalette, MiddleEntries) {
  const auto& table = TWAIN_DefaultPalette();
  for (int i = 10; i <= 245; ++i) EXPECT_EQ(table[static_cast<std::size_t>(i)].peFlags, PC_NOCOLLAPSE) << i;
  const std::uint8_t low[12] = {0x04, 0x08, 0x0C, 0x11, 0x16, 0x1C, 0x22, 0x29, 0x55, 0x4D, 0x42, 0x39};
  const std::uint8_t high[12] = {0x5F, 0x77, 0x86, 0x96, 0xCB, 0xB2, 0xD7, 0xDD, 0xE3, 0xEA, 0xF1, 0xF8};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(table[static_cast<std::size_t>(10 + i)], (PALETTEENTRY{low[i], low[i], low[i], PC_NOCOLLAPSE}));
    EXPECT_EQ(table[static_cast<std::size_t>(234 + i)], (PALETTEENTRY{high[i], high[i], high[i], PC_NOCOLLAPSE}));
  }
  EXPECT_EQ(table[22], (PALETTEENTRY{0xFF, 0x7C, 0x80, PC_NOCOLLAPSE}));
  EXPECT_EQ(table[25], (PALETTEENTRY{0xCC, 0xEC, 0xFF, PC_NOCOLLAPSE}));
  EXPECT_EQ(table[28], (PALETTEENTRY{0xAD, 0xA9, 0x90, PC_NOCOLLAPSE}));
  EXPECT_EQ(table[233], (PALETTEENTRY{0xA5, 0x00, 0x21, PC_NOCOLLAPSE}));
  // Entries 29 to 232: 204 distinct cube colours, none of them static and
  // none of the four left out.
  std::set<std::uint32_t> cube;
  const std::set<std::uint32_t> leftOut = {0x0033FF, 0x00FF33, 0x3300FF, 0x33FF00, 0x000000, 0xFF0000, 0x00FF00,
                                           0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  for (int i = 29; i <= 232; ++i) {
    const PALETTEENTRY& e = table[static_cast<std::size_t>(i)];
    for (std::uint8_t c : {e.peRed, e.peGreen, e.peBlue}) EXPECT_EQ(c % 0x33, 0) << i;
    const std::uint32_t rgb = (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
    EXPECT_EQ(leftOut.count(rgb), 0u) << i;
    cube.insert(rgb);
  }
  EXPECT_EQ(cube.size(), 204u);
}

// ---- Colour counts and pixel addresses -------------------------------------------

struct HeaderCase {
  std::string name;
  DibLayout plan;
  int colours;
  std::size_t pixelOffset;
};
// Cases print as their names in test output.
void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

class DibHeaders : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(DibHeaders, CountColoursAndFindThePixels) {
  const std::vector<std::uint8_t> dib = BuildPackedDib(GetParam().plan);
  EXPECT_EQ(TWAIN_DibColorCount(dib.data()), GetParam().colours);
  EXPECT_EQ(TWAIN_DibPixels(dib.data()), dib.data() + GetParam().pixelOffset);
  OwnedBlock block(dib);
  EXPECT_EQ(TWAIN_DibNumColors(block.get()), GetParam().colours);
}

DibLayout WithMasks(DibLayout plan, std::uint32_t compression) {
  plan.compression = compression;
  plan.masks = std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x001F};
  return plan;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DibHeaders,
    ::testing::Values(HeaderCase{"Bits8Table256", Plan(40, 8, 4, 2, 0, 256), 256, 40 + 1024},
                      HeaderCase{"Bits4ClrUsed12", Plan(40, 4, 4, 2, 12, 12), 12, 40 + 48},
                      HeaderCase{"Bits1", Plan(40, 1, 9, 2, 0, 2), 2, 40 + 8},
                      HeaderCase{"Bits24NoTable", Plan(40, 24, 3, 2), 0, 40},
                      HeaderCase{"Bits32NoTable", Plan(40, 32, 3, 2), 0, 40},
                      HeaderCase{"Bits24OptionalTable", Plan(40, 24, 3, 2, 10, 10), 10, 40 + 40},
                      HeaderCase{"Bits8ClrUsedAbove256", Plan(40, 8, 4, 2, 300, 300), 0, 40 + 1200},
                      HeaderCase{"CoreBits8", Plan(12, 8, 4, 2, 0, 256), 256, 12 + 768},
                      HeaderCase{"CoreBits24", Plan(12, 24, 4, 2), 0, 12},
                      HeaderCase{"BitFields16", WithMasks(Plan(40, 16, 3, 2), BI_BITFIELDS), 0, 40 + 12},
                      HeaderCase{"V5BitFields32", WithMasks(Plan(124, 32, 3, 2), BI_BITFIELDS), 0, 124},
                      HeaderCase{"TopDown8", Plan(40, 8, 4, -2, 0, 256), 256, 40 + 1024}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

// ---- Palettes ----------------------------------------------------------------

TEST(DibPalette, OwnTableWithRedAndBlueInPlaceAndNoFlags) {
  OwnedBlock block(BuildPackedDib(Plan(40, 8, 4, 2, 0, 256)));
  HPALETTE palette = TWAIN_DibPalette(block.get());
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->palVersion, 0x300);
  ASSERT_EQ(palette->entries.size(), 256u);
  const std::vector<Rgb> ramp = Ramp(256);
  for (std::size_t i = 0; i < 256; ++i) {
    EXPECT_EQ(palette->entries[i], (PALETTEENTRY{ramp[i].r, ramp[i].g, ramp[i].b, 0})) << i;
  }
  EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u) << "unlocked again";
}

TEST(DibPalette, ClrUsedGivesTheEntryCount) {
  OwnedBlock block(BuildPackedDib(Plan(40, 4, 4, 2, 12, 12)));
  HPALETTE palette = TWAIN_DibPalette(block.get());
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->entries.size(), 12u);
  EXPECT_EQ(palette->entries[11], (PALETTEENTRY{11, 244, 77, 0}));
}

TEST(DibPalette, CoreHeaderTableHasThreeByteEntries) {
  OwnedBlock block(BuildPackedDib(Plan(12, 4, 4, 2, 0, 16)));
  HPALETTE palette = TWAIN_DibPalette(block.get());
  ASSERT_NE(palette, nullptr);
  ASSERT_EQ(palette->entries.size(), 16u);
  const std::vector<Rgb> ramp = Ramp(16);
  for (std::size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(palette->entries[i], (PALETTEENTRY{ramp[i].r, ramp[i].g, ramp[i].b, 0})) << i;
  }
}

class DefaultPaletteDibs : public ::testing::TestWithParam<int> {};

TEST_P(DefaultPaletteDibs, DibWithoutTableGetsTheDefaultPalette) {
  OwnedBlock block(BuildPackedDib(Plan(40, GetParam(), 3, 2)));
  HPALETTE palette = TWAIN_DibPalette(block.get());
  ASSERT_NE(palette, nullptr);
  EXPECT_TRUE(std::equal(palette->entries.begin(), palette->entries.end(), TWAIN_DefaultPalette().begin(),
                         TWAIN_DefaultPalette().end()));
}

INSTANTIATE_TEST_SUITE_P(Bits, DefaultPaletteDibs, ::testing::Values(16, 24, 32),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Bits" + std::to_string(info.param);
                         });

TEST(DibPalette, NoPaletteForABogusHandleOrATableCutShort) {
  int local = 0;
  EXPECT_EQ(TWAIN_DibPalette(reinterpret_cast<HGLOBAL>(&local)), nullptr);
  std::vector<std::uint8_t> dib = BuildPackedDib(Plan(40, 8, 4, 2, 0, 256));
  dib.resize(40 + 100);
  OwnedBlock block(dib);
  EXPECT_EQ(TWAIN_DibPalette(block.get()), nullptr);
}

// ---- Drawing ------------------------------------------------------------------

struct DrawCase {
  std::string name;
  DibLayout plan;
};
// Cases print as their names in test output.
void PrintTo(const DrawCase& c, std::ostream* os) { *os << c.name; }

class DrawDib : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawDib, WholeImageLandsUnscaledAtTheDestination) {
  const std::vector<std::uint8_t> dib = BuildPackedDib(GetParam().plan);
  Bitmap expected;
  DecodePackedDib(dib, expected);
  OwnedBlock block(dib);
  Bitmap target(expected.width() + 3, expected.height() + 2, PixelFormat::Rgb24);
  TWAIN_DrawDib(target, 2, 1, expected.width(), expected.height(), block.get(), 0, 0);
  for (int y = 0; y < target.height(); ++y) {
    for (int x = 0; x < target.width(); ++x) {
      const bool inside = x >= 2 && y >= 1 && x < 2 + expected.width() && y < 1 + expected.height();
      const Colour want = inside ? expected.pixel(x - 2, y - 1) : MakeColour(255, 255, 255);
      ASSERT_EQ(target.pixel(x, y), want) << x << "," << y;
    }
  }
  EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DrawDib,
                         ::testing::Values(DrawCase{"Bits24BottomUp", Plan(40, 24, 5, 3)},
                                           DrawCase{"Bits24TopDown", Plan(40, 24, 5, -3)},
                                           DrawCase{"Bits8Palette", Plan(40, 8, 6, 4, 0, 256)},
                                           DrawCase{"Bits4ClrUsed12", Plan(40, 4, 6, 4, 12, 12)},
                                           DrawCase{"CoreBits8", Plan(12, 8, 6, 4, 0, 256)},
                                           DrawCase{"BitFields16", WithMasks(Plan(40, 16, 4, 3), BI_BITFIELDS)},
                                           DrawCase{"Bits8ClrUsedAbove256", Plan(40, 8, 4, 3, 300, 300)}),
                         [](const ::testing::TestParamInfo<DrawCase>& info) { return info.param.name; });

TEST(DrawDibRectangles, BottomUpSourceRowsCountFromTheBottom) {
  const std::vector<std::uint8_t> dib = BuildPackedDib(Plan(40, 24, 4, 3));
  Bitmap expected;
  DecodePackedDib(dib, expected);
  OwnedBlock block(dib);
  Bitmap target(4, 1, PixelFormat::Rgb24);
  TWAIN_DrawDib(target, 0, 0, 4, 1, block.get(), 0, 0);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(target.pixel(x, 0), expected.pixel(x, 2)) << "the bottom row";
}

TEST(DrawDibRectangles, TopDownSourceRowsCountFromTheTop) {
  const std::vector<std::uint8_t> dib = BuildPackedDib(Plan(40, 24, 4, -3));
  Bitmap expected;
  DecodePackedDib(dib, expected);
  OwnedBlock block(dib);
  Bitmap target(4, 1, PixelFormat::Rgb24);
  TWAIN_DrawDib(target, 0, 0, 4, 1, block.get(), 0, 0);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(target.pixel(x, 0), expected.pixel(x, 0));
}

TEST(DrawDibRectangles, BogusHandleOrBrokenDibDrawsNothing) {
  Bitmap target(3, 3, PixelFormat::Rgb24);
  int local = 0;
  TWAIN_DrawDib(target, 0, 0, 3, 3, reinterpret_cast<HGLOBAL>(&local), 0, 0);
  std::vector<std::uint8_t> dib = BuildPackedDib(Plan(40, 24, 3, 3));
  dib.resize(45);  // pixel rows cut off
  OwnedBlock block(dib);
  TWAIN_DrawDib(target, 0, 0, 3, 3, block.get(), 0, 0);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(target.pixel(x, y), MakeColour(255, 255, 255));
  }
}

// ---- Accessors ----------------------------------------------------------------

TEST(DibAccessors, ReadBothHeaderKinds) {
  OwnedBlock info(BuildPackedDib(Plan(40, 24, 7, -5)));
  EXPECT_EQ(TWAIN_DibBitCount(info.get()), 24);
  EXPECT_EQ(TWAIN_DibWidth(info.get()), 7);
  EXPECT_EQ(TWAIN_DibHeight(info.get()), -5);
  OwnedBlock core(BuildPackedDib(Plan(12, 8, 6, 4, 0, 256)));
  EXPECT_EQ(TWAIN_DibBitCount(core.get()), 8);
  EXPECT_EQ(TWAIN_DibWidth(core.get()), 6);
  EXPECT_EQ(TWAIN_DibHeight(core.get()), 4);
  EXPECT_EQ(TWAIN_DibNumColors(core.get()), 256);
  int local = 0;
  EXPECT_EQ(TWAIN_DibWidth(reinterpret_cast<HGLOBAL>(&local)), 0);
}

}  // namespace
}  // namespace morvex::testing
