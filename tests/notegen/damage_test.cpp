// The stress set's damage: drawn at random but the same for a seed, several
// kinds per note, and each kind doing what it says.
#include <gtest/gtest.h>

#include <cstdlib>

#include "damage.h"
#include "notegen.h"

namespace ng = morvex::notegen;

namespace {

int Kinds(const ng::NoteDamage& d) {
  return d.underprint + (d.inkStrength < 1) + d.wear + (d.folds > 0) + d.dust + (d.streaks > 0) +
         (d.cornerRadiusMm > 0) + (d.dogEars != 0) + (d.backgroundRise > 0) + (d.jpegQuality > 0);
}

TEST(DamageTest, StressNotesCarrySeveralKindsAndOtherSetsNone) {
  const ng::GenerationOptions stress = ng::PresetOptions(ng::SampleSet::Stress);
  int jpeg = 0, underprint = 0;
  for (int i = 0; i < 200; ++i) {
    const ng::NotePlan plan = ng::DrawNotePlan(stress, 5, i);
    EXPECT_GE(Kinds(plan.damage), 3) << i;
    jpeg += plan.damage.jpegQuality > 0;
    underprint += plan.damage.underprint;
    EXPECT_EQ(ng::DrawNotePlan(stress, 5, i).damage.seed, plan.damage.seed);
    if (plan.damage.jpegQuality > 0) {
      EXPECT_GE(plan.damage.jpegQuality, 15);
      EXPECT_LE(plan.damage.jpegQuality, 45);
    }
  }
  EXPECT_GT(jpeg, 50);
  EXPECT_GT(underprint, 50);
  for (const ng::SampleSet set : {ng::SampleSet::Clean, ng::SampleSet::Typical, ng::SampleSet::Hard})
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(ng::DrawNotePlan(ng::PresetOptions(set), 5, i).damage.any());
}

TEST(DamageTest, StressBackgroundStaysDarkWithItsRiseAndNoise) {
  const ng::GenerationOptions o = ng::PresetOptions(ng::SampleSet::Stress);
  constexpr double kMostRise = 12;
  EXPECT_LT(o.backgroundLevel.hi + kMostRise + 3.47 * o.noiseSigma.hi, 70);
  EXPECT_LE(o.maxTiltDegrees, 30);
  EXPECT_EQ(ng::ParseSampleSet("stress"), ng::SampleSet::Stress);
}

TEST(DamageTest, RoundedAndDogEaredCornersCutOnlyTheCorners) {
  ng::NoteDamage d;
  d.cornerRadiusMm = 4;
  const ng::CornerShape round = ng::CornerShapeOf(d);
  EXPECT_TRUE(ng::CornerCut(round, 0.2, 0.2));
  EXPECT_TRUE(ng::CornerCut(round, 149.8, 64.8));
  EXPECT_FALSE(ng::CornerCut(round, 4, 0.2));
  EXPECT_FALSE(ng::CornerCut(round, 75, 30));
  d.cornerRadiusMm = 0;
  d.dogEars = 1 << 2;  // bottom right
  d.seed = 77;
  const ng::CornerShape eared = ng::CornerShapeOf(d);
  EXPECT_GE(eared.leg, 4);
  EXPECT_TRUE(ng::CornerCut(eared, 149, 64));
  EXPECT_FALSE(ng::CornerCut(eared, 1, 1));
  EXPECT_FALSE(ng::CornerCut(eared, 149 - eared.leg, 64));
}

TEST(DamageTest, JpegKeepsFlatBlocksAndWipesFineTexture) {
  morvex::Bitmap scan(16, 8, morvex::PixelFormat::Rgb24);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) {
      const std::uint8_t v = x < 8 ? 120 : (x % 2 ? 120 : 136);  // flat block, then faint fine stripes
      scan.setPixel(x, y, morvex::MakeColour(v, v, v));
    }
  morvex::Bitmap damaged = scan;
  ng::CompressLikeJpeg(damaged, 20);
  // The flat block stays; the stripes' high frequency is quantised away, so
  // their block turns flat at their mean level.
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_NEAR(morvex::Brightness(damaged.pixel(x, y)), x < 8 ? 120 : 128, 2) << x << "," << y;
  morvex::Bitmap untouched = scan;
  ng::CompressLikeJpeg(untouched, 0);
  EXPECT_EQ(morvex::Brightness(untouched.pixel(9, 3)), 120);
}

}  // namespace
