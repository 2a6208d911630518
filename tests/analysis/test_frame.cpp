#include <gtest/gtest.h>

#include <cmath>

#include "analysis/frame.h"
#include "fixtures.h"
#include "morvex/grey_image.h"
#include "case_name.h"

namespace morvex {
namespace {

struct DpiCase {
  double longSide;
  int dpi;
};
class DpiEstimate : public ::testing::TestWithParam<DpiCase> {};
TEST_P(DpiEstimate, RoundsToTens) { EXPECT_EQ(EstimateDpi(GetParam().longSide), GetParam().dpi); }
INSTANTIATE_TEST_SUITE_P(Table, DpiEstimate,
                         ::testing::Values(DpiCase{1772, 300}, DpiCase{886, 150}, DpiCase{1181, 200},
                                           DpiCase{0, 0}, DpiCase{2000, 340}, DpiCase{1744, 290},
                                           DpiCase{1745, 300}),
                         [](const auto& info) { return ::morvex::testing::CaseName("long_side", info.param.longSide); });

EdgeSample Chord(int x1, int y1, int x2, int y2) {
  const double dx = x1 - x2, dy = y1 - y2;
  return {x1, y1, x2, y2, dx * dx + dy * dy};
}

const LongEdges kEdges{0.1, 100, 400, 301.0};

// The robust reading's frame on the same chords: left ends on the line
// through (300, 130) square to the long edges of slope 0.1, right ends on the
// one through (1800, 280); the chords' lengths differ, so the exact fit's run
// holds a single line.
SampleTable SquareChords() {
  SampleTable lines(16);
  for (int i = 1; i <= 15; ++i) lines[i] = Chord(300 - 2 * (i - 1), 130 + 20 * (i - 1), 1800 - 2 * (i - 1), 280 + 20 * (i - 1));
  return lines;
}

TEST(BuildSquareFrame, ShortEdgesAreSquareToTheLongOnes) {
  SampleTable lines = SquareChords();
  const NoteFrame f = BuildSquareFrame(lines, kEdges);
  EXPECT_NEAR(f.m, -10.0, 1e-9);
  EXPECT_NEAR(f.cL, 3130, 1);   // 130 + 10 * 300
  EXPECT_NEAR(f.cR, 18280, 1);  // 280 + 10 * 1800
  EXPECT_EQ(f.P1, (IntPoint{300, 130}));
  // Chords a pixel apart in length: the exact fit's run holds one line.
  for (int i = 1; i <= 15; ++i) lines[i] = Chord(lines[i].X1, lines[i].Y1, lines[i].X2 + i, lines[i].Y2);
  EXPECT_EQ(BuildFrame(lines, kEdges).m, VerticalSlope);
}

TEST(BuildSquareFrame, StraySamplesDoNotMoveTheEdges) {
  SampleTable lines = SquareChords();
  const NoteFrame straight = BuildSquareFrame(lines, kEdges);
  // A dog-eared corner shortens two chords at the left, a crease stops one
  // walk early at the right.
  lines[1].X1 += 40;
  lines[2].X1 += 25;
  lines[9].X2 -= 300;
  const NoteFrame f = BuildSquareFrame(lines, kEdges);
  EXPECT_EQ(f.cL, straight.cL);
  EXPECT_EQ(f.cR, straight.cR);
}

TEST(BuildSquareFrame, LevelNoteHasUprightShortEdges) {
  const LongEdges level{0.0, 100, 400, 301.0};
  SampleTable lines(16);
  for (int i = 1; i <= 15; ++i) lines[i] = Chord(200, 100 + 20 * i, 1800, 100 + 20 * i);
  const NoteFrame f = BuildSquareFrame(lines, level);
  EXPECT_EQ(f.m, VerticalSlope);
  EXPECT_EQ(f.P1, (IntPoint{200, 100}));
  EXPECT_EQ(f.P3, (IntPoint{1800, 400}));
  EXPECT_DOUBLE_EQ(f.LongSide, 1600.0);
}

TEST(BuildFrame, RunOfOneLineGivesVerticalShortEdges) {
  // Chords 2 px apart in length: squared lengths differ by far more than 3.
  SampleTable lines(16);
  for (int i = 1; i <= 15; ++i) lines[i] = Chord(200, 130 + i, 1800 + 2 * (i - 7), 290 + i);
  const NoteFrame f = BuildFrame(lines, kEdges);
  EXPECT_EQ(f.m, VerticalSlope);
  EXPECT_EQ(f.cL, 137 - 100000 * 200);
  EXPECT_EQ(f.cR, 297 - 100000 * 1800);
  EXPECT_EQ(f.P1, (IntPoint{200, 120}));
  EXPECT_EQ(f.P2, (IntPoint{200, 420}));
  EXPECT_EQ(f.P3, (IntPoint{1800, 580}));
  EXPECT_EQ(f.P4, (IntPoint{1800, 280}));
  EXPECT_EQ(f.ShortSide, 300.0);
  EXPECT_DOUBLE_EQ(f.LongSide, std::sqrt(1600.0 * 1600 + 160 * 160));
}

TEST(BuildFrame, LeftPointsInOneColumnAverageWithTheRightSlope) {
  SampleTable lines(16);
  for (int i = 1; i <= 15; ++i) lines[i] = {200, 130 + 10 * i, 1800 - i, 290 + 10 * i, 1000.0};
  const NoteFrame f = BuildFrame(lines, kEdges);
  // Right ends fall 10 rows per column to the left: slope -10.
  EXPECT_DOUBLE_EQ(f.m, (100000.0 - 10.0) / 2);
}

TEST(BuildFrame, FitsBothShortEdgesOverTheRun) {
  // Short edges of slope -5 through (200, 100) and (1800, 260), equal chords.
  SampleTable lines(16);
  for (int i = 1; i <= 15; ++i) lines[i] = Chord(200 - 2 * i, 100 + 10 * i, 1800 - 2 * i, 260 + 10 * i);
  const NoteFrame f = BuildFrame(lines, kEdges);
  EXPECT_DOUBLE_EQ(f.m, -5.0);
  EXPECT_EQ(f.cL, 1100);   // 100 + 5 * 200
  EXPECT_EQ(f.cR, 9260);   // 260 + 5 * 1800
  // Top edge y = 0.1 x + 100 meets y = -5 x + 1100 at x = 1000 / 5.1.
  EXPECT_EQ(f.P1, (IntPoint{196, 120}));
}

TEST(NotePoint, LevelNoteWithVerticalEdges) {
  NoteFrame f;
  f.k = 0;
  f.bTop = 50;
  f.bBottom = 180;
  f.m = VerticalSlope;
  f.cL = -100000 * 100;
  const NoteScales s{10.0, 2.0};
  for (const auto& [d, e] : {std::pair{20.0, 13.0}, std::pair{0.0, 0.0}, std::pair{7.5, 65.0}, std::pair{33.3, 40.0}}) {
    const IntPoint p = NotePoint(f, s, d, e);
    EXPECT_EQ(p.x, static_cast<int>(std::nearbyint(100 + d * 10))) << d;
    EXPECT_EQ(p.y, static_cast<int>(std::nearbyint(50 + 130 * e / 65))) << e;
  }
}

TEST(NotePoint, PerpendicularShortEdgeMovesAlongTheNote) {
  // Long edges of slope 0.25, short edges perpendicular (slope -4).
  NoteFrame f;
  f.k = 0.25;
  f.bTop = 100;
  f.bBottom = 100 + 412;  // 400 px across / cos(theta)
  f.m = -4;
  f.cL = 100 + 4 * 200;   // through (200, 150)
  const NoteScales s{10.0, 400.0 / 65};
  const IntPoint p1 = NotePoint(f, s, 0, 0);
  const IntPoint p = NotePoint(f, s, 50, 0);
  const double moved = std::hypot(p.x - p1.x, p.y - p1.y);
  EXPECT_NEAR(moved, 500.0, 1.5);
}

TEST(Frame, AllDarkImageGivesTheMirroredFrame) {
  const int w = 300, h = 120;
  const Bitmap work = MakeWorkingImage(test::Filled(w, h, 69));
  const GreyView view(work);
  SampleTable columns = SampleColumns(view);
  const LongEdges edges = FitLongEdges(columns);
  SampleTable lines = SampleLines(view, edges);
  const NoteFrame f = BuildFrame(lines, edges);
  EXPECT_EQ(f.ShortSide, h - 1);
  EXPECT_EQ(f.LongSide, w);
  EXPECT_EQ(f.P1.x, w - 1);
  EXPECT_EQ(f.P2.x, w - 1);
  EXPECT_EQ(f.P3.x, -1);
  EXPECT_EQ(f.P4.x, -1);
  EXPECT_EQ(SizeLine(f), "119x300");
}

// A note tilted on a dark background, large enough that most sampled columns
// cross both long edges.
class TiltedNote : public ::testing::TestWithParam<std::tuple<int, double>> {};

TEST_P(TiltedNote, FrameGivesTiltSidesAndResolution) {
  const struct {
    int dpi;
    double degrees;
  } c{std::get<0>(GetParam()), std::get<1>(GetParam())};
  test::NoteScene scene;
  scene.dpi = c.dpi;
  scene.degrees = c.degrees;
  const double a = std::fabs(c.degrees) * M_PI / 180;
  const double l = scene.longSidePx(), s = scene.shortSidePx();
  scene.width = static_cast<int>(l * std::cos(a) + s * std::sin(a)) + 120;
  scene.height = static_cast<int>(l * std::sin(a) + s * std::cos(a)) + 120;
  const Bitmap work = MakeWorkingImage(test::Render(scene));
  const GreyView view(work);
  SampleTable columns = SampleColumns(view);
  const LongEdges edges = FitLongEdges(columns);
  SampleTable lines = SampleLines(view, edges);
  const NoteFrame f = BuildFrame(lines, edges);
  EXPECT_NEAR(std::atan(f.k) * 180 / M_PI, c.degrees, 0.1);
  EXPECT_NEAR(f.LongSide, l, 2.0);
  EXPECT_NEAR(f.ShortSide, s, 2.0);
  EXPECT_EQ(EstimateDpi(f.LongSide), c.dpi);
}

INSTANTIATE_TEST_SUITE_P(Dpis, TiltedNote,
                         ::testing::Combine(::testing::Values(150, 200, 300),
                                            ::testing::Values(-20.0, -5.0, 0.0, 7.0, 25.0)),
                         [](const auto& info) {
                           const double deg = std::get<1>(info.param);
                           return std::to_string(std::get<0>(info.param)) + "dpi_" + (deg < 0 ? "minus" : "") +
                                  std::to_string(static_cast<int>(std::fabs(deg))) + "deg";
                         });

}  // namespace
}  // namespace morvex
