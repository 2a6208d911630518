// The scan area's presets and its conversion from the preview's fractions.
#include "scan_area.h"

#include <gtest/gtest.h>

#include "morvex/sane/option_text.h"
#include "morvex/sane/session.h"
#include "sane_fixtures.h"

namespace morvex::dsm {
namespace {

void ExpectArea(const ScanArea& actual, const ScanArea& expected, double tolerance) {
  EXPECT_NEAR(actual.left, expected.left, tolerance);
  EXPECT_NEAR(actual.top, expected.top, tolerance);
  EXPECT_NEAR(actual.right, expected.right, tolerance);
  EXPECT_NEAR(actual.bottom, expected.bottom, tolerance);
}

Bed MmBed(double width, double height) { return Bed{{0, 0, width, height}, sane::OptionUnit::Mm}; }

TEST(ScanAreaTest, TheNoteAreaIsCentredOnTheBed) {
  ExpectArea(NoteArea(MmBed(200, 200), 0), {20, 62.5, 180, 137.5}, 1e-9);
  // A bed smaller than a note: the area is the bed.
  ExpectArea(NoteArea(MmBed(100, 50), 0), {0, 0, 100, 50}, 1e-9);
}

TEST(ScanAreaTest, ANoteInPixelsIsConvertedAtTheResolution) {
  const Bed bed{{0, 0, 5000, 5000}, sane::OptionUnit::Pixel};
  const ScanArea a = NoteArea(bed, 254);  // 10 pixels a millimetre
  EXPECT_NEAR(a.right - a.left, 1600, 1e-9);
  EXPECT_NEAR(a.bottom - a.top, 750, 1e-9);
  EXPECT_NEAR(a.left + a.right, 5000, 1e-9);
}

TEST(ScanAreaTest, FractionsMapOntoTheBedAndBack) {
  const Bed bed{{10, 20, 210, 320}, sane::OptionUnit::Mm};
  const ScanArea a = AreaFromFractions(bed, 0.75, 0.5, 0.25, 1.5);  // corners given either way, overshoot clamped
  ExpectArea(a, {60, 170, 160, 320}, 1e-9);
  ExpectArea(FractionsOf(bed, a), {0.25, 0.5, 0.75, 1.0}, 1e-9);
}

TEST(ScanAreaTest, TheBedOfTheTestDeviceIsItsRanges) {
  sane::Session session;
  sane::Device device = session.open("test:0");
  const auto bed = BedOf(device);
  ASSERT_TRUE(bed);
  ExpectArea(bed->extent, {0, 0, 200, 200}, 1e-9);
  EXPECT_EQ(bed->unit, sane::OptionUnit::Mm);
  EXPECT_FALSE(BedOf(session.open("pnm:0"))) << "pnm has no scan area";
}

// Moving the area wholly past where its far corner is now must not leave the
// corners crossed on the way.
TEST(ScanAreaTest, SettingAnAreaBeyondTheCurrentOneGivesExactlyThatArea) {
  sane::Session session;
  sane::Device device = session.open("test:0");
  testing::Apply(device, {{"tl-x", "0"}, {"br-x", "80"}, {"tl-y", "0"}, {"br-y", "100"}});
  SetArea(device, {150, 120, 190, 180});
  ExpectArea(*CurrentArea(device), {150, 120, 190, 180}, 1e-9);
  SetArea(device, {5, 6, 30, 40});
  ExpectArea(*CurrentArea(device), {5, 6, 30, 40}, 1e-9);
  // Values off the device's steps are put on them.
  SetArea(device, {10.4, 10.6, 100.2, 99.7});
  ExpectArea(*CurrentArea(device), {10, 11, 100, 100}, 1e-9);
}

}  // namespace
}  // namespace morvex::dsm
