#include "zones/glyph_match.h"

#include <algorithm>
#include <bit>

#include "morvex/arith.h"
#include "zones/nearest_map.h"

namespace morvex {

PixelPlanes ClassifyPixels(const std::uint8_t* levels, std::size_t count) {
  PixelPlanes planes;
  const std::size_t words = (count + 63) / 64;
  planes.ink.assign(words, 0);
  planes.paper.assign(words, 0);
  for (std::size_t w = 0; w < words; ++w) {
    std::uint64_t ink = 0, paper = 0;
    const std::size_t end = std::min(count, (w + 1) * 64);
    for (std::size_t i = w * 64; i < end; ++i) {
      const std::uint64_t bit = std::uint64_t{1} << (i % 64);
      if (levels[i] < kDarkBelow) ink |= bit;
      if (levels[i] > kLightAbove) paper |= bit;
    }
    planes.ink[w] = ink;
    planes.paper[w] = paper;
  }
  return planes;
}

std::int64_t Agreement(const PixelPlanes& a, const PixelPlanes& b) {
  std::int64_t count = 0;
  for (std::size_t w = 0; w < a.ink.size(); ++w)
    count += std::popcount((a.ink[w] & b.ink[w]) | (a.paper[w] & b.paper[w]));
  return count;
}

ScaledReferences ScaleReferences(const ReferenceDigits& references, int width, int height) {
  ScaledReferences scaled;
  scaled.width = width;
  scaled.height = height;
  std::vector<std::uint8_t> levels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int d = 0; d < 10; ++d) {
    const ReferenceImage& ref = references.reference(d);
    const std::vector<int> columns = NearestMap(width, 0, ref.width);
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* src = ref.row(NearestSource(y, height, 0, ref.height));
      for (int x = 0; x < width; ++x) levels[i++] = src[columns[static_cast<std::size_t>(x)]];
    }
    scaled.planes[static_cast<std::size_t>(d)] = ClassifyPixels(levels.data(), levels.size());
  }
  return scaled;
}

const ScaledReferences& MatchCache::get(const ReferenceDigits& references, int width, int height) {
  for (const auto& e : entries_)
    if (e.width == width && e.height == height) return e;
  entries_.push_back(ScaleReferences(references, width, height));
  return entries_.back();
}

GlyphMatch MatchGlyph(const GreyPlane& glyph, const ReferenceDigits& references, MatchCache& cache) {
  GlyphMatch best;
  if (glyph.empty()) return best;
  const ScaledReferences& scaled = cache.get(references, glyph.width, glyph.height);
  const PixelPlanes pixels = ClassifyPixels(glyph.levels.data(), glyph.levels.size());
  const Real area = static_cast<Real>(glyph.width) * static_cast<Real>(glyph.height);
  for (int d = 0; d < 10; ++d) {
    const std::int64_t count = Agreement(pixels, scaled.planes[static_cast<std::size_t>(d)]);
    const double score = static_cast<double>(Divide(static_cast<Real>(count), area));
    if (score > best.Score) best = {d, score};
  }
  return best;
}

std::array<double, 10> DigitScores(const GreyPlane& glyph, const ReferenceDigits& references, MatchCache& cache) {
  std::array<double, 10> scores{};
  if (glyph.empty()) return scores;
  const ScaledReferences& scaled = cache.get(references, glyph.width, glyph.height);
  const PixelPlanes pixels = ClassifyPixels(glyph.levels.data(), glyph.levels.size());
  const double area = static_cast<double>(glyph.width) * glyph.height;
  for (std::size_t d = 0; d < 10; ++d) scores[d] = static_cast<double>(Agreement(pixels, scaled.planes[d])) / area;
  return scores;
}

GlyphMatch MatchGlyph(const Bitmap& glyph, const ReferenceDigits& references) {
  MatchCache cache;
  return MatchGlyph(BrightnessPlane(glyph), references, cache);
}

}  // namespace morvex
