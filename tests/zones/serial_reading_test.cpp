#include "zones/serial_reading.h"

#include <gtest/gtest.h>

#include <cmath>

#include "morvex/arith.h"
#include "zone_fixtures.h"
#include "zones/zones.h"
#include "case_name.h"

namespace morvex {
namespace {

using testing::DrawZone;
using testing::NoteZone;
using testing::References;
using testing::ToBitmap;
using testing::ZoneLayout;

double PxPerMm(double dpi) { return dpi / 25.4; }

struct ReadCase {
  double dpi;
  const char* digits;
};

class ReadsBack : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadsBack, ZoneOne) {
  const auto [dpi, digits] = GetParam();
  Bitmap zone = ToBitmap(DrawZone(NoteZone(1, dpi), digits, References()));
  EXPECT_EQ(ReadZone1Number(zone, References()), digits);
}

TEST_P(ReadsBack, ZoneTwoOnTheTruePitch) {
  const auto [dpi, digits] = GetParam();
  Bitmap zone = ToBitmap(DrawZone(NoteZone(2, dpi), digits, References()));
  const double px = PxPerMm(dpi);
  EXPECT_EQ(ReadZone2Number(zone, 2.712 * px, static_cast<double>(R(2.373 * px)), References()), digits);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, ReadsBack,
                         ::testing::Values(ReadCase{150, "0123456"}, ReadCase{200, "7890123"},
                                           ReadCase{250, "4567890"}, ReadCase{250, "3679836"},
                                           // At 230 dpi the pitch rounded to 25 drifts 2.7 pixels by
                                           // the seventh box, enough to misread the final 3.
                                           ReadCase{230, "9565633"}, ReadCase{230, "2682693"},
                                           ReadCase{300, "9876543"}, ReadCase{300, "1111111"},
                                           ReadCase{600, "2468013"}),
                         [](const auto& info) { return ::morvex::testing::CaseName("dpi", info.param.dpi) + "_" + info.param.digits; });

TEST(ReadZone1Number, ColourZoneReadsLikeGrey) {
  const GreyPlane plane = DrawZone(NoteZone(1, 300), "5031274", References());
  Bitmap colour(plane.width, plane.height, PixelFormat::Rgb24);
  for (int y = 0; y < plane.height; ++y)
    for (int x = 0; x < plane.width; ++x) {
      const int v = plane.row(y)[x];
      colour.setPixel(x, y, MakeColour(static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v),
                                       static_cast<std::uint8_t>(v)));
    }
  EXPECT_EQ(ReadZone1Number(colour, References()), "5031274");
}

TEST(ReadZone1Number, NineEvenlySpacedBoxesGiveTheLastSeven) {
  // The letters stand on the digits' pitch: no gap stands out, StartBox is 1
  // and the length rule drops the two leftmost characters.
  ZoneLayout l = NoteZone(1, 300);
  l.letterPitch = l.pitch;
  l.letterGap = l.pitch;
  Bitmap zone = ToBitmap(DrawZone(l, "8642097", References()));
  EXPECT_EQ(ReadZone1Number(zone, References()), "8642097");
}

TEST(ReadZone1Number, SixBoxesAreUnreadable) {
  Bitmap zone = ToBitmap(DrawZone(NoteZone(1, 300), "864209", References()));
  EXPECT_EQ(ReadZone1Number(zone, References()), "#######");
}

TEST(ReadZone1Number, SevenBoxesWithoutLetters) {
  Bitmap zone = ToBitmap(DrawZone(NoteZone(1, 300, 0), "3141592", References()));
  EXPECT_EQ(ReadZone1Number(zone, References()), "3141592");
}

TEST(ReadZone1Number, BlankZoneIsUnreadable) {
  Bitmap zone = ToBitmap(testing::Plane(378, 94, 230));
  EXPECT_EQ(ReadZone1Number(zone, References()), "#######");
  Bitmap empty;
  EXPECT_EQ(ReadZone1Number(empty, References()), "#######");
}

TEST(ReadZone1Number, StretchesTheZoneInPlace) {
  Bitmap zone = ToBitmap(DrawZone(NoteZone(1, 300), "1234567", References()));
  ASSERT_EQ(Brightness(zone.pixel(0, 0)), 235);
  ReadZone1Number(zone, References());
  EXPECT_EQ(Brightness(zone.pixel(0, 0)), 255);
}

struct PitchCase {
  double pitch, width;
  std::array<int, 7> lefts;
  int right;  // Right - Left of boxes 2 to 7
};

class Pitch : public ::testing::TestWithParam<PitchCase> {};

