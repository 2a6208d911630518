#include "zones/glyph_match.h"

#include <gtest/gtest.h>

#include "zone_fixtures.h"

namespace morvex {
namespace {

using testing::Plane;
using testing::References;

// The reference of digit d scaled to w x h the way the bitmap layer scales:
// the source box onto one more column and row, then onto the glyph size.
GreyPlane ScaledByBitmapLayer(const ReferenceDigits& refs, int d, int w, int h) {
  const ReferenceBox box = ReferenceBoxes[static_cast<std::size_t>(d)];
  Bitmap ref(box.Right - box.Left + 1, 35, PixelFormat::Rgb24);
  StretchCopy(ref, {0, 0, ref.width(), 35}, refs.strip(), {box.Left, ReferenceTop, box.Right, ReferenceBottom});
  Bitmap glyph(w, h, PixelFormat::Rgb24);
  StretchCopy(glyph, {0, 0, w, h}, ref, {0, 0, ref.width(), 35});
  return BrightnessPlane(glyph);
}

// A strip of pure black and white: digit d is a bar of four columns starting
// `offsets[d]` columns into its box, over all its rows.
ReferenceDigits BarStrip(const std::array<int, 10>& offsets) {
  Bitmap strip(314, 40, PixelFormat::Rgb24);
  for (int d = 0; d < 10; ++d) {
    const int left = ReferenceBoxes[static_cast<std::size_t>(d)].Left + offsets[static_cast<std::size_t>(d)];
    for (int y = ReferenceTop; y < ReferenceBottom; ++y)
      for (int x = left; x < left + 4; ++x) strip.setPixel(x, y, MakeColour(0, 0, 0));
  }
  return ReferenceDigitsFromStrip(std::move(strip));
}

TEST(MatchGlyph, GlyphEqualToAScaledReferenceScoresOne) {
  const ReferenceDigits refs = BarStrip({0, 2, 4, 6, 8, 10, 12, 14, 16, 9});
  for (auto [w, h] : {std::pair{17, 30}, {22, 35}, {40, 70}, {12, 20}}) {
    const GlyphMatch m = MatchGlyph(testing::ToBitmap(ScaledByBitmapLayer(refs, 3, w, h)), refs);
    EXPECT_EQ(m.Digit, 3) << w << "x" << h;
    EXPECT_EQ(m.Score, 1.0) << w << "x" << h;
  }
}

TEST(MatchGlyph, EqualScoresKeepTheLowerDigit) {
  // Digits 2 and 5 carry the same bar; a glyph equal to 5 matches both fully.
  const ReferenceDigits refs = BarStrip({0, 2, 6, 10, 14, 6, 1, 3, 5, 7});
  const GlyphMatch m = MatchGlyph(testing::ToBitmap(ScaledByBitmapLayer(refs, 5, 21, 34)), refs);
  EXPECT_EQ(m.Digit, 2);
  EXPECT_EQ(m.Score, 1.0);
}

TEST(MatchGlyph, MidGreyAgreesWithNothing) {
  for (int level : {100, 140, 180}) {
    const GlyphMatch m = MatchGlyph(testing::ToBitmap(Plane(20, 30, level)), References());
    EXPECT_EQ(m.Digit, 10) << level;
    EXPECT_EQ(m.Score, 0.0) << level;
  }
}

// The first digit with the highest share of pixels of the given class in its
// scaled reference.
std::pair<int, double> MostOf(const ReferenceDigits& refs, int w, int h, bool light) {
  int best = 10;
  double bestShare = 0.0;
  for (int d = 0; d < 10; ++d) {
    const GreyPlane ref = ScaledByBitmapLayer(refs, d, w, h);
    int count = 0;
    for (std::uint8_t v : ref.levels) count += light ? v > 180 : v < 100;
    const double share = static_cast<double>(count) / (w * h);
    if (share > bestShare) {
      best = d;
      bestShare = share;
    }
  }
  return {best, bestShare};
}

TEST(MatchGlyph, AllPaperOrAllInkFindTheDigitWithMostOfIt) {
  for (auto [w, h] : {std::pair{24, 45}, {1, 1}, {3, 1}, {1, 5}}) {
    for (int level : {255, 181, 0, 99}) {
      const bool light = level > 180;
      const auto [digit, share] = MostOf(References(), w, h, light);
      const GlyphMatch m = MatchGlyph(testing::ToBitmap(Plane(w, h, level)), References());
      EXPECT_EQ(m.Digit, digit) << w << "x" << h << " level " << level;
      EXPECT_DOUBLE_EQ(m.Score, share) << w << "x" << h << " level " << level;
      if (w == 1 && h == 1) {
        EXPECT_TRUE(m.Score == 0.0 || m.Score == 1.0);
      }
    }
  }
}

TEST(MatchGlyph, EachReferenceReadsAsItselfAtNoteSizes) {
  const ReferenceDigits& refs = References();
  for (auto [w, h] : {std::pair{28, 45}, {23, 37}, {18, 30}, {14, 22}}) {
    for (int d = 0; d < 10; ++d) {
      const GlyphMatch m = MatchGlyph(testing::ToBitmap(ScaledByBitmapLayer(refs, d, w, h)), refs);
      EXPECT_EQ(m.Digit, d) << w << "x" << h;
    }
  }
}

TEST(MatchGlyph, CacheGivesTheSameAnswers) {
  const ReferenceDigits& refs = References();
  MatchCache cache;
  for (int round = 0; round < 2; ++round)
    for (int d = 0; d < 10; ++d) {
      const GreyPlane glyph = ScaledByBitmapLayer(refs, (d * 7) % 10, 20 + d % 3, 36);
      const GlyphMatch cached = MatchGlyph(glyph, refs, cache);
      const GlyphMatch fresh = MatchGlyph(testing::ToBitmap(glyph), refs);
      EXPECT_EQ(cached.Digit, fresh.Digit);
      EXPECT_EQ(cached.Score, fresh.Score);
    }
}

TEST(MatchGlyph, EmptyGlyphMatchesNothing) {
  const GlyphMatch m = MatchGlyph(Bitmap(), References());
  EXPECT_EQ(m.Digit, 10);
  EXPECT_EQ(m.Score, 0.0);
}

}  // namespace
}  // namespace morvex
