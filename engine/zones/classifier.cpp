#include "zones/classifier.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "morvex/arith.h"
#include "zones/level_stretch.h"
#include "zones/profile_limits.h"
#include "zones/zones.h"

namespace morvex {

namespace {

struct Pattern {
  std::vector<GlyphKind> kinds;
  int code;
};

constexpr GlyphKind C = GlyphKind::Compact;
constexpr GlyphKind E = GlyphKind::Elongated;

const std::array<Pattern, 10>& Patterns() {
  static const std::array<Pattern, 10> patterns = {{
      {{C, E}, 1},
      {{E, C}, 2},
      {{C, C, E}, 3},
      {{E, C, C}, 4},
      {{C, E, E}, 5},
      {{E, E, C}, 6},
      {{C, C, E, E}, 7},
      {{E, E, C, C}, 8},
      {{C, E, E, E}, 9},
      {{E, E, E, C}, 10},
  }};
  return patterns;
}

// Threshold between the smallest and largest of entries 0 to n - 1:
// min + (num * (max - min)) / den in integers, truncated.
std::int64_t Threshold(const std::vector<std::int64_t>& profile, int n, std::int64_t largestSum, int num, int den) {
  std::int64_t lo = ProfileMinStart(largestSum), hi = 0;
  for (int i = 0; i < n; ++i) {
    lo = std::min(lo, profile[static_cast<std::size_t>(i)]);
    hi = std::max(hi, profile[static_cast<std::size_t>(i)]);
  }
  return lo + IntDivide(num * (hi - lo), den);
}

}  // namespace

GlyphKind KindOf(int w, int h) {
  return static_cast<Real>(std::abs(w - h)) >= 0.5L * static_cast<Real>(h) ? GlyphKind::Elongated : GlyphKind::Compact;
}

std::vector<Run> DarkRuns(const std::vector<std::int64_t>& profile, int n, std::int64_t threshold, int minSpan) {
  std::vector<Run> runs;
  auto at = [&](int p) { return profile[static_cast<std::size_t>(p)]; };
  int p = 0;
  while (p < n - 1) {
    while (p < n - 1 && at(p) > threshold) ++p;
    const int first = p;
    while (p < n - 1 && at(p) <= threshold) ++p;
    const int last = p - 1;
    if (last - first >= minSpan) runs.push_back({first, last});
  }
  return runs;
}

std::vector<GlyphKind> GlyphKinds(const GreyPlane& copy) {
  const int w = copy.width, h = copy.height;
  std::vector<std::int64_t> rows(static_cast<std::size_t>(std::max(h, 0)), 0);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = copy.row(y);
    std::int64_t sum = 0;
    for (int x = 0; x < w; ++x) sum += p[x];
    rows[static_cast<std::size_t>(y)] = sum;
  }
  const std::int64_t T = Threshold(rows, h, static_cast<std::int64_t>(w) * 255, 5, 6);

  std::vector<GlyphKind> kinds;
  std::vector<std::int64_t> cols(static_cast<std::size_t>(std::max(w, 0)));
  for (const Run& band : DarkRuns(rows, h, T, 5)) {
    std::fill(cols.begin(), cols.end(), 0);
    for (int y = band.first; y <= band.last; ++y) {
      const std::uint8_t* p = copy.row(y);
      for (int x = 0; x < w; ++x) cols[static_cast<std::size_t>(x)] += p[x];
    }
    const std::int64_t Cth =
        Threshold(cols, w, static_cast<std::int64_t>(band.last - band.first + 1) * 255, 1, 2);
    const std::vector<Run> segments = DarkRuns(cols, w, Cth, 6);
    if (segments.size() != 1) continue;
    kinds.push_back(KindOf(segments[0].last - segments[0].first, band.last - band.first));
  }
  return kinds;
}

int PatchCodeOf(const std::vector<GlyphKind>& kinds) {
  if (kinds.size() < 2 || kinds.size() > 4) return 0;
  for (const Pattern& p : Patterns())
    if (p.kinds == kinds) return p.code;
  return -1;
}

int ClassifyPatch(const Bitmap& patch) {
  const GreyPlane source = BrightnessPlane(patch);
  const int w = source.width, h = source.height;
  // Working copy: all but the last column and row, which stay white.
  GreyPlane copy(w, h);
  for (int y = 0; y < h - 1; ++y) std::copy_n(source.row(y), w - 1, copy.row(y));
  StretchLevels(copy, StretchMode::Adaptive, {0, 0, w - 1, h - 1}, 0, 25);
  return PatchCodeOf(GlyphKinds(copy));
}

}  // namespace morvex
