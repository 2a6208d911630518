#include <gtest/gtest.h>

#include <stdexcept>

#include "analysis/layout.h"
#include "morvex/arith.h"
#include "case_name.h"

namespace morvex {
namespace {

struct DecisionCase {
  int code1, code2;
  bool recognised;
  int denomination;
  bool upsideDown;
  PatchPlace place;
};

class Decision : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(Decision, FaceValueFromTheFirstCodeOrientationFromEither) {
  const DecisionCase c = GetParam();
  const PatchDecision d = DecidePatches(c.code1, c.code2);
  EXPECT_EQ(d.Recognised, c.recognised);
  EXPECT_EQ(d.Denomination, c.denomination);
  EXPECT_EQ(d.UpsideDown, c.upsideDown);
  EXPECT_EQ(d.Place, c.place);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Decision,
    ::testing::Values(DecisionCase{3, 0, true, 50, false, PatchPlace::First},
                      DecisionCase{0, 8, true, 500, true, PatchPlace::Second},
                      DecisionCase{9, 2, true, 1000, true, PatchPlace::First},
                      DecisionCase{-1, 0, false, -1, false, PatchPlace::First},
                      DecisionCase{0, -1, false, -1, false, PatchPlace::First},
                      DecisionCase{1, 1, true, 10, false, PatchPlace::First},
                      DecisionCase{2, -1, true, 10, true, PatchPlace::First},
                      DecisionCase{5, 6, true, 100, true, PatchPlace::First},
                      DecisionCase{-1, 7, true, 500, false, PatchPlace::Second},
                      DecisionCase{10, 0, true, 1000, true, PatchPlace::First},
                      DecisionCase{4, 3, true, 50, true, PatchPlace::First}),
    [](const auto& info) {
      auto code = [](int c) { return c < 0 ? std::string("none") : std::to_string(c); };
      return "codes_" + code(info.param.code1) + "_" + code(info.param.code2);
    });

TEST(ZoneGeometry, At300DpiScale) {
  NoteFrame f;  // level, vertical edges: only the scales matter for the sizes
  f.m = VerticalSlope;
  const NoteScales s{11.8, 11.8};
  EXPECT_EQ(PlaceRegion(f, s, Zone1Upright).Width, 378);
  EXPECT_EQ(PlaceRegion(f, s, Zone1Upright).Height, 94);  // 94.4
  EXPECT_EQ(PlaceRegion(f, s, Zone2Upright).Width, 366);  // 365.8
  // 11.8 is stored a little above itself: the exact product is 88.5000000000000053,
  // which extended precision keeps (89) and a double product would round to the
  // tie 88.5 and then to 88.
  EXPECT_EQ(PlaceRegion(f, s, PatchFirstPlace).Width, 89);
  EXPECT_EQ(PlaceRegion(f, s, PatchFirstPlace).Height, 177);
  EXPECT_EQ(DigitWidth(s), 28.0);
  // The pitch stays unrounded: 32.0016, so boxes laid at R(j * pitch) from 40
  // start at 40, 72, ..., 232.
  EXPECT_NEAR(DigitPitch(s), 32.0016, 1e-12);
  for (int j = 0; j <= 6; ++j) EXPECT_EQ(40 + R(j * DigitPitch(s)), 40 + 32 * j);
}

TEST(ZoneGeometry, PitchDoesNotDriftAt250Dpi) {
  const NoteScales s{250 / 25.4, 250 / 25.4};
  EXPECT_NEAR(DigitPitch(s), 26.693, 1e-3);
  EXPECT_EQ(R(6 * DigitPitch(s)), 160);  // a rounded pitch of 27 would give 162
  EXPECT_EQ(DigitWidth(s), 23.0);
}

TEST(ZoneGeometry, UpsideDownPlacesAreTheUprightOnesTurned) {
  for (const auto& [up, down] : {std::pair{Zone1Upright, Zone1UpsideDown}, std::pair{Zone2Upright, Zone2UpsideDown}}) {
    EXPECT_EQ(down.D, 150 - up.D - up.Along);
    EXPECT_EQ(down.E, 65 - up.E - up.Across);
  }
}

TEST(ZoneGeometry, OversizedRegionIsNotMade) {
  NoteFrame f;
  f.m = VerticalSlope;
  const Bitmap grey(10, 10, PixelFormat::Indexed8);
  const PlacedRegion huge{{0, 0}, 100000, 100000};
  EXPECT_THROW(CutRegion(grey, f, huge), std::length_error);
  const Bitmap cut = CutRegion(grey, f, PlacedRegion{{0, 0}, 20, 3});
  EXPECT_EQ(cut.width(), 20);
  EXPECT_EQ(cut.pixel(15, 1), MakeColour(0, 0, 0));  // outside the 10 x 10 source
}

TEST(ZoneGeometry, OutlineCornersComeFromMillimetres) {
  NoteFrame f;
  f.k = 0;
  f.bTop = 0;
  f.bBottom = 650;
  f.m = VerticalSlope;
  f.cL = 0;
  const NoteScales s{10.0, 10.0};
  const auto corners = RegionOutline(f, s, PatchFirstPlace);
  EXPECT_EQ(corners[0], (IntPoint{215, 490}));
  EXPECT_EQ(corners[1], (IntPoint{290, 490}));
  EXPECT_EQ(corners[2], (IntPoint{290, 640}));
  EXPECT_EQ(corners[3], (IntPoint{215, 640}));
  EXPECT_EQ(PlaceRegion(f, s, PatchFirstPlace).Origin, corners[0]);
}

}  // namespace
}  // namespace morvex
