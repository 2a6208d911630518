#include "zones/level_stretch.h"

#include <gtest/gtest.h>

#include <vector>

#include "morvex/arith.h"
#include "zone_fixtures.h"

namespace morvex {
namespace {

// A one-row plane holding the given levels.
GreyPlane Row(const std::vector<int>& levels) {
  GreyPlane p(static_cast<int>(levels.size()), 1);
  for (std::size_t i = 0; i < levels.size(); ++i) p.levels[i] = static_cast<std::uint8_t>(levels[i]);
  return p;
}

std::vector<int> Levels(const GreyPlane& p) { return {p.levels.begin(), p.levels.end()}; }

std::vector<int> Repeat(int level, int count) { return std::vector<int>(static_cast<std::size_t>(count), level); }

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

void Stretch(GreyPlane& p, StretchMode mode, int low, int high) {
  StretchLevels(p, mode, {0, 0, p.width - 1, p.height - 1}, low, high);
}

TEST(StretchLevels, FixedOnAllLevelsSaturatesBothEnds) {
  std::vector<int> ramp;
  for (int v = 0; v < 256; ++v) ramp.push_back(v);
  GreyPlane p = Row(ramp);
  Stretch(p, StretchMode::Fixed, 30, 50);
  EXPECT_EQ(p.levels[30], 0);
  EXPECT_EQ(p.levels[205], 255);
  EXPECT_EQ(p.levels[120], 131);  // 255 - R(85 * 255 / 175)
  for (int v = 0; v <= 30; ++v) EXPECT_EQ(p.levels[static_cast<std::size_t>(v)], 0) << v;
  for (int v = 205; v < 256; ++v) EXPECT_EQ(p.levels[static_cast<std::size_t>(v)], 255) << v;
}

struct StretchCase {
  const char* name;
  std::vector<int> in;
  StretchMode mode;
  int low, high;
  std::vector<int> out;
};

class StretchCases : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchCases, MapsLevels) {
  const StretchCase& c = GetParam();
  GreyPlane p = Row(c.in);
  Stretch(p, c.mode, c.low, c.high);
  EXPECT_EQ(Levels(p), c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Worked, StretchCases,
    ::testing::Values(
        StretchCase{"UniformAdaptiveUnchanged", Repeat(77, 6), StretchMode::Adaptive, 10, 15, Repeat(77, 6)},
        // lo' = 130, hi' = 50: t = 255 - R(-50 * 255 / -80) = 96.
        StretchCase{"UniformFixedInverts", Repeat(100, 4), StretchMode::Fixed, 30, 50, Repeat(96, 4)},
        // lo' = 230, hi' = 205: the brightest become black, the darkest white.
        StretchCase{"CloseLevelsInvert", {200, 255, 230, 205}, StretchMode::Fixed, 30, 50, {255, 0, 0, 255}},
        // lo' = 29 (255 + 30 wraps), hi' = 205.
        StretchCase{"WhiteWrapsAndStaysWhite", Repeat(255, 3), StretchMode::Fixed, 30, 50, Repeat(255, 3)},
        // lo' = 30, hi' = 206 (0 - 50 wraps).
        StretchCase{"BlackWrapsAndStaysBlack", Repeat(0, 3), StretchMode::Fixed, 30, 50, Repeat(0, 3)},
        // lo' = 4 (230 + 30 wraps), hi' = 205: everything is at or above hi'.
        StretchCase{"BrightRangeWrapsToWhite", {230, 240, 255}, StretchMode::Fixed, 30, 50, {255, 255, 255}},
        // The tails reach three quarters at once: from darkest to brightest.
        StretchCase{"AdaptiveFirstTestStretchesFullRange", {40, 40, 40, 140, 240, 240}, StretchMode::Adaptive, 10,
                    15, {0, 0, 0, 127, 255, 255}},
        // With lowStep 0 the dark level stays; the bright one comes down 25 per
        // step until [180, 255] holds three quarters: lo' = 0, hi' = 180,
        // t(90) = 255 - R(127.5) = 127 (ties to even).
        StretchCase{"AdaptiveBrightLevelComesDown", Concat({{0, 90, 255}, Repeat(200, 97)}), StretchMode::Adaptive, 0,
                    25, Concat({{0, 127, 255}, Repeat(255, 97)})},
        // One step gives lo' = 110 > hi' = 105, so the step is taken back:
        // t(112) = 255 - R(8 * 255 / 20) = 153.
        StretchCase{"AdaptiveCrossingTakesStepBack", Concat({{100, 120}, Repeat(112, 98)}), StretchMode::Adaptive, 10,
                    15, Concat({{0, 255}, Repeat(153, 98)})},
        // The bright range wraps above hi at every step, so it counts nothing
        // and all ten steps are taken: lo' = 0, hi' = (20 - 250) mod 256 = 26.
        StretchCase{"AdaptiveWrappedBrightRangeCountsNothing", Concat({{0, 20}, Repeat(10, 98)}),
                    StretchMode::Adaptive, 0, 25, Concat({{0, 196}, Repeat(98, 98)})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StretchTable, MatchesTheRoundedRealQuotient) {
  // Every level against a spread of level pairs, both orders, both ends.
  std::vector<int> levels;
  for (int v = 0; v < 256; v += 5) levels.push_back(v);
  levels.push_back(254);
  levels.push_back(255);
  for (int lo : levels)
    for (int hi : levels) {
      const auto table = StretchTable({static_cast<std::uint8_t>(lo), static_cast<std::uint8_t>(hi)});
      for (int v = 0; v < 256; ++v) {
        std::int64_t t = hi;
        if (hi != lo) t = 255 - R(static_cast<Real>((hi - v) * 255) / static_cast<Real>(hi - lo));
        t = std::clamp<std::int64_t>(t, 0, 255);
        ASSERT_EQ(table[static_cast<std::size_t>(v)], t) << lo << " " << hi << " " << v;
      }
    }
}

TEST(StretchLevels, TouchesOnlyTheRectangle) {
  GreyPlane p(4, 3);
  for (std::size_t i = 0; i < p.levels.size(); ++i) p.levels[i] = static_cast<std::uint8_t>(100 + i);
  const GreyPlane before = p;
  StretchLevels(p, StretchMode::Fixed, {1, 1, 2, 1}, 0, 0);  // levels 105 and 106
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const bool inside = y == 1 && (x == 1 || x == 2);
      if (!inside) {
        EXPECT_EQ(p.level(x, y), before.level(x, y)) << x << "," << y;
      }
    }
  EXPECT_EQ(p.level(1, 1), 0);
  EXPECT_EQ(p.level(2, 1), 255);
}

TEST(StretchLevels, BitmapVersionWritesGreysInEitherFormat) {
  for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Indexed8}) {
    Bitmap b(3, 1, format);
    b.setPixel(0, 0, MakeColour(40, 40, 40));
    b.setPixel(1, 0, MakeColour(140, 140, 140));
    b.setPixel(2, 0, MakeColour(240, 240, 240));
    StretchLevels(b, StretchMode::Fixed, {0, 0, 2, 0}, 0, 0);
    EXPECT_EQ(b.pixel(0, 0), MakeColour(0, 0, 0));
    EXPECT_EQ(b.pixel(1, 0), MakeColour(127, 127, 127));  // 255 - R(127.5)
    EXPECT_EQ(b.pixel(2, 0), MakeColour(255, 255, 255));
  }
}

TEST(StretchLevels, ColourPixelsAreReadByBrightness) {
  Bitmap b(2, 1, PixelFormat::Rgb24);
  b.setPixel(0, 0, MakeColour(0, 0, 3));      // brightness 1
  b.setPixel(1, 0, MakeColour(255, 0, 0));    // brightness 85
  StretchLevels(b, StretchMode::Fixed, {0, 0, 1, 0}, 0, 0);
  EXPECT_EQ(b.pixel(0, 0), MakeColour(0, 0, 0));
  EXPECT_EQ(b.pixel(1, 0), MakeColour(255, 255, 255));
}

}  // namespace
}  // namespace morvex
