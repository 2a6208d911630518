#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "fixtures.h"
#include "morvex/engine.h"
#include "note_composer.h"
#include "case_name.h"

namespace morvex {
namespace {

const ReferenceDigits& References() {
  static const ReferenceDigits refs = LoadReferenceDigits();
  return refs;
}

struct NoteCase {
  int dpi;
  double degrees;
  bool upsideDown;
  int denomination;
  const char* zone1;
  const char* zone2;
};

Bitmap RenderNote(const NoteCase& c) {
  test::NoteScene scene;
  scene.dpi = c.dpi;
  scene.degrees = c.degrees;
  scene.upsideDown = c.upsideDown;
  const double a = std::fabs(c.degrees) * M_PI / 180;
  const double l = scene.longSidePx(), s = scene.shortSidePx();
  scene.width = static_cast<int>(l * std::cos(a) + s * std::sin(a) + 0.12 * l);
  scene.height = static_cast<int>(l * std::sin(a) + s * std::cos(a) + 0.12 * s);
  scene.ink = test::ComposeNote({c.denomination, c.zone1, c.zone2}, References(), scene.paper);
  return test::Render(scene);
}

class WholeNote : public ::testing::TestWithParam<NoteCase> {};

TEST_P(WholeNote, ReadsFaceValueOrientationAndBothNumbers) {
  const NoteCase c = GetParam();
  Bitmap image = RenderNote(c);
  AnalisysResult result;
  AnalyzeNote(image, false, nullptr, result, References());
  EXPECT_EQ(result.Denomination, c.denomination);
  EXPECT_EQ(result.UpsideDown, c.upsideDown);
  EXPECT_EQ(result.Dpi, c.dpi);
  EXPECT_EQ(result.Zone1Number, c.zone1);
  EXPECT_EQ(result.Zone2Number, c.zone2);
}

TEST_P(WholeNote, RobustReadingGivesTheSameAnswerAndItsConfidence) {
  const NoteCase c = GetParam();
  Bitmap image = RenderNote(c);
  AnalisysResult result;
  AnalyzeNote(image, false, nullptr, result, References(), AnalyzeOptions().setRobust(true));
  EXPECT_EQ(result.Denomination, c.denomination);
  EXPECT_EQ(result.UpsideDown, c.upsideDown);
  EXPECT_EQ(result.Dpi, c.dpi);
  EXPECT_EQ(result.Zone1Number, c.zone1);
  EXPECT_EQ(result.Zone2Number, c.zone2);
  ASSERT_TRUE(result.Zone1Confidence && result.Zone2Confidence);
  EXPECT_GT(*result.Zone1Confidence, 0.5);
  EXPECT_GT(*result.Zone2Confidence, 0.5);
  EXPECT_LE(*result.Zone1Confidence, 1.0);
  EXPECT_LE(*result.Zone2Confidence, 1.0);
  // An exact reading into the same record measures no confidence.
  AnalyzeNote(image, false, nullptr, result, References());
  EXPECT_FALSE(result.Zone1Confidence || result.Zone2Confidence);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, WholeNote,
    ::testing::Values(NoteCase{300, 0.0, false, 100, "4082735", "4082735"},
                      NoteCase{300, 0.0, true, 100, "4082735", "4082735"},
                      NoteCase{300, 4.0, false, 1000, "1592630", "7748201"},
                      NoteCase{300, -6.0, true, 50, "2468013", "9135702"},
                      NoteCase{200, 2.5, false, 10, "3071956", "5820413"},
                      NoteCase{200, -3.0, true, 500, "6604178", "0192837"},
                      NoteCase{250, 1.5, false, 500, "8315024", "3679815"},
                      NoteCase{250, -2.0, true, 1000, "5038271", "6379836"},
                      NoteCase{150, 3.0, false, 50, "7261903", "2849157"},
                      NoteCase{150, 0.0, true, 10, "9990001", "1234567"}),
    [](const auto& info) {
      const NoteCase& c = info.param;
      return ::morvex::testing::CaseName("dpi", c.dpi) + "_" + ::morvex::testing::CaseName("tilt", c.degrees) + (c.upsideDown ? "_upside_down_" : "_upright_") +
             ::morvex::testing::CaseName("value", c.denomination);
    });

TEST(WholeNote, SideWithoutNumberGivesTheFailureAnswerAndOnlyTheNoteOutline) {
  NoteCase blank{300, 3.0, false, 0, "", ""};
  Bitmap image = RenderNote(blank);
  AnalisysResult result;
  std::vector<std::string> details;
  AnalyzeNote(image, true, &details, result, References());
  EXPECT_EQ(result.Denomination, -1);
  EXPECT_EQ(result.Zone1Number, "#######");
  EXPECT_EQ(result.Zone2Number, "#######");
  EXPECT_FALSE(result.UpsideDown);
  EXPECT_EQ(result.Dpi, 300);
  int yellow = 0, other = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const Colour p = image.pixel(x, y);
      if (p == MakeColour(255, 255, 0)) {
        ++yellow;
      } else if (RedOf(p) != GreenOf(p) || GreenOf(p) != BlueOf(p)) {
        ++other;
      }
    }
  EXPECT_GT(yellow, 4 * 4000);
  EXPECT_EQ(other, 0);
}

TEST(WholeNote, SecondCallWithTheSameRecordReplacesEveryField) {
  Bitmap turned = RenderNote({200, 1.0, true, 1000, "5038271", "6379836"});
  Bitmap blank = RenderNote({150, -2.0, false, 0, "", ""});
  AnalisysResult result;
  AnalyzeNote(turned, false, nullptr, result, References());
  ASSERT_EQ(result.Denomination, 1000);
  ASSERT_TRUE(result.UpsideDown);
  ASSERT_EQ(result.Dpi, 200);
  AnalyzeNote(blank, false, nullptr, result, References());
  EXPECT_EQ(result.Zone1Number, "#######");
  EXPECT_EQ(result.Zone2Number, "#######");
  EXPECT_EQ(result.Denomination, -1);
  EXPECT_FALSE(result.UpsideDown);
  EXPECT_EQ(result.Dpi, 150);
}

TEST(WholeNote, MarkedPictureShowsTintsAndOutlines) {
  const NoteCase c{200, 0.0, false, 100, "4082735", "4082735"};
  Bitmap image = RenderNote(c);
  const Bitmap original = image;
  std::vector<std::string> details;
  AnalisysResult result;
  AnalyzeNote(image, true, &details, result, References());
  ASSERT_EQ(result.Denomination, 100);
  ASSERT_EQ(image.format(), PixelFormat::Rgb24);
  ASSERT_EQ(image.width(), original.width());
  int red = 0, green = 0, blue = 0, yellow = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const Colour p = image.pixel(x, y);
      red += p == MakeColour(255, 0, 0);
      green += p == MakeColour(0, 255, 0);
      blue += p == MakeColour(0, 0, 255);
      yellow += p == MakeColour(255, 255, 0);
    }
  EXPECT_GT(red, 1000);
  EXPECT_GT(green, 500);
  EXPECT_GT(blue, 1000);
  EXPECT_GT(yellow, 4000);
  // A tinted zone pixel of zone 1's paper has red raised on its grey.
  const double px = 200 / 25.4;
  const int zx = static_cast<int>((image.width() / 2.0) + (116 - 75) * px);
  const int zy = static_cast<int>((image.height() / 2.0) + (9.5 - 32.5) * px);
  EXPECT_EQ(image.pixel(zx, zy), MakeColour(255, 215, 215));
  ASSERT_EQ(details.size(), 3u);
}

TEST(WholeNote, ThreadsAnalyseDifferentNotesAtOnce) {
  const std::vector<NoteCase> cases = {{200, 2.0, false, 50, "3071956", "5820413"},
                                       {200, -4.0, true, 1000, "6604178", "0192837"}};
  std::vector<Bitmap> images;
  for (const NoteCase& c : cases) images.push_back(RenderNote(c));
  std::vector<std::vector<AnalisysResult>> results(cases.size());
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < cases.size(); ++t)
    threads.emplace_back([&, t] {
      for (int run = 0; run < 4; ++run) {
        Bitmap image = images[t];
        AnalisysResult r;
        AnalyzeNote(image, false, nullptr, r, References());
        results[t].push_back(r);
      }
    });
  for (std::thread& th : threads) th.join();
  for (std::size_t t = 0; t < cases.size(); ++t)
    for (const AnalisysResult& r : results[t]) {
      EXPECT_EQ(r.Denomination, cases[t].denomination);
      EXPECT_EQ(r.UpsideDown, cases[t].upsideDown);
      EXPECT_EQ(r.Zone1Number, cases[t].zone1);
      EXPECT_EQ(r.Zone2Number, cases[t].zone2);
    }
}

}  // namespace
}  // namespace morvex
