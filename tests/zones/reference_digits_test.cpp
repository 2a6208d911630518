#include "morvex/reference_digits.h"

#include <gtest/gtest.h>

#include "zone_fixtures.h"
#include "zones/nearest_map.h"

namespace morvex {
namespace {

using testing::References;

constexpr int kFrameLefts[10] = {3, 34, 65, 98, 129, 160, 194, 225, 256, 287};
constexpr int kFrameRights[10] = {25, 56, 87, 120, 151, 182, 216, 247, 278, 309};

int Level(const Bitmap& b, int x, int y) { return Brightness(b.pixel(x, y)); }

TEST(ReferenceStrip, GeometryAndColours) {
  const Bitmap& strip = References().strip();
  ASSERT_EQ(strip.width(), 314);
  ASSERT_EQ(strip.height(), 40);
  EXPECT_EQ(strip.format(), PixelFormat::Rgb24);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 314; ++x) {
      const Colour c = strip.pixel(x, y);
      ASSERT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << x << "," << y;
    }
  for (int x = 0; x < 314; ++x)
    for (int y : {0, 1, 38, 39}) EXPECT_EQ(Level(strip, x, y), 255) << x << "," << y;
  for (int d = 0; d < 10; ++d) {
    // Background between the cells.
    if (d > 0) {
      for (int x = kFrameRights[d - 1] + 1; x < kFrameLefts[d]; ++x)
        for (int y = 0; y < 40; ++y) EXPECT_EQ(Level(strip, x, y), 255) << x << "," << y;
    }
    // The frame lines are dark; at most one line per cell is grey.
    for (int x = kFrameLefts[d]; x <= kFrameRights[d]; ++x) {
      EXPECT_LE(Level(strip, x, 2), 49);
      EXPECT_LE(Level(strip, x, 37), 49);
    }
    for (int y = 2; y <= 37; ++y) {
      EXPECT_LE(Level(strip, kFrameLefts[d], y), 49);
      EXPECT_LE(Level(strip, kFrameRights[d], y), 49);
    }
  }
  // The grey lines of cells 0, 2 and 4.
  EXPECT_EQ(Level(strip, 25, 20), 49);
  EXPECT_EQ(Level(strip, 76, 2), 27);
  EXPECT_EQ(Level(strip, 151, 20), 49);
}

TEST(ReferenceStrip, DigitsFillTheirCells) {
  const Bitmap& strip = References().strip();
  for (int d = 0; d < 10; ++d) {
    int darkest = 255;
    bool inkInTopRow = false, inkInBottomRow = false, inkInLeftColumn = false, inkInRightColumn = false;
    for (int y = 3; y <= 36; ++y)
      for (int x = kFrameLefts[d] + 1; x < kFrameRights[d]; ++x) {
        const int v = Level(strip, x, y);
        darkest = std::min(darkest, v);
        const bool ink = v < 100;
        inkInTopRow |= ink && y == 3;
        inkInBottomRow |= ink && y == 36;
        inkInLeftColumn |= ink && x == kFrameLefts[d] + 1;
        inkInRightColumn |= ink && x == kFrameRights[d] - 1;
      }
    EXPECT_GE(darkest, 13) << d;
    EXPECT_LE(darkest, 27) << d;
    EXPECT_TRUE(inkInTopRow && inkInBottomRow && inkInLeftColumn && inkInRightColumn) << d;
  }
}

TEST(ReferenceImages, SizesAndSourcePixels) {
  const ReferenceDigits& refs = References();
  EXPECT_EQ(refs.reference(0).width, 22);
  EXPECT_EQ(refs.reference(0).height, 35);
  EXPECT_EQ(refs.reference(1).width, 17);
  EXPECT_EQ(refs.reference(1).height, 35);
  for (int d = 0; d < 10; ++d) {
    const ReferenceBox box = ReferenceBoxes[static_cast<std::size_t>(d)];
    const ReferenceImage& ref = refs.reference(d);
    ASSERT_EQ(ref.width, box.Right - box.Left + 1);
    ASSERT_EQ(ref.height, 35);
    // Every reference pixel repeats a pixel of the digit's source box, which
    // holds no frame pixel: each source column and row is used.
    std::vector<bool> columnUsed(static_cast<std::size_t>(box.Right - box.Left), false);
    std::vector<bool> rowUsed(34, false);
    for (int y = 0; y < ref.height; ++y)
      for (int x = 0; x < ref.width; ++x) {
        const int sx = NearestSource(x, ref.width, box.Left, box.Right);
        const int sy = NearestSource(y, ref.height, ReferenceTop, ReferenceBottom);
        ASSERT_GE(sx, box.Left);
        ASSERT_LT(sx, box.Right);
        ASSERT_GE(sy, 3);
        ASSERT_LE(sy, 36);
        ASSERT_GT(sx, kFrameLefts[d]);
        ASSERT_LT(sx, kFrameRights[d]);
        columnUsed[static_cast<std::size_t>(sx - box.Left)] = true;
        rowUsed[static_cast<std::size_t>(sy - 3)] = true;
        EXPECT_EQ(ref.row(y)[x], Level(refs.strip(), sx, sy));
      }
    for (bool used : columnUsed) EXPECT_TRUE(used);
    for (bool used : rowUsed) EXPECT_TRUE(used);
  }
}

TEST(ReferenceImages, DigitOneLosesTheRightOfItsFoot) {
  // The foot of 1 spans its cell's interior; the box stops at column 50.
  const ReferenceDigits& refs = References();
  const Bitmap& strip = refs.strip();
  bool footRightOfBox = false;
  for (int x = 51; x <= 55; ++x) footRightOfBox |= Level(strip, x, 35) < 100;
  EXPECT_TRUE(footRightOfBox);
  EXPECT_EQ(ReferenceBoxes[1].Right, 51);
}

TEST(ReferenceDigits, FreeReleasesAndToleratesUnloaded) {
  ReferenceDigits refs = LoadReferenceDigits();
  EXPECT_TRUE(refs.loaded());
  FreeReferenceDigits(refs);
  EXPECT_FALSE(refs.loaded());
  EXPECT_TRUE(refs.reference(0).levels.empty());
  FreeReferenceDigits(refs);
  ReferenceDigits never;
  FreeReferenceDigits(never);
  EXPECT_FALSE(never.loaded());
}

}  // namespace
}  // namespace morvex
