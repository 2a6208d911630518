#include "morvex/bitmap.h"

#include <gtest/gtest.h>

#include <vector>
#include "case_name.h"

namespace morvex {
namespace {

constexpr Colour kWhite = MakeColour(255, 255, 255);
constexpr Colour kBlack = MakeColour(0, 0, 0);

// A small 24-bit image whose every pixel is distinct: (x * 40, y * 40, 7).
Bitmap Gradient(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.setPixel(x, y, MakeColour(static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 40), 7));
  return b;
}

class BothFormats : public ::testing::TestWithParam<PixelFormat> {};

TEST_P(BothFormats, NewBitmapIsWhite) {
  const Bitmap b(5, 3, GetParam());
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(b.pixel(x, y), kWhite);
}

TEST_P(BothFormats, ReadsOutsideGiveTheInvalidColour) {
  const Bitmap b(4, 3, GetParam());
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {-100, 100}}) {
    EXPECT_EQ(b.pixel(x, y), kInvalidColour) << x << "," << y;
    EXPECT_EQ(Brightness(b.pixel(x, y)), 255);
  }
}

TEST_P(BothFormats, WritesOutsideChangeNothing) {
  Bitmap b(4, 3, GetParam());
  const std::vector<std::uint8_t> before(b.data(), b.data() + b.stride() * b.height());
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {4, 3}})
    b.setPixel(x, y, kBlack);
  EXPECT_EQ(std::vector<std::uint8_t>(b.data(), b.data() + b.stride() * b.height()), before);
}

TEST_P(BothFormats, WritingTheInvalidColourPutsBlack) {
  Bitmap b(2, 2, GetParam());
  b.setPixel(1, 1, kInvalidColour);
  EXPECT_EQ(b.pixel(1, 1), kBlack);
  EXPECT_EQ(b.pixel(0, 0), kWhite);
}

TEST_P(BothFormats, ResetReusesStorageAndIsWhiteAgain) {
  Bitmap b(40, 30, GetParam());
  b.setPixel(0, 0, kBlack);
  const std::uint8_t* storage = b.data();
  b.reset(20, 10, GetParam());
  EXPECT_EQ(b.data(), storage);
  EXPECT_EQ(b.width(), 20);
  EXPECT_EQ(b.pixel(0, 0), kWhite);
}

TEST_P(BothFormats, SetSizeKeepsTheTopLeftAndTheSourceDepth) {
  Bitmap b(3, 2, GetParam());
  b.setPixel(2, 1, kBlack);
  b.setSourceBitDepth(4);
  b.setSize(5, 4);
  EXPECT_EQ(b.pixel(2, 1), kBlack);
  EXPECT_EQ(b.pixel(4, 3), kWhite);
  EXPECT_EQ(b.sourceBitDepth(), 4);
  b.reset(5, 4, GetParam());  // a new picture
  EXPECT_EQ(b.sourceBitDepth(), GetParam() == PixelFormat::Rgb24 ? 24 : 8);
}

INSTANTIATE_TEST_SUITE_P(Formats, BothFormats, ::testing::Values(PixelFormat::Rgb24, PixelFormat::Indexed8),
                         [](const auto& info) { return std::string(info.param == PixelFormat::Rgb24 ? "Rgb24" : "Indexed8"); });

TEST(Brightness, RoundsTheMeanOfTheChannels) {
  EXPECT_EQ(Brightness(MakeColour(0, 0, 0)), 0);
  EXPECT_EQ(Brightness(MakeColour(255, 255, 255)), 255);
  EXPECT_EQ(Brightness(MakeColour(69, 70, 70)), 70);
  EXPECT_EQ(Brightness(MakeColour(69, 69, 70)), 69);
  EXPECT_EQ(Brightness(MakeColour(1, 0, 0)), 0);
  EXPECT_EQ(Brightness(MakeColour(2, 0, 0)), 1);
  EXPECT_EQ(Brightness(kInvalidColour), 255);
}

