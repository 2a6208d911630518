// The folder run over rendered note scans and the real engine.
#include <gtest/gtest.h>

#include "morvex/app/batch.h"
#include "morvex/app/renaming.h"
#include "morvex/bmp.h"
#include "notegen.h"
#include "temp_folder.h"

namespace morvex::app {
namespace {

using morvex::testing::TempFolder;
namespace ng = morvex::notegen;

// Writes `count` notes of a small typical set (low resolutions keep it quick).
void RenderNotes(const TempFolder& dir, int count) {
  ng::GenerationOptions options = ng::PresetOptions(ng::SampleSet::Typical);
  options.dpiMin = 150;
  options.dpiMax = 170;
  options.backSideShare = 0.25;
  options.supersample = 1;
  const ng::NoteRenderer renderer;
  for (int i = 0; i < count; ++i) {
    const ng::NotePlan plan = ng::DrawNotePlan(options, 99, i);
    SaveBmpFile(dir / ng::NoteFileName(plan), renderer.render(plan));
  }
}

BatchReport RunAll(const std::filesystem::path& folder, const ReferenceDigits& refs, bool rename, unsigned jobs,
                   std::vector<BatchFileResult>* files = nullptr) {
  BatchOptions options;
  options.Rename = rename;
  options.Jobs = jobs;
  FolderBatch run(folder, refs, options);
  while (!run.finished()) {
    const BatchFileResult& f = run.step();
    if (files) files->push_back(f);
  }
  return run.finish();
}

TEST(GeneratedNotes, TwoJobsGiveTheReportOfOne) {
  TempFolder dir;
  RenderNotes(dir, 8);
  const ReferenceDigits refs = LoadReferenceDigits();
  std::vector<BatchFileResult> files;
  const BatchReport one = RunAll(dir.path(), refs, false, 1, &files);
  const BatchReport two = RunAll(dir.path(), refs, false, 2);
  EXPECT_EQ(two.ReportPage, one.ReportPage);
  EXPECT_EQ(two.Counts, one.Counts);
  // Each step's result is the engine's answer for that file alone.
  ASSERT_EQ(files.size(), 8u);
  Bitmap image = LoadBmpFile(dir / files[3].ListedName);
  AnalisysResult direct;
  AnalyzeNote(image, false, nullptr, direct, refs);
  EXPECT_EQ(files[3].Result.Zone1Number, direct.Zone1Number);
  EXPECT_EQ(files[3].Result.Zone2Number, direct.Zone2Number);
  EXPECT_EQ(files[3].Result.Denomination, direct.Denomination);
}

TEST(GeneratedNotes, RenamedNamesCompareTrueAgainstTheSameResults) {
  TempFolder dir;
  RenderNotes(dir, 6);
  const ReferenceDigits refs = LoadReferenceDigits();
  std::vector<BatchFileResult> renamed;
  const BatchReport renaming = RunAll(dir.path(), refs, true, 2, &renamed);
  EXPECT_EQ(renaming.Counts, BatchCounts{});
  // A name written from a result reads back as that result, except for the
  // failure answer, whose face value "-0001" shifts the fields by one.
  int roundTrips = 0;
  for (const auto& f : renamed) {
    if (f.NewName && f.Result.Denomination != -1) ++roundTrips;
  }
  const BatchReport again = RunAll(dir.path(), refs, false, 2);
  EXPECT_EQ(again.Total, 6);
  EXPECT_EQ(again.Counts.Zone1Correct, roundTrips);
  EXPECT_EQ(again.Counts.DenominationCorrect, roundTrips);
  EXPECT_GT(roundTrips, 0);
}

}  // namespace
}  // namespace morvex::app
