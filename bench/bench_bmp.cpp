// Loading a 300-dpi-sized 24-bit file into one reused bitmap, as a batch does.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "morvex/bmp.h"

namespace {

void BM_LoadBmpFileReused(benchmark::State& state) {
  const auto path = std::filesystem::temp_directory_path() / "morvex-bench-load.bmp";
  morvex::Bitmap picture(2100, 1000);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, morvex::MakeColour(x & 255, y & 255, 90));
  morvex::SaveBmpFile(path, picture);
  morvex::Bitmap target;
  for (auto _ : state) {
    morvex::LoadBmpFile(path, target);
    benchmark::DoNotOptimize(target.data());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadBmpFileReused)->Unit(benchmark::kMillisecond);

void BM_DecodeBmpFromMemory(benchmark::State& state) {
  morvex::Bitmap picture(2100, 1000);
  const auto bytes = morvex::EncodeBmp(picture);
  morvex::Bitmap target;
  for (auto _ : state) {
    morvex::DecodeBmp(bytes, target);
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_DecodeBmpFromMemory)->Unit(benchmark::kMillisecond);

}  // namespace
