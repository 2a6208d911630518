// A full A4 page at 300 dpi in colour (2480 x 3508, RGB at 8 bits), as SANE
// delivers it in 64 KiB reads, turned into the packed DIB and then into the
// engine's 8-bit grey image. Target: 30 ms or less on one core, and at most
// the DIB plus the grey image in memory at the peak.
//
//   build/bench/bench_scan --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
//
// The counters peak_MB and dib_plus_grey_MB give the most heap memory in use
// during one conversion (above what was in use before it) and the sizes of the
// two images it must hold.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <vector>

#include "morvex/bitmap.h"
#include "morvex/grey_image.h"
#include "morvex/sane/frame_assembler.h"

namespace {

// Heap bytes in use through operator new, and the DIB storage's bytes.
std::atomic<long long> gNewBytes{0};
long long gDibBytes = 0;
long long gPeak = 0;
bool gTracking = false;

void NotePeak() {
  if (gTracking) gPeak = std::max(gPeak, gNewBytes.load() + gDibBytes);
}

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  gNewBytes += static_cast<long long>(malloc_usable_size(p));
  NotePeak();
  return p;
}
// operator new above takes its blocks from malloc, so free is their match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
  if (p) gNewBytes -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
#pragma GCC diagnostic pop
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

constexpr int kWidth = 2480, kHeight = 3508;
constexpr std::size_t kReadSize = 64 * 1024;

// The C heap storage, counted.
class CountedStorage final : public morvex::sane::DibStorage {
 public:
  std::span<std::uint8_t> resize(std::size_t bytes) override {
    const auto block = inner_.resize(bytes);
    gDibBytes = static_cast<long long>(bytes);
    NotePeak();
    return block;
  }
  std::span<const std::uint8_t> bytes() const { return inner_.bytes(); }

 private:
  morvex::sane::HeapDibStorage inner_;
};

struct Frame {
  morvex::sane::FrameParameters parameters;
  std::vector<std::uint8_t> bytes;
};

// A page of smooth colour ramps with some texture, like a scanned page.
std::vector<Frame> Page(bool threePass) {
  std::vector<Frame> frames;
  if (!threePass) {
    Frame f{{morvex::sane::FrameFormat::Rgb, true, 3 * kWidth, kWidth, kHeight, 8}, {}};
    f.bytes.resize(static_cast<std::size_t>(3) * kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        std::uint8_t* p = &f.bytes[(static_cast<std::size_t>(y) * kWidth + x) * 3];
        p[0] = static_cast<std::uint8_t>(x / 10 + (y & 7));
        p[1] = static_cast<std::uint8_t>(y / 14 + (x & 3));
        p[2] = static_cast<std::uint8_t>((x + y) / 24);
      }
    frames.push_back(std::move(f));
  } else {
    using morvex::sane::FrameFormat;
    const FrameFormat order[3] = {FrameFormat::Red, FrameFormat::Green, FrameFormat::Blue};
    for (int c = 0; c < 3; ++c) {
      Frame f{{order[c], c == 2, kWidth, kWidth, kHeight, 8}, {}};
      f.bytes.resize(static_cast<std::size_t>(kWidth) * kHeight);
      for (std::size_t i = 0; i < f.bytes.size(); ++i) f.bytes[i] = static_cast<std::uint8_t>(i * (c + 3) / 4096);
      frames.push_back(std::move(f));
    }
  }
  return frames;
}

void ScanToGrey(benchmark::State& state, bool threePass) {
  const std::vector<Frame> frames = Page(threePass);
  morvex::Bitmap grey;
  std::size_t dibSize = 0;
  long long peak = 0;
  for (auto _ : state) {
    const long long before = gNewBytes.load();
    gPeak = before;
    gTracking = true;
    {
      CountedStorage storage;
      morvex::sane::FrameAssembler assembler(storage, 300, 300);
      for (const Frame& f : frames) {
        assembler.beginFrame(f.parameters);
        for (std::size_t i = 0; i < f.bytes.size(); i += kReadSize)
          assembler.add({f.bytes.data() + i, std::min(kReadSize, f.bytes.size() - i)});
        assembler.endFrame();
      }
      const morvex::sane::ScannedImage image = assembler.finish();
      dibSize = image.dibSize;
      morvex::Bitmap fresh;  // a new grey image each time, as for each scan
      morvex::DecodePackedDibGrey(storage.bytes().first(image.dibSize), fresh);
      benchmark::DoNotOptimize(fresh.data());
      grey = std::move(fresh);
    }
    gTracking = false;
    gDibBytes = 0;
    peak = std::max(peak, gPeak - before);
  }
  const double greyBytes = static_cast<double>(grey.stride()) * grey.height();
  state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["dib_plus_grey_MB"] = (static_cast<double>(dibSize) + greyBytes) / 1e6;
  state.counters["MB_per_s"] = benchmark::Counter(static_cast<double>(dibSize), benchmark::Counter::kIsIterationInvariantRate,
                                                  benchmark::Counter::kIs1000);
}

void BM_A4ColourScanToGrey(benchmark::State& state) { ScanToGrey(state, false); }
BENCHMARK(BM_A4ColourScanToGrey)->Unit(benchmark::kMillisecond);

void BM_A4ThreePassScanToGrey(benchmark::State& state) { ScanToGrey(state, true); }
BENCHMARK(BM_A4ThreePassScanToGrey)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
