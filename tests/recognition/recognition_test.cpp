// The recognition blackbox: small generated sample folders read through the
// engine, with the counts of correct answers per folder. The minimums follow
// what the engine measured on these folders; every miss is printed.
#include <gtest/gtest.h>

#include <iostream>

#include "recognition_survey.h"

namespace rec = morvex::recognition;
namespace ng = morvex::notegen;

namespace {

struct Folder {
  const char* name;
  ng::SampleSet set;
  bool grey8;
  std::uint64_t seed;
  int count;
  rec::SurveyCounts minimum;  // total is not compared
  bool robust = false;        // read with the robust reading
};

class RecognitionTest : public ::testing::TestWithParam<Folder> {};

TEST_P(RecognitionTest, ReadsTheFolder) {
  static const morvex::ReferenceDigits refs = morvex::LoadReferenceDigits();
  const Folder& f = GetParam();
  ng::GenerationOptions options = ng::PresetOptions(f.set);
  options.grey8 = f.grey8;
  std::vector<rec::SurveyMiss> misses;
  const rec::SurveyCounts c =
      rec::SurveySet(options, f.seed, f.count, refs, &misses, 0, morvex::AnalyzeOptions().setRobust(f.robust));
  rec::PrintCounts(std::cout, f.name, c);
  for (const rec::SurveyMiss& m : misses) rec::PrintMiss(std::cout, m);
  ASSERT_EQ(c.total, f.count);
  EXPECT_GE(c.zone1, f.minimum.zone1);
  EXPECT_GE(c.zone2, f.minimum.zone2);
  EXPECT_GE(c.either, f.minimum.either);
  EXPECT_GE(c.denomination, f.minimum.denomination);
  EXPECT_GE(c.orientation, f.minimum.orientation);
  EXPECT_GE(c.dpi, f.minimum.dpi);
}

std::string FolderName(const ::testing::TestParamInfo<Folder>& info) { return info.param.name; }

// Clean notes must all be read right. Typical notes (tilted, blurred, noisy,
// here as 8-bit grey files) are read right in every field on the folders
// measured; one miss per field is allowed before the test fails.
INSTANTIATE_TEST_SUITE_P(
    Folders, RecognitionTest,
    ::testing::Values(Folder{"clean", ng::SampleSet::Clean, false, 101, 30, {0, 30, 30, 30, 30, 30, 30}},
                      Folder{"typical_grey8", ng::SampleSet::Typical, true, 202, 30, {0, 29, 29, 29, 29, 29, 29}}),
    FolderName);

// The robust reading: every note of the clean, typical and hard folders read
// right in every field; on the damaged notes of the stress folder (all read
// right when measured) at most one miss in each zone and none in the others.
INSTANTIATE_TEST_SUITE_P(
    RobustFolders, RecognitionTest,
    ::testing::Values(
        Folder{"robust_clean", ng::SampleSet::Clean, false, 303, 20, {0, 20, 20, 20, 20, 20, 20}, true},
        Folder{"robust_typical", ng::SampleSet::Typical, false, 404, 30, {0, 30, 30, 30, 30, 30, 30}, true},
        Folder{"robust_hard_grey8", ng::SampleSet::Hard, true, 505, 30, {0, 30, 30, 30, 30, 30, 30}, true},
        Folder{"robust_stress", ng::SampleSet::Stress, false, 606, 30, {0, 29, 29, 30, 30, 30, 30}, true}),
    FolderName);

// The same damaged notes read both ways: the robust reading reads no fewer
// right than the exact one in any field.
TEST(RobustReading, ReadsNoFewerRightThanTheExactOne) {
  static const morvex::ReferenceDigits refs = morvex::LoadReferenceDigits();
  std::vector<std::vector<rec::SurveyMiss>> misses;
  const std::vector<rec::SurveyCounts> c =
      rec::SurveyModes(ng::PresetOptions(ng::SampleSet::Stress), 707, 24, refs,
                       {morvex::AnalyzeOptions(), morvex::AnalyzeOptions().setRobust(true)}, &misses);
  rec::PrintCounts(std::cout, "stress exact", c[0]);
  for (const rec::SurveyMiss& m : misses[0]) rec::PrintMiss(std::cout, m);
  rec::PrintCounts(std::cout, "stress robust", c[1]);
  for (const rec::SurveyMiss& m : misses[1]) rec::PrintMiss(std::cout, m);
  EXPECT_GE(c[1].zone1, c[0].zone1);
  EXPECT_GE(c[1].zone2, c[0].zone2);
  EXPECT_GE(c[1].either, c[0].either);
  EXPECT_GE(c[1].denomination, c[0].denomination);
  EXPECT_GE(c[1].orientation, c[0].orientation);
  EXPECT_GE(c[1].dpi, c[0].dpi);
}

}  // namespace
