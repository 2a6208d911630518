#include "zones/segmentation.h"

#include <gtest/gtest.h>

#include <vector>

#include "zone_fixtures.h"

namespace morvex {
namespace {

using testing::Fill;
using testing::Plane;

ZoneSegmentation WithLefts(const std::vector<int>& lefts) {
  ZoneSegmentation seg;
  seg.N = static_cast<int>(lefts.size());
  for (std::size_t k = 0; k < lefts.size(); ++k) seg.box(static_cast<int>(k) + 1) = {lefts[k], lefts[k] + 8};
  return seg;
}

struct GapCase {
  const char* name;
  std::vector<int> lefts;
  int startBox;
};

class FirstDigit : public ::testing::TestWithParam<GapCase> {};

TEST_P(FirstDigit, StartsAfterTheWideGap) { EXPECT_EQ(FirstDigitBox(WithLefts(GetParam().lefts)), GetParam().startBox); }

INSTANTIATE_TEST_SUITE_P(
    Gaps, FirstDigit,
    ::testing::Values(
        // G = 38 > 84 * 1.5 / 7 = 18: the two series letters are skipped.
        GapCase{"SeriesLettersSkipped", {10, 22, 60, 72, 84, 96, 108, 120, 132}, 3},
        GapCase{"EvenGaps", {10, 22, 34, 46, 58, 70, 82, 94, 106}, 1},
        GapCase{"FirstOfTwoWidestGaps", {10, 50, 62, 102, 114}, 2},
        GapCase{"NoBoxes", {}, 1},
        GapCase{"OneBox", {10}, 1},
        GapCase{"TwoBoxesWideGap", {10, 90}, 1},
        // Three boxes: the wider gap against 1.5 times the narrower.
        GapCase{"ThreeBoxesJustWider", {0, 10, 26}, 3},
        GapCase{"ThreeBoxesExactlyOneAndAHalf", {0, 10, 25}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// A zone of 60 x 20 white with print on rows 5 to 14.
GreyPlane PrintRows() { return Plane(60, 20, 255); }

TEST(SegmentZone, FiveDarkColumnsMakeABoxFourDoNot) {
  GreyPlane zone = PrintRows();
  Fill(zone, 10, 5, 14, 14, 0);  // five columns
  Fill(zone, 30, 5, 33, 14, 0);  // four columns
  const ZoneSegmentation seg = SegmentZone(zone, 1);
  EXPECT_EQ(seg.band.Top, 5);
  EXPECT_EQ(seg.band.Bottom, 15);  // the first light row under the print
  ASSERT_EQ(seg.N, 1);
  EXPECT_EQ(seg.boxes[1].Left, 9);
  EXPECT_EQ(seg.boxes[1].Right, 15);
  // The entry after the last box holds the last rejected candidate: the
  // four-column run was overwritten by the stub the search ends on at the
  // right edge (Left = Wp - 2, Right = Wp - 1).
  EXPECT_EQ(seg.boxes[2].Left, 58);
  EXPECT_EQ(seg.boxes[2].Right, 59);
  GreyPlane cut = zone;
  Fill(cut, 30, 5, 59, 14, 255);
  Fill(cut, 55, 5, 58, 14, 0);  // four columns ending one before the edge
  const ZoneSegmentation last = SegmentZone(cut, 1);
  ASSERT_EQ(last.N, 1);
  EXPECT_EQ(last.boxes[2].Left, 54);
  EXPECT_EQ(last.boxes[2].Right, 59);
  EXPECT_EQ(seg.StartBox, 1);
}

TEST(SegmentZone, RunAtColumnZeroHasLeftZero) {
  GreyPlane zone = PrintRows();
  Fill(zone, 0, 5, 5, 14, 0);
  const ZoneSegmentation seg = SegmentZone(zone, 1);
  ASSERT_EQ(seg.N, 1);
  EXPECT_EQ(seg.boxes[1].Left, 0);
  EXPECT_EQ(seg.boxes[1].Right, 6);
}

TEST(SegmentZone, ZoneTwoIgnoresTheRightQuarter) {
  GreyPlane zone = PrintRows();
  Fill(zone, 10, 5, 17, 14, 0);
  Fill(zone, 46, 5, 53, 14, 0);  // right of R(3 * 60 / 4) = 45
  EXPECT_EQ(SegmentZone(zone, 1).N, 2);
  const ZoneSegmentation seg = SegmentZone(zone, 2);
  ASSERT_EQ(seg.N, 1);
  EXPECT_EQ(seg.boxes[1].Left, 9);
}

TEST(SegmentZone, DarkRunReachingTheProfiledEdge) {
  // Zone 2 may search up to column Wp, whose entry reads 0; zone 1 stops at
  // Wp - 1. A run ending at the last profiled column still closes at Wp.
  GreyPlane zone = PrintRows();
  Fill(zone, 10, 5, 17, 14, 0);
  Fill(zone, 38, 5, 44, 14, 0);  // up to column 44 = Wp - 1
  const ZoneSegmentation seg = SegmentZone(zone, 2);
  ASSERT_EQ(seg.N, 2);
  EXPECT_EQ(seg.boxes[2].Left, 37);
  EXPECT_EQ(seg.boxes[2].Right, 45);
}

struct Rect {
  int x0, y0, x1, y1, level;
};

struct BandCase {
  const char* name;
  int width, height;
  std::vector<Rect> print;
  int zoneNumber;
  int top, bottom;  // the expected text band
  int boxes;        // the expected N
};

class TextBands : public ::testing::TestWithParam<BandCase> {};

TEST_P(TextBands, Found) {
  const BandCase& c = GetParam();
  GreyPlane zone = Plane(c.width, c.height, 255);
  for (const Rect& r : c.print) Fill(zone, r.x0, r.y0, r.x1, r.y1, r.level);
  const ZoneSegmentation seg = SegmentZone(zone, c.zoneNumber);
  EXPECT_EQ(seg.band.Top, c.top);
  EXPECT_EQ(seg.band.Bottom, c.bottom);
  EXPECT_EQ(seg.N, c.boxes);
}

// H = 30, H / 3 = 10. The upper band spans rows 4..12 with its light row (9
// rows): zone 1 wants more than 10 and goes on to the taller band below; zone
// 2 accepts 9 + 1 >= 10.
const std::vector<Rect> kShortAndTall = {{10, 4, 20, 11, 0}, {10, 15, 20, 27, 0}};
// Two short bands; after them the search for a dark pair stops at the last
// row, and the row past the image (reading 0) closes a band there: that last
// band, rows H - 1 to H, is the one used.
const std::vector<Rect> kTwoShort = {{10, 3, 20, 5, 0}, {10, 15, 20, 18, 0}};

INSTANTIATE_TEST_SUITE_P(
    Rows, TextBands,
    ::testing::Values(
        BandCase{"ZoneOneSkipsTheShortBand", 80, 30, kShortAndTall, 1, 15, 28, 1},
        BandCase{"ZoneTwoAcceptsTheShortBand", 80, 30, kShortAndTall, 2, 4, 12, 1},
        BandCase{"LastBandFoundWhenNoneIsAccepted", 80, 30, kTwoShort, 1, 29, 30, 0},
        BandCase{"LastBandOnTheLastRows", 80, 30, {{10, 3, 20, 5, 0}, {10, 15, 20, 18, 0}, {10, 28, 20, 29, 0}}, 1,
                 28, 30, 1},
        // Rows 0 and 1 are black background (sum 0 <= 1000). The print rows
        // hold ten black pixels (sum 12750): with the black rows as minimum
        // the threshold would be 11475 and the print would not be dark.
        BandCase{"BlackEdgeRowsDoNotLowerTheRowMinimum", 60, 30, {{0, 0, 59, 1, 0}, {20, 10, 29, 21, 0}}, 1, 10, 22, 1},
        // Bottom becomes H; that row reads 255 and adds to every column.
        BandCase{"PrintReachingTheBottomRow", 60, 20, {{10, 8, 16, 19, 0}, {30, 8, 36, 19, 100}}, 1, 8, 20, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SegmentZone, ManyGlyphsBeyondTheOldTableStillSegment) {
  // Thirty glyphs: more than twenty boxes are kept, in order.
  GreyPlane zone = Plane(30 * 12 + 10, 20, 255);
  for (int i = 0; i < 30; ++i) Fill(zone, 5 + 12 * i, 5, 5 + 12 * i + 6, 14, 0);
  const ZoneSegmentation seg = SegmentZone(zone, 1);
  ASSERT_EQ(seg.N, 30);
  for (int k = 1; k <= 30; ++k) EXPECT_EQ(seg.boxes[static_cast<std::size_t>(k)].Left, 4 + 12 * (k - 1));
}

TEST(SegmentZone, WideAndTallZonesAreProfiledWhole) {
  // 800 x 300 pixels, beyond the old 401-column and 151-row tables.
  GreyPlane zone = Plane(800, 300, 240);
  for (int i = 0; i < 9; ++i) {
    const int x = 100 + 70 * i + (i >= 2 ? 120 : 0);
    Fill(zone, x, 100, x + 40, 219, 10);
  }
  const ZoneSegmentation seg = SegmentZone(zone, 1);
  EXPECT_EQ(seg.band.Top, 100);
  EXPECT_EQ(seg.band.Bottom, 220);
  ASSERT_EQ(seg.N, 9);
  EXPECT_EQ(seg.StartBox, 3);
}

TEST(SegmentZone, TinyZonesDoNotFail) {
  for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {2, 2}, {1, 40}, {40, 1}}) {
    const ZoneSegmentation seg = SegmentZone(Plane(w, h, 128), 2);
    EXPECT_EQ(seg.N, 0) << w << "x" << h;
    EXPECT_EQ(seg.StartBox, 1);
    EXPECT_GE(seg.boxes.size(), 2u);
  }
}

}  // namespace
}  // namespace morvex
