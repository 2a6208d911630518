#include <gtest/gtest.h>

#include <cmath>

#include "analysis/edge_sampling.h"
#include "analysis/walks.h"
#include "morvex/arith.h"
#include "fixtures.h"

namespace morvex {
namespace {

using test::FilledGrey;

TEST(WalkColumn, AllDarkColumnRunsOutOfTheImage) {
  const Bitmap image = FilledGrey(3, 50, 69);
  const GreyView view(image);
  const int top = WalkColumn(view, 1, 1, +1);
  const int bottom = WalkColumn(view, 1, 49, -1);
  EXPECT_EQ(top, 49);
  EXPECT_EQ(bottom, -1);
  EXPECT_EQ(bottom - top + 1, 1 - 50);
}

TEST(WalkColumn, AllBrightColumnStopsAtOnce) {
  const Bitmap image = FilledGrey(3, 50, 70);
  const GreyView view(image);
  const int top = WalkColumn(view, 1, 1, +1);
  const int bottom = WalkColumn(view, 1, 49, -1);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(bottom, 50);
  EXPECT_EQ(bottom - top + 1, 50 + 1);
}

TEST(WalkColumn, NeedsTwoBrightRowsAndAnswersTheRowBefore) {
  Bitmap image = FilledGrey(1, 30, 10);
  image.row(5)[0] = 200;  // a single bright row is passed over
  for (int y = 12; y <= 20; ++y) image.row(y)[0] = 200;
  const GreyView view(image);
  EXPECT_EQ(WalkColumn(view, 0, 1, +1), 11);
  // From below the pair is rows 20 and 21 read as (y, y + 1): y = 19 is the
  // first with both bright, the answer one step back is 20, the bottom row.
  EXPECT_EQ(WalkColumn(view, 0, 29, -1), 20);
}

TEST(SampleColumns, StartsBelowRowZero) {
  // Rows 0 and 1 bright: a walk from row 0 would stop at once, but the
  // column walk starts at row 1, whose pair (1, 2) is not bright.
  Bitmap image = FilledGrey(202, 40, 10);
  for (int x = 0; x < 202; ++x) image.row(0)[x] = image.row(1)[x] = 200;
  for (int y = 10; y < 30; ++y)
    for (int x = 0; x < 202; ++x) image.row(y)[x] = 200;
  const SampleTable t = SampleColumns(GreyView(image));
  for (int i = 1; i <= 100; ++i) {
    EXPECT_EQ(t[i].X1, static_cast<int>(std::nearbyint(i * 2.0)));
    EXPECT_EQ(t[i].Y1, 9);
    EXPECT_EQ(t[i].Y2, 29);
    EXPECT_EQ(t[i].Key, 21);
  }
}

TEST(WalkLine, FindsBothEndsOfABrightRun) {
  Bitmap image = FilledGrey(40, 40, 0);
  // A level bright bar on row 20, columns 10..29, plus a lone bright pixel.
  for (int x = 10; x <= 29; ++x) image.row(20)[x] = 255;
  image.row(20)[5] = 255;
  const GreyView view(image);
  EXPECT_EQ(WalkLine(view, 1, +1, 0.0, 20.0), (IntPoint{9, 20}));
  EXPECT_EQ(WalkLine(view, 38, -1, 0.0, 20.0), (IntPoint{29, 20}));
}

TEST(WalkLine, FollowsATiltedLineWithRounding) {
  Bitmap image = FilledGrey(60, 60, 0);
  // Bright only on the rounded line y = R(0.5 x + 3.2) for x >= 20.
  for (int x = 20; x < 60; ++x) image.row(static_cast<int>(std::nearbyint(0.5 * x + 3.2)))[x] = 255;
  const GreyView view(image);
  EXPECT_EQ(WalkLine(view, 0, +1, 0.5, 3.2), (IntPoint{19, 13}));  // R(9.5 + 3.2) = 13
  // From the right the first pair is at once bright: the point one step back.
  EXPECT_EQ(WalkLine(view, 55, -1, 0.5, 3.2), (IntPoint{56, 31}));
}

TEST(WalkLine, OutOfRangeRowIsAnArithmeticError) {
  const Bitmap image = FilledGrey(10, 10, 0);
  EXPECT_THROW(WalkLine(GreyView(image), 1, +1, 1e12, 0.0), ArithmeticError);
}

}  // namespace
}  // namespace morvex
