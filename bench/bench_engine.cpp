// Speed of the note analysis on composed notes: a 300-dpi scan of about
// 2100 x 1000 pixels and a 150-dpi one, 24 bits, the note tilted by 3 degrees.
#include <benchmark/benchmark.h>

#include <map>

#include "analysis/edge_sampling.h"
#include "analysis/frame.h"
#include "analysis/layout.h"
#include "fixtures.h"
#include "morvex/engine.h"
#include "morvex/grey_image.h"
#include "note_composer.h"

namespace morvex {
namespace {

const ReferenceDigits& References() {
  static const ReferenceDigits refs = LoadReferenceDigits();
  return refs;
}

// The scan for a resolution, rendered once.
const Bitmap& Scan(int dpi) {
  static std::map<int, Bitmap> scans;
  auto it = scans.find(dpi);
  if (it != scans.end()) return it->second;
  test::NoteScene scene;
  scene.dpi = dpi;
  scene.degrees = 3.0;
  scene.width = 2100 * dpi / 300;
  scene.height = 1000 * dpi / 300;
  scene.ink = test::ComposeNote({500, "4082735", "1592630"}, References(), scene.paper);
  return scans.emplace(dpi, test::Render(scene)).first->second;
}

void BM_MakeWorkingImage(benchmark::State& state) {
  const Bitmap& scan = Scan(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Bitmap work = MakeWorkingImage(scan);
    benchmark::DoNotOptimize(work.data());
  }
}
BENCHMARK(BM_MakeWorkingImage)->Arg(300)->Arg(150)->Unit(benchmark::kMillisecond);

void BM_MakeGreyImageInPlace(benchmark::State& state) {
  const Bitmap& scan = Scan(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    Bitmap copy = scan;
    state.ResumeTiming();
    MakeGreyImage(copy);
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_MakeGreyImageInPlace)->Arg(300)->Arg(150)->Unit(benchmark::kMillisecond);

void BM_EdgeSampling(benchmark::State& state) {
  const Bitmap work = MakeWorkingImage(Scan(static_cast<int>(state.range(0))));
  const GreyView grey(work);
  for (auto _ : state) {
    SampleTable columns = SampleColumns(grey);
    const LongEdges edges = FitLongEdges(columns);
    SampleTable lines = SampleLines(grey, edges);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_EdgeSampling)->Arg(300)->Arg(150)->Unit(benchmark::kMillisecond);

// The note's frame on a working image: edges and short-edge fit.
NoteFrame FrameOf(const Bitmap& work) {
  const GreyView grey(work);
  SampleTable columns = SampleColumns(grey);
  const LongEdges edges = FitLongEdges(columns);
  SampleTable lines = SampleLines(grey, edges);
  return BuildFrame(lines, edges);
}

// The four regions a note reading cuts: both patch places and both zones.
void BM_ExtractRegions(benchmark::State& state) {
  const Bitmap work = MakeWorkingImage(Scan(static_cast<int>(state.range(0))));
  const NoteFrame frame = FrameOf(work);
  const NoteScales scales = ScalesOf(frame);
  for (auto _ : state) {
    for (const RegionPlace& place : {PatchFirstPlace, PatchSecondPlace, Zone1Upright, Zone2Upright}) {
      const Bitmap region = CutRegion(work, frame, PlaceRegion(frame, scales, place));
      benchmark::DoNotOptimize(region.data());
    }
  }
}
BENCHMARK(BM_ExtractRegions)->Arg(300)->Arg(150)->Unit(benchmark::kMillisecond);

// Grey image, edges, frame, scales and resolution: AnalyzeNote up to the patches.
void BM_Spine(benchmark::State& state) {
  const Bitmap& scan = Scan(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const Bitmap work = MakeWorkingImage(scan);
    const NoteFrame frame = FrameOf(work);
    const NoteScales scales = ScalesOf(frame);
    benchmark::DoNotOptimize(scales);
    benchmark::DoNotOptimize(EstimateDpi(frame.LongSide));
  }
}
BENCHMARK(BM_Spine)->Arg(300)->Arg(150)->Unit(benchmark::kMillisecond);

void BM_AnalyzeNote(benchmark::State& state) {
  Bitmap scan = Scan(static_cast<int>(state.range(0)));
  AnalisysResult result;
  for (auto _ : state) {
    AnalyzeNote(scan, false, nullptr, result, References());
    benchmark::DoNotOptimize(result.Dpi);
  }
  if (result.Denomination != 500 || result.Zone1Number != "4082735" || result.Zone2Number != "1592630")
    state.SkipWithError("the composed note was not read back");
}
BENCHMARK(BM_AnalyzeNote)->Arg(300)->Arg(150)->Unit(benchmark::kMillisecond);

// The robust reading of the same scans: at most twice BM_AnalyzeNote's time.
void BM_AnalyzeNoteRobust(benchmark::State& state) {
  Bitmap scan = Scan(static_cast<int>(state.range(0)));
  AnalisysResult result;
  const AnalyzeOptions robust = AnalyzeOptions().setRobust(true);
  for (auto _ : state) {
    AnalyzeNote(scan, false, nullptr, result, References(), robust);
    benchmark::DoNotOptimize(result.Dpi);
  }
  if (result.Denomination != 500 || result.Zone1Number != "4082735" || result.Zone2Number != "1592630")
    state.SkipWithError("the composed note was not read back");
}
BENCHMARK(BM_AnalyzeNoteRobust)->Arg(300)->Arg(150)->Unit(benchmark::kMillisecond);

// With the marking: the caller's bitmap is replaced, so each run starts from a copy.
void BM_AnalyzeNoteShowDetails(benchmark::State& state) {
  const Bitmap& scan = Scan(static_cast<int>(state.range(0)));
  AnalisysResult result;
  for (auto _ : state) {
    state.PauseTiming();
    Bitmap image = scan;
    std::vector<std::string> details;
    state.ResumeTiming();
    AnalyzeNote(image, true, &details, result, References());
    benchmark::DoNotOptimize(image.data());
  }
}
BENCHMARK(BM_AnalyzeNoteShowDetails)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morvex

BENCHMARK_MAIN();
