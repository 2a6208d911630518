#include <gtest/gtest.h>

#include <cmath>

#include "analysis/region.h"
#include "fixtures.h"

namespace morvex {
namespace {

// An 8-bit grey image whose pixel (x, y) has level (x * 7 + y * 13) % 256.
Bitmap Pattern(int w, int h) {
  Bitmap b(w, h, PixelFormat::Indexed8);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.row(y)[x] = static_cast<std::uint8_t>((x * 7 + y * 13) % 256 + 0);
  return b;
}

int Level(const Bitmap& b, int x, int y) { return Brightness(b.pixel(x, y)); }

TEST(ExtractRegion, LevelRegionCopiesTheSourceAndIsBlackOutside) {
  const Bitmap source = Pattern(40, 30);
  Bitmap region(20, 12, PixelFormat::Indexed8);
  ExtractRegion(source, region, {30, 25}, 0.0);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) {
      const int expected = (30 + x < 40 && 25 + y < 30) ? Level(source, 30 + x, 25 + y) : 0;
      ASSERT_EQ(Level(region, x, y), expected) << x << "," << y;
    }
}

TEST(ExtractRegion, NegativeOriginIsBlackOutside) {
  const Bitmap source = Pattern(10, 10);
  Bitmap region(4, 4, PixelFormat::Rgb24);
  ExtractRegion(source, region, {-2, -1}, 0.0);
  EXPECT_EQ(region.pixel(0, 0), MakeColour(0, 0, 0));
  EXPECT_EQ(region.pixel(2, 1), source.pixel(0, 0));
  EXPECT_EQ(region.pixel(3, 3), source.pixel(1, 2));
}

TEST(ExtractRegion, TiltedRegionSamplesAlongTheRotation) {
  const Bitmap source = Pattern(200, 200);
  const double k = 0.3;
  Bitmap region(50, 30, PixelFormat::Indexed8);
  ExtractRegion(source, region, {60, 40}, k);
  const double t = std::atan(k);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 50; ++x) {
      const int sx = 60 + static_cast<int>(std::nearbyint(x * std::cos(t) - y * std::sin(t)));
      const int sy = 40 + static_cast<int>(std::nearbyint(x * std::sin(t) + y * std::cos(t)));
      ASSERT_EQ(Level(region, x, y), Level(source, sx, sy)) << x << "," << y;
    }
}

TEST(ExtractRegion, EmptyDestinationStaysEmpty) {
  const Bitmap source = Pattern(10, 10);
  Bitmap none(0, 5, PixelFormat::Indexed8);
  ExtractRegion(source, none, {0, 0}, 0.2);
  EXPECT_EQ(none.width(), 0);
  EXPECT_EQ(none.height(), 5);
}

TEST(TurnHalf, ThreeByThreeTurnsOnlyTheTopLeftBlock) {
  Bitmap b(3, 3, PixelFormat::Indexed8);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) b.row(y)[x] = static_cast<std::uint8_t>(10 * y + x);
  TurnHalf(b);
  const int expected[3][3] = {{11, 10, 2}, {1, 0, 12}, {20, 21, 22}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.row(y)[x], expected[y][x]) << x << "," << y;
}

TEST(TurnHalf, TwiceRestoresTheBlock) {
  Bitmap b = Pattern(9, 6);
  const Bitmap before = b;
  TurnHalf(b);
  EXPECT_NE(b.pixel(0, 0), before.pixel(0, 0));
  TurnHalf(b);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x) ASSERT_EQ(b.pixel(x, y), before.pixel(x, y));
}

}  // namespace
}  // namespace morvex
