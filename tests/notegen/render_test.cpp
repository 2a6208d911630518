// Rendered scans: size and place of the note, what is dark on it, the two
// orientations, output formats, blur and noise, determinism.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "note_layout.h"
#include "note_probe.h"
#include "notegen.h"
#include "scan.h"
#include "case_name.h"

namespace ng = morvex::notegen;
using notegen_test::Bright;
using notegen_test::BrightAt;
using notegen_test::CleanPlan;

namespace {

const ng::NoteRenderer& Renderer() {
  static const ng::NoteRenderer renderer;
  return renderer;
}

bool SamePixels(const morvex::Bitmap& a, const morvex::Bitmap& b) {
  if (a.width() != b.width() || a.height() != b.height() || a.format() != b.format()) return false;
  for (int y = 0; y < a.height(); ++y)
    if (std::memcmp(a.row(y), b.row(y), static_cast<std::size_t>(a.stride())) != 0) return false;
  return true;
}

// Rows and columns of the image whose middle pixel is paper.
struct BrightExtent {
  int left = 0, right = -1, top = 0, bottom = -1;
};
BrightExtent ExtentOf(const morvex::Bitmap& b) {
  BrightExtent e;
  const int midY = b.height() / 2, midX = b.width() / 2;
  for (int x = 0; x < b.width(); ++x)
    if (Bright(b, x, midY) >= 128) {
      if (e.right < 0) e.left = x;
      e.right = x;
    }
  for (int y = 0; y < b.height(); ++y)
    if (Bright(b, midX, y) >= 128) {
      if (e.bottom < 0) e.top = y;
      e.bottom = y;
    }
  return e;
}

class SizeTest : public ::testing::TestWithParam<int> {};

TEST_P(SizeTest, NoteIsOneHundredFiftyBySixtyFiveMillimetres) {
  const int dpi = GetParam();
  const morvex::Bitmap scan = Renderer().render(CleanPlan(dpi));
  const double ppm = dpi / 25.4;
  const BrightExtent e = ExtentOf(scan);
  EXPECT_NEAR(e.right - e.left + 1, 150 * ppm, 1.0);
  EXPECT_NEAR(e.bottom - e.top + 1, 65 * ppm, 1.0);
  // Centred, with the margins of the plan around it.
  EXPECT_NEAR(e.left, 3 * ppm, 1.0);
  EXPECT_NEAR(e.top, 6 * ppm, 1.0);
  EXPECT_EQ(scan.width(), std::lround(156 * ppm));
  EXPECT_EQ(scan.height(), std::lround(77 * ppm));
  // The reader's resolution estimate from that length.
  EXPECT_EQ(std::lround((e.right - e.left + 1) / 5.915 / 10) * 10, dpi);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, SizeTest, ::testing::Values(150, 200, 250, 300),
                         [](const auto& info) { return ::morvex::testing::CaseName("dpi", info.param); });

// The reader samples 100 columns and needs well over half of them to cross
// both long edges; every zone and patch place must lie inside the image.
class TiltTest : public ::testing::TestWithParam<double> {};

TEST_P(TiltTest, MostSampledColumnsCrossBothLongEdges) {
  ng::NotePlan plan = CleanPlan(150);
  plan.tiltDegrees = GetParam();
  const morvex::Bitmap scan = Renderer().render(plan);
  const int w = scan.width(), h = scan.height();
  auto bright = [&](int x, int y) { return Bright(scan, x, y) >= 70; };
  std::vector<int> keys;
  for (int i = 1; i <= 100; ++i) {
    const int x = static_cast<int>(std::lround(i * (w / 101.0)));
    int y1 = 1, y2 = h - 1;
    while (y1 < h && !(bright(x, y1) && bright(x, y1 + 1))) ++y1;
    while (y2 > 0 && !(bright(x, y2) && bright(x, y2 + 1))) --y2;
    keys.push_back(y2 - y1);
  }
  const double full = 65 * plan.dpi / 25.4 / std::cos(plan.tiltDegrees * M_PI / 180);
  const auto crossing = std::count_if(keys.begin(), keys.end(), [&](int k) { return std::abs(k - full) <= 3; });
  EXPECT_GE(crossing, 60);
}

TEST_P(TiltTest, ZonesAndPatchPlacesLieInsideTheImage) {
  for (bool upsideDown : {false, true}) {
    ng::NotePlan plan = CleanPlan(200);
    plan.tiltDegrees = GetParam();
    plan.upsideDown = upsideDown;
    const ng::ScanGeometry g = ng::ComputeScanGeometry(plan);
    const double margin = 1.0 * g.pxPerMm;
    for (const ng::MmRect& r : {ng::kZone1, ng::kZone2, ng::kPatchFirst, ng::kPatchFirst.turned()})
      for (const auto& [d, e] : {std::pair{r.d0, r.e0}, {r.d1, r.e0}, {r.d0, r.e1}, {r.d1, r.e1}}) {
        const ng::ImagePoint p = ng::NoteToImage(g, d, e);
        EXPECT_GE(p.x, margin) << d << " " << e;
        EXPECT_LE(p.x, g.width - margin) << d << " " << e;
        EXPECT_GE(p.y, margin) << d << " " << e;
        EXPECT_LE(p.y, g.height - margin) << d << " " << e;
      }
  }
}

INSTANTIATE_TEST_SUITE_P(Tilts, TiltTest, ::testing::Values(-30.0, -17.5, 0.0, 10.0, 30.0),
                         [](const auto& info) { return ::morvex::testing::CaseName("tilt", info.param); });

TEST(RenderTest, PositiveTiltTurnsTheNoteClockwise) {
  ng::NotePlan plan = CleanPlan(150);
  plan.tiltDegrees = 8;
  const ng::ScanGeometry g = ng::ComputeScanGeometry(plan);
  // The top long edge falls towards the right: its right end is lower.
  EXPECT_GT(ng::NoteToImage(g, 150, 0).y, ng::NoteToImage(g, 0, 0).y);
  const morvex::Bitmap scan = Renderer().render(plan);
  auto topEdge = [&](int x) {
    int y = 0;
    while (y < scan.height() && Bright(scan, x, y) < 70) ++y;
    return y;
  };
  const int x0 = scan.width() / 3, x1 = 2 * scan.width() / 3;
  EXPECT_NEAR(topEdge(x1) - topEdge(x0), (x1 - x0) * std::tan(8 * M_PI / 180), 1.5);
}

// The marks measured on the scan: one dark band per mark, in the table's
// order, and nothing dark in the patch place but the marks.
class ScannedMarksTest : public ::testing::TestWithParam<int> {};

TEST_P(ScannedMarksTest, ReadTopToBottomInTheTablesOrder) {
  const int value = GetParam();
  const ng::NotePlan plan = CleanPlan(200, value);
  const morvex::Bitmap scan = Renderer().render(plan);
  const ng::ScanGeometry g = ng::ComputeScanGeometry(plan);
  const double step = 1 / g.pxPerMm;
  std::string kinds;
  bool inBand = false;
  double bandTop = 0;
  for (double e = ng::kPatchFirst.e0; e <= ng::kPatchFirst.e1; e += step) {
    const bool dark = BrightAt(scan, g, ng::kMarkCentreD, e) < 128;
    if (dark && !inBand) bandTop = e;
    if (!dark && inBand) {
      const double height = e - bandTop, middle = (bandTop + e) / 2;
      EXPECT_GE(height, 1.5);
      EXPECT_LE(height, 2.5);
      double width = 0;
      for (double d = ng::kPatchFirst.d0; d <= ng::kPatchFirst.d1; d += step)
        width += BrightAt(scan, g, d, middle) < 128 ? step : 0;
      kinds += width / height >= 1.8 ? 'E' : std::abs(width / height - 1) <= 0.25 ? 'C' : '?';
    }
    inBand = dark;
  }
  EXPECT_EQ(kinds, ng::MarkSequence(value));
}

INSTANTIATE_TEST_SUITE_P(FaceValues, ScannedMarksTest, ::testing::Values(10, 50, 100, 500, 1000),
                         [](const auto& info) { return ::morvex::testing::CaseName("value", info.param); });

// Everything dark on the note is the serial number in its zones or the marks;
// the decoration stays light.
TEST(RenderTest, OnlyTheNumberAndTheMarksAreDark) {
  for (int value : {10, 1000}) {
    const ng::NotePlan plan = CleanPlan(150, value);
    const morvex::Bitmap scan = Renderer().render(plan);
    const ng::ScanGeometry g = ng::ComputeScanGeometry(plan);
    const ng::MmRect marks{ng::kPatchFirst.d0 + 0.9, ng::kPatchFirst.e0 + 0.9, ng::kPatchFirst.d1 - 0.9, ng::kPatchFirst.e1 - 0.9};
    int darkOutside = 0, lightest = 255, darkest = 255;
    const double step = 1 / g.pxPerMm;
    for (double e = 0.5; e < 64.5; e += step)
      for (double d = 0.5; d < 149.5; d += step) {
        const int b = BrightAt(scan, g, d, e);
        if (ng::kZone1.contains(d, e) || ng::kZone2.contains(d, e) || marks.contains(d, e)) {
          darkest = std::min(darkest, b);
          continue;
        }
        lightest = std::min(lightest, b);
        darkOutside += b < 140;
      }
    EXPECT_EQ(darkOutside, 0) << value;
    EXPECT_GE(lightest, 140) << value;
    EXPECT_LE(darkest, 70) << value;
  }
}

TEST(RenderTest, BackSideCarriesDecorationOnly) {
  ng::NotePlan plan = CleanPlan(150, 500);
  plan.numberSide = false;
  const morvex::Bitmap scan = Renderer().render(plan);
  const ng::ScanGeometry g = ng::ComputeScanGeometry(plan);
  int lightest = 255;
  const double step = 1 / g.pxPerMm;
  for (double e = 0.5; e < 64.5; e += step)
    for (double d = 0.5; d < 149.5; d += step) lightest = std::min(lightest, BrightAt(scan, g, d, e));
  EXPECT_GE(lightest, 140);
  // The patch places carry print (the hatching), not plain paper.
  int hatch = 0, samples = 0;
  for (double e = ng::kPatchFirst.e0; e < ng::kPatchFirst.e1; e += step)
    for (double d = ng::kPatchFirst.d0; d < ng::kPatchFirst.d1; d += step, ++samples)
      hatch += BrightAt(scan, g, d, e) < 200;
  EXPECT_GT(hatch, samples / 4);
}

// Upside down is the upright note turned by 180 degrees about the image
// centre (a mirror, or a number drawn upright, would differ everywhere).
TEST(RenderTest, UpsideDownIsTheUprightNoteTurned) {
  ng::NotePlan plan = CleanPlan(200, 50);
  const morvex::Bitmap upright = Renderer().render(plan);
  plan.upsideDown = true;
  const morvex::Bitmap turned = Renderer().render(plan);
  ASSERT_EQ(upright.width(), turned.width());
  ASSERT_EQ(upright.height(), turned.height());
  const int w = upright.width(), h = upright.height();
  double sum = 0;
  int large = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int diff = std::abs(Bright(upright, x, y) - Bright(turned, w - 1 - x, h - 1 - y));
      sum += diff;
      large += diff > 60;
    }
  EXPECT_LT(sum / (w * h), 1.0);
  EXPECT_LT(large, w * h / 1000);
  // The number really turned: zone 1's digits are at the lower left now.
  const ng::ScanGeometry g = ng::ComputeScanGeometry(plan);
  const ng::ImagePoint p = ng::NoteToImage(g, 131, 12.5);
  EXPECT_LT(p.x, w / 2);
  EXPECT_GT(p.y, h / 2);
}

