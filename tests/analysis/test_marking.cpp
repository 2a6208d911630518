#include <gtest/gtest.h>

#include "analysis/marking.h"
#include "fixtures.h"

namespace morvex {
namespace {

int Changed(const Bitmap& a, const Bitmap& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

TEST(TintRegion, SinglePointTouchesOnlyTheOrigin) {
  Bitmap image = test::Filled(10, 10, 100);
  const Bitmap before = image;
  TintRegion(image, 0, 0, 0.4, {3, 4}, TintChannel::Green);
  EXPECT_EQ(image.pixel(3, 4), MakeColour(100, 255, 100));
  EXPECT_EQ(Changed(before, image), 1);
}

TEST(TintRegion, RaisesTheChosenChannelOverTheInclusiveRectangle) {
  struct Case {
    TintChannel channel;
    Colour expected;
  };
  for (const Case c : {Case{TintChannel::Red, MakeColour(255, 100, 100)}, Case{TintChannel::Green, MakeColour(100, 255, 100)},
                       Case{TintChannel::Blue, MakeColour(100, 100, 255)}}) {
    Bitmap image = test::Filled(12, 12, 100);
    const Bitmap before = image;
    TintRegion(image, 3, 5, 0.0, {2, 1}, c.channel);
    EXPECT_EQ(Changed(before, image), 6 * 4);
    EXPECT_EQ(image.pixel(2, 1), c.expected);
    EXPECT_EQ(image.pixel(7, 4), c.expected);
    EXPECT_EQ(image.pixel(8, 4), before.pixel(8, 4));
    EXPECT_EQ(image.pixel(7, 5), before.pixel(7, 5));
  }
}

TEST(TintRegion, PointsOutsideAreSkipped) {
  Bitmap image = test::Filled(5, 5, 0);
  TintRegion(image, 10, 10, -0.2, {-3, -3}, TintChannel::Red);
  EXPECT_EQ(image.pixel(0, 0), MakeColour(255, 0, 0));
  EXPECT_EQ(image.width(), 5);
}

TEST(DrawOutline, ClosesTheQuadrilateralWithAWidePen) {
  Bitmap image = test::Filled(40, 40, 0);
  DrawOutline(image, {IntPoint{5, 5}, IntPoint{30, 5}, IntPoint{30, 30}, IntPoint{5, 30}}, NoteOutlineColour);
  EXPECT_EQ(image.pixel(17, 5), NoteOutlineColour);
  EXPECT_EQ(image.pixel(5, 17), NoteOutlineColour);   // the closing side
  EXPECT_EQ(image.pixel(17, 6), NoteOutlineColour);   // four pixels wide
  EXPECT_EQ(image.pixel(17, 3), NoteOutlineColour);
  EXPECT_EQ(image.pixel(17, 8), MakeColour(0, 0, 0));
  EXPECT_EQ(image.pixel(17, 17), MakeColour(0, 0, 0));
}

TEST(DrawOutline, CornersFarOutsideDrawOnlyTheVisiblePart) {
  // Sides up to two thousand million pixels long: drawn at once, and the part
  // inside the image is where the unclipped lines would be.
  Bitmap image = test::Filled(60, 40, 0);
  const int far = 2000000000;
  DrawOutline(image, {IntPoint{10, -far}, IntPoint{10, far}, IntPoint{-far, 20}, IntPoint{far, 20}}, NoteOutlineColour);
  for (int y = 0; y < 40; ++y) EXPECT_EQ(image.pixel(10, y), NoteOutlineColour) << y;
  for (int x = 0; x < 60; ++x) EXPECT_EQ(image.pixel(x, 20), NoteOutlineColour) << x;
  EXPECT_EQ(image.pixel(30, 5), MakeColour(0, 0, 0));
  // A quadrilateral wholly outside leaves the image alone.
  Bitmap untouched = test::Filled(60, 40, 0);
  DrawOutline(untouched, {IntPoint{-far, -far}, IntPoint{-10, -far}, IntPoint{-10, far}, IntPoint{-far, far}},
              NoteOutlineColour);
  EXPECT_EQ(Changed(untouched, test::Filled(60, 40, 0)), 0);
}

}  // namespace
}  // namespace morvex
