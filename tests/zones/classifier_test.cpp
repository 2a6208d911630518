#include "zones/classifier.h"

#include <gtest/gtest.h>

#include <vector>

#include "zone_fixtures.h"
#include "zones/zones.h"
#include "case_name.h"

namespace morvex {
namespace {

using testing::Fill;
using testing::Plane;
using testing::ToBitmap;

constexpr GlyphKind C = GlyphKind::Compact;
constexpr GlyphKind E = GlyphKind::Elongated;

TEST(GlyphKind, CompactElongatedBoundary) {
  // Band 20 rows (h = 19): |28 - 19| = 9 < 9.5, |29 - 19| = 10 >= 9.5.
  EXPECT_EQ(KindOf(28, 19), C);
  EXPECT_EQ(KindOf(29, 19), E);
  EXPECT_EQ(KindOf(10, 19), C);  // narrower by 9 is compact too
  EXPECT_EQ(KindOf(9, 19), E);
}

struct CodeCase {
  std::vector<GlyphKind> kinds;
  int code;
};

class PatchCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(PatchCodes, Lookup) { EXPECT_EQ(PatchCodeOf(GetParam().kinds), GetParam().code); }

INSTANTIATE_TEST_SUITE_P(Table, PatchCodes,
                         ::testing::Values(CodeCase{{C, E}, 1}, CodeCase{{E, C}, 2}, CodeCase{{C, C, E}, 3},
                                           CodeCase{{E, C, C}, 4}, CodeCase{{C, E, E}, 5}, CodeCase{{E, E, C}, 6},
                                           CodeCase{{C, C, E, E}, 7}, CodeCase{{E, E, C, C}, 8},
                                           CodeCase{{C, E, E, E}, 9}, CodeCase{{E, E, E, C}, 10},
                                           CodeCase{{C, C}, -1}, CodeCase{{E, C, E}, -1},
                                           CodeCase{{C, C, C, C}, -1}, CodeCase{{}, 0}, CodeCase{{E}, 0},
                                           CodeCase{{C, E, E, E, C}, 0}),
                         [](const auto& info) {
                           std::string kinds;
                           for (const GlyphKind k : info.param.kinds) kinds += k == C ? 'C' : 'E';
                           return kinds.empty() ? std::string("none") : kinds;
                         });

TEST(DarkRuns, MinimumSpans) {
  // Runs of 5 and 6 entries at or below the threshold 10, one of 7 more.
  const std::vector<std::int64_t> profile = {50, 1, 1, 1, 1, 1, 50, 2, 2, 2, 2, 2, 2, 50,
                                             10, 10, 10, 10, 10, 10, 10, 50, 50};
  const auto runs5 = DarkRuns(profile, static_cast<int>(profile.size()), 10, 5);
  ASSERT_EQ(runs5.size(), 2u);  // six rows or more
  EXPECT_EQ(runs5[0].first, 7);
  EXPECT_EQ(runs5[0].last, 12);
  EXPECT_EQ(runs5[1].first, 14);
  EXPECT_EQ(runs5[1].last, 20);
  const auto runs6 = DarkRuns(profile, static_cast<int>(profile.size()), 10, 6);
  ASSERT_EQ(runs6.size(), 1u);  // seven columns or more
  EXPECT_EQ(runs6[0].first, 14);
}

TEST(DarkRuns, RunReachingTheLastEntryEndsBeforeIt) {
  const std::vector<std::int64_t> profile = {50, 50, 1, 1, 1, 1, 1, 1, 1, 1};
  const auto runs = DarkRuns(profile, 10, 10, 5);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].first, 2);
  EXPECT_EQ(runs[0].last, 8);
}

// A patch 89 x 177 (300 dpi) of light paper with solid dark glyphs; each
// glyph is (columns, rows), stacked from the top with 12 rows between.
struct Glyph {
  int width, height;
};

GreyPlane PatchWith(const std::vector<std::vector<Glyph>>& bands, int width = 89, int height = 177) {
  GreyPlane p = Plane(width, height, 220);
  int y = 10;
  for (const auto& band : bands) {
    int x = 8;
    int tallest = 0;
    for (const Glyph& g : band) {
      Fill(p, x, y, x + g.width - 1, y + g.height - 1, 20);
      x += g.width + 10;
      tallest = std::max(tallest, g.height);
    }
    y += tallest + 12;
  }
  return p;
}

struct PatchCase {
  const char* name;
  std::vector<std::vector<Glyph>> bands;
  int code;
};

class ClassifyPatches : public ::testing::TestWithParam<PatchCase> {};