TEST(RenderTest, SamePlanSamePixels) {
  const ng::NotePlan plan = ng::DrawNotePlan(ng::PresetOptions(ng::SampleSet::Typical), 9, 4);
  EXPECT_TRUE(SamePixels(Renderer().render(plan), Renderer().render(plan)));
  ng::NotePlan other = plan;
  other.detailSeed ^= 1;
  EXPECT_FALSE(SamePixels(Renderer().render(plan), Renderer().render(other)));
}

TEST(RenderTest, Grey8IsTheBrightnessOfTheColourScan) {
  ng::NotePlan plan = ng::DrawNotePlan(ng::PresetOptions(ng::SampleSet::Typical), 3, 1);
  plan.dpi = 150;
  const morvex::Bitmap colour = Renderer().render(plan);
  plan.grey8 = true;
  const morvex::Bitmap grey = Renderer().render(plan);
  ASSERT_EQ(grey.format(), morvex::PixelFormat::Indexed8);
  EXPECT_TRUE(grey.hasGreyPalette());
  ASSERT_EQ(grey.width(), colour.width());
  ASSERT_EQ(grey.height(), colour.height());
  int differ = 0;
  for (int y = 0; y < grey.height(); ++y)
    for (int x = 0; x < grey.width(); ++x) differ += Bright(grey, x, y) != Bright(colour, x, y);
  EXPECT_EQ(differ, 0);
}

