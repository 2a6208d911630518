#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "analysis/details.h"
#include "fixtures.h"
#include "morvex/arith.h"
#include "morvex/engine.h"

namespace morvex {
namespace {

const ReferenceDigits& References() {
  static const ReferenceDigits refs = LoadReferenceDigits();
  return refs;
}

bool SamePixels(const Bitmap& a, const Bitmap& b) {
  if (a.width() != b.width() || a.height() != b.height() || a.format() != b.format()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
  return true;
}

AnalisysResult Stale() {
  AnalisysResult r;
  r.Zone1Number = "1234567";
  r.Zone2Number = "7654321";
  r.Denomination = 500;
  r.UpsideDown = true;
  r.Dpi = 999;
  return r;
}

void ExpectFailureResult(const AnalisysResult& r) {
  EXPECT_EQ(r.Zone1Number, "#######");
  EXPECT_EQ(r.Zone2Number, "#######");
  EXPECT_EQ(r.Denomination, -1);
  EXPECT_FALSE(r.UpsideDown);
}

class CLocale : public ::testing::Test {
 protected:
  void SetUp() override { std::setlocale(LC_ALL, "C"); }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

using AllDark = CLocale;

TEST_F(AllDark, DetailLinesAndTheFailureAnswer) {
  Bitmap image = test::Filled(2000, 1000, 60);
  std::vector<std::string> details;
  AnalisysResult result = Stale();
  AnalyzeNote(image, true, &details, result, References());
  ExpectFailureResult(result);
  EXPECT_EQ(result.Dpi, static_cast<int>(std::nearbyint(2000 / 5.915 / 10)) * 10);
  ASSERT_EQ(details.size(), 3u);
  EXPECT_EQ(details[0], "999x2000");
  EXPECT_TRUE(std::regex_match(details[1], std::regex("[0-5][0-9],[0-9]{2,3} сек"))) << details[1];
  EXPECT_EQ(details[2], "0.00");
  // The caller's picture is now the 24-bit grey working image; the mirrored
  // note outline lies outside the picture except at its side columns.
  EXPECT_EQ(image.format(), PixelFormat::Rgb24);
  EXPECT_EQ(image.pixel(1000, 500), MakeColour(60, 60, 60));
}

TEST_F(AllDark, DecimalSeparatorFollowsTheLocale) {
  if (std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") == nullptr) GTEST_SKIP() << "ru_RU.UTF-8 is not installed";
  Bitmap image = test::Filled(300, 150, 0);
  std::vector<std::string> details;
  AnalisysResult result;
  AnalyzeNote(image, true, &details, result, References());
  ASSERT_EQ(details.size(), 3u);
  EXPECT_EQ(details[2], "0,00");
}

using TiltText = CLocale;

TEST_F(TiltText, DegreesWithTwoDecimals) {
  EXPECT_EQ(TiltLine(0.0), "0.00");
  EXPECT_EQ(TiltLine(1.0), "45.00");
  EXPECT_EQ(TiltLine(-0.1), "-5.71");
  EXPECT_EQ(TiltLine(std::tan(1.25 * M_PI / 180)), "1.25");
  if (std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") == nullptr) GTEST_SKIP() << "ru_RU.UTF-8 is not installed";
  EXPECT_EQ(TiltLine(std::tan(1.25 * M_PI / 180)), "1,25");
  EXPECT_EQ(TiltLine(-0.1), "-5,71");
}

TEST_F(AllDark, ListThatAlreadyHoldsLinesIsAppendedTo) {
  Bitmap image = test::Filled(300, 150, 0);
  std::vector<std::string> details{"first", "second"};
  AnalisysResult result;
  AnalyzeNote(image, true, &details, result, References());
  ASSERT_EQ(details.size(), 5u);
  EXPECT_EQ(details[0], "first");
  EXPECT_EQ(details[1], "second");
  EXPECT_EQ(details[2], "149x300");
  EXPECT_EQ(details[4], "0.00");
}

TEST_F(AllDark, WithoutDetailsTheImageIsUntouchedAndTheAnswerTheSame) {
  const Bitmap original = test::Filled(400, 200, 30);
  Bitmap plain = original;
  AnalisysResult quiet = Stale();
  AnalyzeNote(plain, false, nullptr, quiet, References());
  EXPECT_TRUE(SamePixels(plain, original));

  Bitmap marked = original;
  AnalisysResult loud;
  std::vector<std::string> details;
  AnalyzeNote(marked, true, &details, loud, References());
  EXPECT_FALSE(SamePixels(marked, original));
  EXPECT_EQ(quiet.Zone1Number, loud.Zone1Number);
  EXPECT_EQ(quiet.Zone2Number, loud.Zone2Number);
  EXPECT_EQ(quiet.Denomination, loud.Denomination);
  EXPECT_EQ(quiet.UpsideDown, loud.UpsideDown);
  EXPECT_EQ(quiet.Dpi, loud.Dpi);
  ExpectFailureResult(quiet);
}

TEST_F(AllDark, ShowDetailsWithoutAListStillMarks) {
  const Bitmap original = test::Filled(400, 200, 30);
  Bitmap image = original;
  AnalisysResult result;
  AnalyzeNote(image, true, nullptr, result, References());
  EXPECT_FALSE(SamePixels(image, original));
}

TEST(AnalyzeNote, EmptyImageIsAnArithmeticErrorAndLeavesTheImage) {
  Bitmap image(0, 0, PixelFormat::Indexed8);
  std::vector<std::string> details;
  AnalisysResult result = Stale();
  EXPECT_THROW(AnalyzeNote(image, true, &details, result, References()), ArithmeticError);
  EXPECT_TRUE(details.empty());
  EXPECT_EQ(result.Dpi, 0);
  EXPECT_FALSE(result.UpsideDown);
  EXPECT_EQ(result.Zone1Number, "1234567");  // not yet assigned when the error struck
  EXPECT_EQ(image.format(), PixelFormat::Indexed8);
}

TEST(AnalyzeNote, RunOfOneColumnIsAnArithmeticError) {
  // A bright wedge whose height grows by 3 rows a column: the sampled columns
  // (every second one) differ by 6 in extent, so the run around the median is
  // a single column and the long-edge fit has a zero denominator.
  Bitmap image = test::Filled(202, 700, 0);
  for (int x = 0; x < 202; ++x)
    for (int y = 10; y <= 10 + 3 * x; ++y) image.setPixel(x, y, MakeColour(200, 200, 200));
  AnalisysResult result = Stale();
  EXPECT_THROW(AnalyzeNote(image, false, nullptr, result, References()), ArithmeticError);
  EXPECT_EQ(result.Dpi, 0);
}

}  // namespace
}  // namespace morvex