TEST_P(ClassifyPatches, Code) {
  const Bitmap patch = ToBitmap(PatchWith(GetParam().bands));
  EXPECT_EQ(ClassifyPatch(patch), GetParam().code);
}

const Glyph kCompact{20, 20};    // h = 19, w = 19
const Glyph kElongated{40, 20};  // w = 39
const Glyph kTall{12, 30};       // h = 29, w = 11
const Glyph kLimitCompact{29, 20};  // w = 28
const Glyph kLimitElongated{30, 20};  // w = 29

INSTANTIATE_TEST_SUITE_P(
    Patches, ClassifyPatches,
    ::testing::Values(PatchCase{"TenNormal", {{kCompact}, {kElongated}}, 1},
                      PatchCase{"TenTurned", {{kElongated}, {kCompact}}, 2},
                      PatchCase{"FiveHundred", {{kCompact}, {kCompact}, {kElongated}, {kTall}}, 7},
                      PatchCase{"Thousand", {{kTall}, {kTall}, {kElongated}, {kCompact}}, 10},
                      PatchCase{"BoundaryCompact", {{kLimitCompact}, {kElongated}}, 1},
                      PatchCase{"BoundaryElongated", {{kLimitElongated}, {kElongated}}, -1},
                      PatchCase{"NotInTable", {{kElongated}, {kCompact}, {kElongated}}, -1},
                      PatchCase{"OneGlyph", {{kCompact}}, 0},
                      PatchCase{"FiveGlyphs", {{kCompact}, {kCompact}, {kCompact}, {kCompact}, {kCompact}}, 0},
                      // Two glyphs side by side are no glyph band.
                      PatchCase{"TwoSideBySide", {{kCompact}, {Glyph{20, 20}, Glyph{20, 20}}, {kElongated}}, 1},
                      // A band of five rows is dropped, one of six kept.
                      PatchCase{"FiveRowBandDropped", {{kCompact}, {Glyph{40, 5}}, {kElongated}}, 1},
                      PatchCase{"SixRowBandKept", {{kCompact}, {Glyph{40, 6}}, {kElongated}}, 5},
                      // Beside an elongated glyph, a segment of six columns is
                      // dropped (one glyph left), one of seven kept (two glyphs).
                      PatchCase{"SixColumnSegmentDropped", {{kCompact}, {Glyph{6, 20}, kElongated}, {kElongated}}, 5},
                      PatchCase{"SevenColumnSegmentKept", {{kCompact}, {Glyph{7, 20}, kElongated}, {kElongated}}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClassifyPatch, LastRowNeverJoinsABand) {
  // A glyph touching the bottom edge: the copy's last row is white, so the
  // band ends at the second-last row and the glyph is 19 rows high there.
  GreyPlane p = Plane(89, 177, 220);
  Fill(p, 8, 10, 27, 29, 20);     // compact
  Fill(p, 8, 156, 37, 176, 20);   // 30 x 21, of which 20 rows are copied: w = 29, h = 19
  EXPECT_EQ(ClassifyPatch(ToBitmap(p)), 1);
}

TEST(ClassifyPatch, TurnedPatchGivesTheEvenCode) {
  GreyPlane p = PatchWith({{kCompact}, {kCompact}, {kElongated}});
  GreyPlane turned(p.width, p.height);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) turned.row(p.height - 1 - y)[p.width - 1 - x] = p.row(y)[x];
  EXPECT_EQ(ClassifyPatch(ToBitmap(p)), 3);
  EXPECT_EQ(ClassifyPatch(ToBitmap(turned)), 4);
}

TEST(ClassifyPatch, LargePatchesAndManyBands) {
  // 600 dpi: a patch of 177 x 354, beyond the old 101 x 251 tables, and a
  // patch with twelve bands, beyond the old ten.
  const Glyph big{40, 40}, wide{80, 40};
  EXPECT_EQ(ClassifyPatch(ToBitmap(PatchWith({{big}, {wide}, {wide}}, 177, 354))), 5);
  std::vector<std::vector<Glyph>> many(12, std::vector<Glyph>{Glyph{20, 8}});
  EXPECT_EQ(ClassifyPatch(ToBitmap(PatchWith(many, 89, 300))), 0);
}

TEST(ClassifyPatch, EmptyAndTinyPatchesRecogniseNothing) {
  EXPECT_EQ(ClassifyPatch(Bitmap()), 0);
  EXPECT_EQ(ClassifyPatch(ToBitmap(Plane(1, 1, 0))), 0);
  EXPECT_EQ(ClassifyPatch(ToBitmap(Plane(89, 177, 255))), 0);
}

}  // namespace
}  // namespace morvex