TEST(ReplacePalette, GreyPaletteTakesEachPixelToTheGreyOfItsBrightness) {
  const std::vector<Colour> colours = {MakeColour(69, 70, 70), MakeColour(69, 69, 70), MakeColour(255, 0, 0),
                                       MakeColour(0, 0, 255), MakeColour(10, 200, 90), MakeColour(1, 0, 0)};
  Bitmap b(static_cast<int>(colours.size()), 1);
  for (std::size_t i = 0; i < colours.size(); ++i) b.setPixel(static_cast<int>(i), 0, colours[i]);
  b.replacePalette(GreyPalette());
  EXPECT_EQ(b.format(), PixelFormat::Indexed8);
  EXPECT_TRUE(b.hasGreyPalette());
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const int g = Brightness(colours[i]);
    EXPECT_EQ(b.row(0)[i], g) << i;
    EXPECT_EQ(b.pixel(static_cast<int>(i), 0), MakeColour(g, g, g)) << i;
  }
  EXPECT_EQ(b.row(0)[0], 70);
  EXPECT_EQ(b.row(0)[1], 69);
}

TEST(ReplacePalette, MapsToTheNearestEntryLowestIndexOnTies) {
  Bitmap b(3, 1);
  b.setPixel(0, 0, MakeColour(250, 10, 10));
  b.setPixel(1, 0, MakeColour(10, 10, 240));
  b.setPixel(2, 0, MakeColour(128, 0, 0));  // 127 from red, 128 from black
  const std::vector<Rgb> palette = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 0, 0}};
  b.replacePalette(palette);
  EXPECT_EQ(b.row(0)[0], 1);
  EXPECT_EQ(b.row(0)[1], 2);
  EXPECT_EQ(b.row(0)[2], 1);
  Bitmap tie(1, 1);
  tie.setPixel(0, 0, MakeColour(0, 0, 0));
  tie.replacePalette(palette);  // entries 0 and 3 are both exact
  EXPECT_EQ(tie.row(0)[0], 0);
}

TEST(StretchCopy, NearestNeighbourWithExclusiveRightAndBottom) {
  const Bitmap src = Gradient(4, 4);
  Bitmap dst(8, 8);
  // Source [1, 3) x [0, 2) doubled into [0, 4) x [0, 4).
  StretchCopy(dst, {0, 0, 4, 4}, src, {1, 0, 3, 2});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.pixel(x, y), src.pixel(1 + x / 2, y / 2)) << x << "," << y;
  EXPECT_EQ(dst.pixel(4, 0), kWhite);  // right bound excluded
  EXPECT_EQ(dst.pixel(0, 4), kWhite);  // bottom bound excluded
}

TEST(StretchCopy, ShrinksByPickingTheMiddleOfEachSpan) {
  const Bitmap src = Gradient(6, 1);
  Bitmap dst(2, 1);
  StretchCopy(dst, {0, 0, 2, 1}, src, {0, 0, 6, 1});
  EXPECT_EQ(dst.pixel(0, 0), src.pixel(1, 0));  // floor(1 * 6 / 4)
  EXPECT_EQ(dst.pixel(1, 0), src.pixel(4, 0));  // floor(3 * 6 / 4)
}

TEST(StretchCopy, BackwardsSourceMirrors) {
  const Bitmap src = Gradient(4, 3);
  Bitmap dst(4, 3);
  StretchCopy(dst, {0, 0, 4, 3}, src, {4, 0, 0, 3});  // horizontal mirror
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.pixel(x, y), src.pixel(3 - x, y)) << x << "," << y;
  StretchCopy(dst, {0, 0, 4, 3}, src, {4, 3, 0, 0});  // half turn
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.pixel(x, y), src.pixel(3 - x, 2 - y)) << x << "," << y;
}

