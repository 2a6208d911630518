#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>

#include "analysis/edge_sampling.h"
#include "fixtures.h"
#include "morvex/arith.h"

namespace morvex {
namespace {

using test::FilledGrey;

struct StartCase {
  const char* what;
  double k, b;
  int left, right;  // expected starts; -1: the choice raises ArithmeticError
};

constexpr int kW = 200, kH = 100;  // W div 2 = 100

class WalkStarts : public ::testing::TestWithParam<StartCase> {};

TEST_P(WalkStarts, FollowTheCrossings) {
  const StartCase c = GetParam();
  if (c.left < 0) {
    EXPECT_THROW(LeftWalkStart(c.k, c.b, kW, kH), ArithmeticError);
  } else {
    EXPECT_EQ(LeftWalkStart(c.k, c.b, kW, kH), c.left);
  }
  if (c.right < 0) {
    EXPECT_THROW(RightWalkStart(c.k, c.b, kW, kH), ArithmeticError);
  } else {
    EXPECT_EQ(RightWalkStart(c.k, c.b, kW, kH), c.right);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, WalkStarts,
    ::testing::Values(
        // k = 0 has no crossing: both choices fail and the side walks fall back.
        StartCase{"level", 0.0, 40.0, -1, -1},
        // Row 0 crossed at 50, row 99 at 248 (outside): left takes 50, right the side.
        StartCase{"top crossing left half", 0.5, -25.0, 50, 199},
        // Row 0 crossed exactly at W div 2: excluded on the left, accepted on the right.
        StartCase{"top crossing at half", 0.5, -50.0, 1, 100},
        // Row 0 crossed at column 0: the left walk starts at 1; the right walk
        // consults row 99, crossed at 198.
        StartCase{"top crossing at 0", 0.5, 0.0, 1, 198},
        // Row 0 crossed at 240 (right of the image), row 99 at 42: the left walk
        // uses the bottom crossing, the right walk its side.
        StartCase{"bottom crossing left half", -0.5, 120.0, 42, 199},
        // Row 0 crossed at 180, row 99 at -18: left from 1, right from 180.
        StartCase{"top crossing right half", -0.5, 90.0, 1, 180},
        // Row 0 crossed at W - 1 exactly: accepted by the right walk.
        StartCase{"top crossing at W-1", 0.5, -99.5, 1, 199},
        // Row 0 crossed left of the image: neither half.
        StartCase{"top crossing negative", 0.5, 10.0, 1, 199},
        // A crossing beyond the 32-bit range cannot be rounded.
        StartCase{"tiny slope", 1e-12, 50.0, -1, -1}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

// A level bright rectangle, rows 30..89 and columns 50..249 of 300 x 120, with
// bright blocks at both image sides on every row.
Bitmap LevelNoteWithSideBlocks() {
  Bitmap image = FilledGrey(300, 120, 5);
  for (int y = 30; y <= 89; ++y)
    for (int x = 50; x <= 249; ++x) image.row(y)[x] = 220;
  for (int y = 0; y < 120; ++y)
    for (int x : {0, 1, 2, 297, 298, 299}) image.row(y)[x] = 220;
  return image;
}

TEST(LineSampling, LevelNoteWalksFromTheImageSides) {
  const Bitmap image = LevelNoteWithSideBlocks();
  const GreyView view(image);
  SampleTable columns = SampleColumns(view);
  const LongEdges edges = FitLongEdges(columns);
  EXPECT_EQ(edges.k, 0.0);
  EXPECT_EQ(edges.bTop, 29);
  EXPECT_EQ(edges.Median, 61.0);
  EXPECT_EQ(edges.bBottom, 90);

  const SampleTable lines = SampleLines(view, edges);
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0].Key, 0.0);
  for (int i = 1; i <= 15; ++i) {
    // The walks start in the side blocks, at columns 1 and W - 1, and stop at once.
    const int row = static_cast<int>(std::nearbyint(29 + i * 61.0 / 16));
    EXPECT_EQ(lines[i].X1, 0) << i;
    EXPECT_EQ(lines[i].Y1, row) << i;
    EXPECT_EQ(lines[i].X2, 300) << i;
    EXPECT_EQ(lines[i].Y2, row) << i;
    EXPECT_EQ(lines[i].Key, 300.0 * 300.0) << i;
  }
}

TEST(LongEdgeFit, EmptyImageIsAnArithmeticError) {
  const Bitmap image = FilledGrey(0, 0, 0);
  const GreyView view(image);
  SampleTable columns = SampleColumns(view);
  EXPECT_THROW(FitLongEdges(columns), ArithmeticError);
}

TEST(LongEdgeFit, NoteThatMissesMostColumnsGivesTheDarkFit) {
  // A level note across only a third of a wide image: the median key is the
  // all-dark 1 - H and the frame spans the whole height upside down.
  Bitmap image = FilledGrey(900, 80, 5);
  for (int y = 20; y < 60; ++y)
    for (int x = 300; x < 600; ++x) image.row(y)[x] = 220;
  SampleTable columns = SampleColumns(GreyView(image));
  const LongEdges edges = FitLongEdges(columns);
  EXPECT_EQ(edges.Median, 1.0 - 80);
  EXPECT_EQ(edges.k, 0.0);
  EXPECT_EQ(edges.bTop, 79);
  EXPECT_EQ(edges.bBottom, 0);
}

TEST(LongEdgeFit, FitsATiltedTopEdgeExactly) {
  // Top edge on rows R(0.1 x) + 20, bottom at + 40: every column is full height.
  Bitmap image = FilledGrey(505, 120, 0);
  for (int x = 0; x < 505; ++x) {
    const int top = static_cast<int>(std::nearbyint(0.1 * x)) + 20;
    for (int y = top; y < top + 40; ++y) image.row(y)[x] = 255;
  }
  SampleTable columns = SampleColumns(GreyView(image));
  const LongEdges edges = FitLongEdges(columns);
  EXPECT_NEAR(edges.k, 0.1, 1e-3);
  EXPECT_EQ(edges.bTop, 19);
  EXPECT_EQ(edges.Median, 41.0);
  EXPECT_EQ(edges.bBottom, 60);
}

}  // namespace
}  // namespace morvex