TEST_P(Pitch, BoxesFollowTheFirstDigit) {
  const PitchCase& c = GetParam();
  ZoneSegmentation seg;
  seg.N = 3;
  seg.StartBox = 3;
  seg.box(1) = {2, 20};
  seg.box(2) = {24, 30};
  seg.box(3) = {40, 67};
  seg.box(4) = {90, 99};  // found by segmentation, replaced by the pitch
  LayBoxesOnPitch(seg, c.pitch, c.width);
  EXPECT_EQ(seg.N, 9);
  EXPECT_EQ(seg.boxes[3].Right, 67);  // the first digit keeps its bounds
  for (int k = 0; k < 7; ++k) EXPECT_EQ(seg.boxes[static_cast<std::size_t>(3 + k)].Left, c.lefts[static_cast<std::size_t>(k)]);
  for (int k = 4; k <= 9; ++k)
    EXPECT_EQ(seg.boxes[static_cast<std::size_t>(k)].Right - seg.boxes[static_cast<std::size_t>(k)].Left, c.right);
}

INSTANTIATE_TEST_SUITE_P(
    Zone2, Pitch,
    ::testing::Values(PitchCase{32, 28, {40, 72, 104, 136, 168, 200, 232}, 28},
                      // 300 dpi unrounded: 2.712 * 11.8 = 32.0016.
                      PitchCase{2.712 * 11.8, 28, {40, 72, 104, 136, 168, 200, 232}, 28},
                      // 250 dpi: the true pitch 26.693 against the rounded 27,
                      // which drifts two pixels by the seventh box.
                      PitchCase{2.712 * 250 / 25.4, 23, {40, 67, 93, 120, 147, 173, 200}, 23},
                      PitchCase{27, 23, {40, 67, 94, 121, 148, 175, 202}, 23}),
    [](const auto& info) { return ::morvex::testing::CaseName("pitch", info.param.pitch) + "_" + ::morvex::testing::CaseName("width", info.param.width); });

TEST(ReadZone2Number, AlwaysSevenCharactersEvenWithoutBoxes) {
  // No print: segmentation accepts no box, box 1 is the last rejected
  // candidate (the stub at the profiled edge) and six more follow it.
  const GreyPlane blank = testing::Plane(366, 106, 240);
  const ZoneSegmentation seg = SegmentZone(blank, 2);
  EXPECT_EQ(seg.N, 0);
  EXPECT_EQ(seg.boxes[1].Left, 274 - 1);  // Wp = R(3 * 366 / 4) = 274
  EXPECT_EQ(seg.boxes[1].Right, 274);
  Bitmap zone = ToBitmap(blank);
  const std::string text = ReadZone2Number(zone, 32.0016, 28, References());
  ASSERT_EQ(text.size(), 7u);
  for (char c : text) EXPECT_TRUE(c >= '0' && c <= '9') << text;
}

TEST(ReadZone2Number, BoxesPastTheRightEdgeReadPaper) {
  // Digits end well inside; the last boxes lie past the zone's right edge.
  ZoneLayout l = NoteZone(2, 300);
  l.width = l.firstDigitX + 3 * static_cast<int>(l.pitch);
  Bitmap zone = ToBitmap(DrawZone(l, "123", References()));
  const std::string text = ReadZone2Number(zone, 32.0016, 28, References());
  ASSERT_EQ(text.size(), 7u);
  EXPECT_EQ(text.substr(0, 3), "123");
}

TEST(CutGlyph, RepeatsOneColumnAndRowAndReadsWhiteOutside) {
  GreyPlane zone = testing::Plane(6, 4, 0);
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 4; ++y) zone.row(y)[x] = static_cast<std::uint8_t>(10 * x + y);
  // Columns 2 to 4 and rows 1 to 2 onto 4 x 3 pixels.
  const GreyPlane g = CutGlyph(zone, {2, 5}, {1, 3}, 0, 0);
  ASSERT_EQ(g.width, 4);
  ASSERT_EQ(g.height, 3);
  const int cols[4] = {2, 3, 3, 4}, rows[3] = {1, 2, 2};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(g.row(y)[x], 10 * cols[x] + rows[y]) << x << "," << y;
  // A box hanging over the right edge reads white there.
  const GreyPlane over = CutGlyph(zone, {4, 8}, {0, 4}, 0, 0);
  for (int y = 0; y < over.height; ++y)
    for (int x = 0; x < over.width; ++x) {
      const int sx = 4 + (2 * x + 1) * 4 / (2 * over.width);
      EXPECT_EQ(over.row(y)[x], sx < 6 ? zone.level(sx, (2 * y + 1) * 4 / (2 * over.height)) : 255);
    }
  // Variants widen or narrow the image.
  EXPECT_EQ(CutGlyph(zone, {2, 5}, {1, 3}, +1, 0).width, 3);
  EXPECT_EQ(CutGlyph(zone, {2, 5}, {1, 3}, -1, 0).width, 5);
  EXPECT_EQ(CutGlyph(zone, {2, 5}, {1, 3}, 0, +1).width, 5);
}

}  // namespace
}  // namespace morvex