// A block of background pixels: mean and spread of the brightness.
std::pair<double, double> BackgroundStats(const morvex::Bitmap& b) {
  double s = 0, s2 = 0;
  int n = 0;
  for (int y = 2; y < 22; ++y)
    for (int x = 2; x < 62; ++x, ++n) {
      const double v = morvex::RedOf(b.pixel(x, y));
      s += v;
      s2 += v * v;
    }
  const double mean = s / n;
  return {mean, std::sqrt(s2 / n - mean * mean)};
}

TEST(RenderTest, BackgroundLevelAndNoiseAsAsked) {
  ng::NotePlan plan = CleanPlan(150);
  plan.backgroundLevel = 22;
  auto [mean, spread] = BackgroundStats(Renderer().render(plan));
  EXPECT_EQ(mean, 22);
  EXPECT_EQ(spread, 0);
  plan.noiseSigma = 6;
  std::tie(mean, spread) = BackgroundStats(Renderer().render(plan));
  EXPECT_NEAR(mean, 22, 0.8);
  EXPECT_NEAR(spread, 6, 0.6);
}

// Pixels partly paper on the way from the background into the note along its
// middle row, up to the first pixel that is all paper.
int EdgePixels(const morvex::Bitmap& b) {
  const int y = b.height() / 2;
  int n = 0;
  for (int x = 0; x < b.width() / 4 && Bright(b, x, y) < 200; ++x) n += Bright(b, x, y) > 30;
  return n;
}

