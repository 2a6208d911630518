#include <gtest/gtest.h>

#include "analysis/grey_view.h"
#include "morvex/grey_image.h"
#include "case_name.h"

namespace morvex {
namespace {

struct ColourCase {
  std::uint8_t r, g, b;
  int level;
  bool bright;
};

class WorkingImageBrightness : public ::testing::TestWithParam<ColourCase> {};

TEST_P(WorkingImageBrightness, PixelBecomesItsBrightness) {
  const ColourCase c = GetParam();
  Bitmap input(2, 1, PixelFormat::Rgb24);
  input.setPixel(0, 0, MakeColour(c.r, c.g, c.b));
  const Bitmap grey = MakeWorkingImage(input);
  const GreyView view(grey);
  EXPECT_EQ(view.level(0, 0), c.level);
  EXPECT_EQ(view.bright(0, 0), c.bright);
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkingImageBrightness,
                         ::testing::Values(ColourCase{0, 0, 0, 0, false}, ColourCase{255, 255, 255, 255, true},
                                           ColourCase{69, 70, 70, 70, true}, ColourCase{69, 69, 70, 69, false},
                                           ColourCase{70, 70, 70, 70, true}, ColourCase{1, 0, 0, 0, false},
                                           ColourCase{2, 0, 0, 1, false}, ColourCase{10, 200, 30, 80, true}),
                         [](const auto& info) {
                           const auto& c = info.param;
                           return "rgb_" + std::to_string(c.r) + "_" + std::to_string(c.g) + "_" + std::to_string(c.b);
                         });

TEST(GreyView, OutsideTheImageReadsBright) {
  Bitmap black(3, 2, PixelFormat::Indexed8);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) black.row(y)[x] = 0;
  const GreyView view(black);
  EXPECT_EQ(view.level(-1, 0), 255);
  EXPECT_EQ(view.level(0, -1), 255);
  EXPECT_EQ(view.level(3, 1), 255);
  EXPECT_EQ(view.level(2, 2), 255);
  EXPECT_EQ(view.level(2, 1), 0);
}

TEST(GreyView, RejectsAnImageThatIsNotGrey) {
  const Bitmap colour(2, 2, PixelFormat::Rgb24);
  EXPECT_THROW(GreyView{colour}, std::logic_error);
}

// A colour image with every kind of pixel, and a palette image with a
// non-grey palette shorter than 256 entries.
Bitmap ColourfulImage() {
  Bitmap b(37, 11, PixelFormat::Rgb24);
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x)
      b.setPixel(x, y, MakeColour(static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(y * 23),
                                  static_cast<std::uint8_t>(255 - x * 3)));
  return b;
}

Bitmap PaletteImage() {
  Bitmap b(20, 5, PixelFormat::Indexed8);
  std::vector<Rgb> palette;
  for (int i = 0; i < 17; ++i)
    palette.push_back({static_cast<std::uint8_t>(i * 15), static_cast<std::uint8_t>(255 - i * 9),
                       static_cast<std::uint8_t>(i * i)});
  b.setPaletteEntries(palette);
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) b.row(y)[x] = static_cast<std::uint8_t>((x + 3 * y) % 20);  // 17..19 past the end
  return b;
}

TEST(MakeWorkingImage, SameAsGreyingACopyAndLeavesTheInputAlone) {
  for (const Bitmap& input : {ColourfulImage(), PaletteImage()}) {
    const Bitmap before = input;
    const Bitmap work = MakeWorkingImage(input);
    Bitmap reference = input;
    MakeGreyImage(reference);
    ASSERT_EQ(work.width(), input.width());
    ASSERT_EQ(work.height(), input.height());
    EXPECT_TRUE(work.hasGreyPalette());
    EXPECT_TRUE(reference.hasGreyPalette());
    for (int y = 0; y < input.height(); ++y)
      for (int x = 0; x < input.width(); ++x) {
        ASSERT_EQ(work.pixel(x, y), reference.pixel(x, y)) << x << "," << y;
        ASSERT_EQ(Brightness(work.pixel(x, y)), Brightness(input.pixel(x, y)));
        ASSERT_EQ(input.pixel(x, y), before.pixel(x, y));
      }
  }
}

}  // namespace
}  // namespace morvex