TEST(StretchCopy, SourceOutsideWritesBlackDestinationOutsideIsSkipped) {
  const Bitmap src = Gradient(2, 2);
  Bitmap dst(3, 3);
  StretchCopy(dst, {1, 1, 4, 4}, src, {0, 0, 3, 3});
  EXPECT_EQ(dst.pixel(1, 1), src.pixel(0, 0));
  EXPECT_EQ(dst.pixel(2, 2), src.pixel(1, 1));
  EXPECT_EQ(dst.pixel(0, 0), kWhite);
  Bitmap wide(4, 1);
  StretchCopy(wide, {0, 0, 4, 1}, src, {0, 0, 4, 1});
  EXPECT_EQ(wide.pixel(1, 0), src.pixel(1, 0));
  EXPECT_EQ(wide.pixel(2, 0), kBlack);
  EXPECT_EQ(wide.pixel(3, 0), kBlack);
}

TEST(StretchCopy, CopyOntoItselfReadsASnapshot) {
  Bitmap b = Gradient(4, 1);
  const Bitmap before = b;
  // Mirrored in place: a copy that read its own writes would come out symmetric.
  StretchCopy(b, {0, 0, 4, 1}, b, {4, 0, 0, 1});
  for (int x = 0; x < 4; ++x) EXPECT_EQ(b.pixel(x, 0), before.pixel(3 - x, 0)) << x;
}

TEST(StretchCopy, IndexedToIndexedWithOtherPaletteMapsColours) {
  Bitmap src(2, 1, PixelFormat::Indexed8);
  const std::vector<Rgb> red = {{255, 0, 0}, {0, 0, 0}};
  src.setPaletteEntries(red);
  src.row(0)[0] = 0;
  src.row(0)[1] = 1;
  Bitmap dst(2, 1, PixelFormat::Indexed8);  // grey palette
  StretchCopy(dst, {0, 0, 2, 1}, src, {0, 0, 2, 1});
  EXPECT_EQ(dst.pixel(0, 0), MakeColour(85, 85, 85));
  EXPECT_EQ(dst.pixel(1, 0), kBlack);
}

TEST(Canvas, WideLineIsSolidAndExactlyThatWide) {
  for (const int width : {1, 3, 4}) {
    Bitmap b(40, 40);
    Canvas c(b);
    c.setPen(width, kBlack);
    c.moveTo(5, 20);
    c.lineTo(30, 20);
    int top = 40, bottom = -1;
    for (int y = 0; y < 40; ++y) {
      if (b.pixel(15, y) == kBlack) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    EXPECT_EQ(bottom - top + 1, width) << width;
    for (int y = top; y <= bottom; ++y)
      for (int x = 5; x <= 30; ++x) ASSERT_EQ(b.pixel(x, y), kBlack) << width << ": " << x << "," << y;
  }
}

TEST(Canvas, DiagonalWideLineHasNoHoles) {
  Bitmap b(40, 40);
  Canvas c(b);
  c.setPen(4, kBlack);
  c.moveTo(5, 5);
  c.lineTo(30, 25);
  // Across the line, every column between its edges is painted.
  for (int x = 8; x <= 27; ++x) {
    int first = -1, last = -1;
    for (int y = 0; y < 40; ++y) {
      if (b.pixel(x, y) == kBlack) {
        if (first < 0) first = y;
        last = y;
      }
    }
    ASSERT_GE(first, 0) << x;
    for (int y = first; y <= last; ++y) ASSERT_EQ(b.pixel(x, y), kBlack) << x << "," << y;
    EXPECT_GE(last - first + 1, 4) << x;
  }
}

TEST(Bitmap, FormatChangesKeepColoursOrReduceToGrey) {
  Bitmap b = Gradient(3, 2);
  const Bitmap original = b;
  b.setFormat(PixelFormat::Indexed8);
  EXPECT_TRUE(b.hasGreyPalette());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      const int g = Brightness(original.pixel(x, y));
      EXPECT_EQ(b.pixel(x, y), MakeColour(g, g, g));
    }
  b.setFormat(PixelFormat::Rgb24);
  EXPECT_EQ(b.pixel(2, 1), MakeColour(Brightness(original.pixel(2, 1)), Brightness(original.pixel(2, 1)),
                                      Brightness(original.pixel(2, 1))));
}

}  // namespace
}  // namespace morvex
