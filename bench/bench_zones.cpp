// Speed of the zone recognition on 300-dpi regions: the two serial readers
// and the face-value classifier. Build: an executable of this file and
// tests/zones/zone_fixtures.cpp linked to morvex_engine and benchmark_main,
// with engine/ and tests/zones/ on the include path.
#include <benchmark/benchmark.h>

#include "morvex/arith.h"
#include "zone_fixtures.h"
#include "zones/zones.h"

namespace {

using namespace morvex;

constexpr double kPxPerMm = 300 / 25.4;

void BM_ReadZone1Number(benchmark::State& state) {
  const ReferenceDigits& refs = testing::References();
  const Bitmap source = testing::ToBitmap(testing::DrawZone(testing::NoteZone(1, 300), "3184614", refs));
  Bitmap zone;
  for (auto _ : state) {
    zone = source;  // the reader stretches its zone in place
    benchmark::DoNotOptimize(ReadZone1Number(zone, refs));
  }
}
BENCHMARK(BM_ReadZone1Number);

void BM_ReadZone2Number(benchmark::State& state) {
  const ReferenceDigits& refs = testing::References();
  const Bitmap source = testing::ToBitmap(testing::DrawZone(testing::NoteZone(2, 300), "3184614", refs));
  Bitmap zone;
  for (auto _ : state) {
    zone = source;
    benchmark::DoNotOptimize(ReadZone2Number(zone, 2.712 * kPxPerMm, static_cast<double>(R(2.373 * kPxPerMm)), refs));
  }
}
BENCHMARK(BM_ReadZone2Number);

void BM_ClassifyPatch(benchmark::State& state) {
  // A 500-rouble patch (C C E E) at 300 dpi, 89 x 177.
  GreyPlane patch = testing::Plane(89, 177, 220);
  testing::Fill(patch, 8, 10, 27, 29, 20);
  testing::Fill(patch, 8, 42, 27, 61, 20);
  testing::Fill(patch, 8, 74, 47, 93, 20);
  testing::Fill(patch, 8, 106, 47, 125, 20);
  const Bitmap bitmap = testing::ToBitmap(patch);
  for (auto _ : state) benchmark::DoNotOptimize(ClassifyPatch(bitmap));
}
BENCHMARK(BM_ClassifyPatch);

void BM_LoadReferenceDigits(benchmark::State& state) {
  for (auto _ : state) {
    ReferenceDigits refs = LoadReferenceDigits();
    benchmark::DoNotOptimize(refs.loaded());
  }
}
BENCHMARK(BM_LoadReferenceDigits);

}  // namespace
