// The world's layout: the marks inside both patch places, and serial numbers
// whose wide gap makes the reader start at the first digit.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "note_ink.h"
#include "note_layout.h"
#include "notegen.h"
#include "typeface.h"
#include "case_name.h"

namespace ng = morvex::notegen;

namespace {

bool Inside(const ng::MmRect& inner, const ng::MmRect& outer, double margin) {
  return inner.d0 >= outer.d0 + margin && inner.e0 >= outer.e0 + margin && inner.d1 <= outer.d1 - margin &&
         inner.e1 <= outer.e1 - margin;
}

class MarksTest : public ::testing::TestWithParam<int> {};

TEST_P(MarksTest, FollowTheFaceValueTableInsideBothPlaces) {
  const int value = GetParam();
  std::array<ng::MmRect, 4> marks;
  const int n = ng::MarkRects(value, marks);
  ASSERT_EQ(n, static_cast<int>(std::strlen(ng::MarkSequence(value))));
  for (int i = 0; i < n; ++i) {
    const ng::MmRect& m = marks[static_cast<std::size_t>(i)];
    // Upright in the first place, upside down (turned) in the second.
    EXPECT_TRUE(Inside(m, ng::kPatchFirst, 0.9)) << i;
    EXPECT_TRUE(Inside(m.turned(), ng::kPatchSecond, 0.9)) << i;
    EXPECT_GE(m.height(), 1.5);
    EXPECT_LE(m.height(), 2.5);
    const double ratio = m.width() / m.height();
    if (ng::MarkSequence(value)[i] == 'C') {
      EXPECT_NEAR(ratio, 1.0, 0.15) << i;
    } else {
      EXPECT_GE(ratio, 1.8) << i;
    }
    if (i > 0) {
      EXPECT_GE(m.e0 - marks[static_cast<std::size_t>(i - 1)].e1, 1.2) << "gap above mark " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(FaceValues, MarksTest, ::testing::Values(10, 50, 100, 500, 1000),
                         [](const auto& info) { return ::morvex::testing::CaseName("value", info.param); });

TEST(MarksTest, KnowsTheFiveFaceValuesOnly) {
  EXPECT_STREQ(ng::MarkSequence(10), "CE");
  EXPECT_STREQ(ng::MarkSequence(50), "CCE");
  EXPECT_STREQ(ng::MarkSequence(100), "CEE");
  EXPECT_STREQ(ng::MarkSequence(500), "CCEE");
  EXPECT_STREQ(ng::MarkSequence(1000), "CEEE");
  EXPECT_STREQ(ng::MarkSequence(200), "");
  std::array<ng::MmRect, 4> marks;
  EXPECT_EQ(ng::MarkRects(5000, marks), 0);
}

TEST(ClearAreasTest, HoldTheZonesAndBothPatchPlacesEitherWayRound) {
  const auto& areas = ng::ClearAreas();
  auto covered = [&](const ng::MmRect& r) {
    for (const ng::MmRect& a : areas)
      if (Inside(r, a, 1.0)) return true;
    return false;
  };
  for (const ng::MmRect& r : {ng::kZone1, ng::kZone2, ng::kPatchFirst, ng::kPatchSecond, ng::kPatchFirst.turned(),
                              ng::kPatchSecond.turned()})
    EXPECT_TRUE(covered(r)) << r.d0 << " " << r.e0;
}

// Left edges of the nine glyphs as the reader's segmentation sees them, and
// its rule: start after the widest gap when it exceeds 1.5 times the mean of
// the others.
double GapMargin(const ng::SerialLayout& l, int glyphs) {
  std::array<double, 9> left{};
  left[0] = l.letters[0].d0;
  left[1] = l.letters[1].d0;
  for (int k = 0; k < 7; ++k) left[static_cast<std::size_t>(k + 2)] = l.digits[static_cast<std::size_t>(k)].d0;
  double sum = 0, widest = 0;
  int widestAt = -1;
  for (int k = 0; k + 1 < glyphs; ++k) {
    const double g = left[static_cast<std::size_t>(k + 1)] - left[static_cast<std::size_t>(k)];
    sum += g;
    if (g > widest) {
      widest = g;
      widestAt = k;
    }
  }
  if (widestAt != 1) return 0;
  return widest / ((sum - widest) * 1.5 / (glyphs - 2));
}

TEST(SerialLayoutTest, WideGapPicksTheFirstDigitForEverySeries) {
  const ng::Typeface face(ng::NoteRenderer::kDefaultFont);
  const std::u32string letters = ng::kSeriesLetters;
  for (char32_t a : letters)
    for (char32_t b : letters) {
      const ng::SerialLayout l = ng::LayoutSerial(face, std::u32string{a, b}, ng::kZone1);
      // Zone 1 sees all nine glyphs; zone 2 only its left three quarters,
      // which hold the letters and the first four digits at least.
      EXPECT_GT(GapMargin(l, 9), 1.2) << static_cast<unsigned>(a) << " " << static_cast<unsigned>(b);
      EXPECT_GT(GapMargin(l, 6), 1.2) << static_cast<unsigned>(a) << " " << static_cast<unsigned>(b);
      EXPECT_GE(l.letters[0].d0, ng::kZone1.d0 + 1.5);
      EXPECT_LE(l.digits[6].d1, ng::kZone1.d1 - 1.5);
      const ng::SerialLayout l2 = ng::LayoutSerial(face, std::u32string{a, b}, ng::kZone2);
      EXPECT_LE(l2.digits[3].d1, ng::kZone2.d0 + ng::kZone2.width() * 0.75);
    }
}

TEST(SerialLayoutTest, DigitsOnThePitchCentredInTheZone) {
  const ng::Typeface face(ng::NoteRenderer::kDefaultFont);
  const ng::SerialLayout l = ng::LayoutSerial(face, U"ПР", ng::kZone2);
  for (int k = 1; k < 7; ++k)
    EXPECT_NEAR(l.digits[static_cast<std::size_t>(k)].d0 - l.digits[static_cast<std::size_t>(k - 1)].d0, 2.712, 1e-9);
  for (const ng::MmRect& d : l.digits) {
    EXPECT_NEAR(d.width(), ng::kDigitInkWidth, 1e-9);
    EXPECT_LE(d.width(), ng::kDigitBoxWidth);
    EXPECT_NEAR(d.height(), 3.8, 1e-9);
    EXPECT_NEAR((d.e0 + d.e1) / 2, (ng::kZone2.e0 + ng::kZone2.e1) / 2, 1e-9);
  }
  EXPECT_NEAR((l.letters[0].d0 + l.digits[6].d1) / 2, (ng::kZone2.d0 + ng::kZone2.d1) / 2, 1e-9);
}

}  // namespace