TEST(RenderTest, EdgesAreSoftAndBlurWidensThem) {
  ng::NotePlan plan = CleanPlan(300);
  // Put the left edge a third of the way into a pixel.
  const ng::ScanGeometry g = ng::ComputeScanGeometry(plan);
  const double edge = g.centreX - 75 * g.pxPerMm;
  plan.offsetXMm = (std::floor(edge) + 1.0 / 3 - edge) / g.pxPerMm;
  const morvex::Bitmap sharp = Renderer().render(plan);
  EXPECT_EQ(EdgePixels(sharp), 1);  // one pixel two thirds paper: anti-aliased
  const int x = static_cast<int>(std::floor(edge));
  EXPECT_NEAR(Bright(sharp, x, sharp.height() / 2), 14 + (227 - 14) * 2.0 / 3, 8);
  plan.blurSigma = 1.5;
  EXPECT_GE(EdgePixels(Renderer().render(plan)), 4);
}

TEST(RenderTest, RefusesWhatItCannotDraw) {
  ng::NotePlan plan = CleanPlan(150);
  plan.denomination = 200;
  EXPECT_THROW(Renderer().render(plan), std::invalid_argument);
  plan = CleanPlan(150);
  plan.number = "12345";
  EXPECT_THROW(Renderer().render(plan), std::invalid_argument);
  plan = CleanPlan(150);
  plan.tiltDegrees = 60;
  EXPECT_THROW(Renderer().render(plan), std::invalid_argument);
  EXPECT_THROW(ng::NoteRenderer("/no/such/font.ttf"), std::runtime_error);
}

}  // namespace
