#include "zones/glyph_match.h"

#include "morvex/arith.h"
#include "zones/nearest_map.h"

namespace morvex {

namespace {

// Pixel classes. A reference pixel that is neither ink nor paper gets a code
// that no glyph pixel carries, so it never agrees.
constexpr std::uint8_t kInk = 0;
constexpr std::uint8_t kPaper = 1;
constexpr std::uint8_t kGlyphNeither = 2;
constexpr std::uint8_t kReferenceNeither = 3;

std::uint8_t ClassOf(int level, std::uint8_t neither) {
  if (level < kDarkBelow) return kInk;
  if (level > kLightAbove) return kPaper;
  return neither;
}

}  // namespace

ScaledReferences ScaleReferences(const ReferenceDigits& references, int width, int height) {
  ScaledReferences scaled;
  scaled.width = width;
  scaled.height = height;
  for (int d = 0; d < 10; ++d) {
    const ReferenceImage& ref = references.reference(d);
    const std::vector<int> columns = NearestMap(width, 0, ref.width);
    const std::vector<int> rows = NearestMap(height, 0, ref.height);
    auto& out = scaled.classes[static_cast<std::size_t>(d)];
    out.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* src = ref.row(rows[static_cast<std::size_t>(y)]);
      for (int x = 0; x < width; ++x) out[i++] = ClassOf(src[columns[static_cast<std::size_t>(x)]], kReferenceNeither);
    }
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
  std::vector<std::uint8_t> classes(glyph.levels.size());
  for (std::size_t i = 0; i < classes.size(); ++i) classes[i] = ClassOf(glyph.levels[i], kGlyphNeither);
  const Real area = static_cast<Real>(glyph.width) * static_cast<Real>(glyph.height);
  for (int d = 0; d < 10; ++d) {
    const std::uint8_t* ref = scaled.classes[static_cast<std::size_t>(d)].data();
    std::int64_t count = 0;
    for (std::size_t i = 0; i < classes.size(); ++i) count += ref[i] == classes[i];
    const double score = static_cast<double>(Divide(static_cast<Real>(count), area));
    if (score > best.Score) best = {d, score};
  }
  return best;
}

GlyphMatch MatchGlyph(const Bitmap& glyph, const ReferenceDigits& references) {
  MatchCache cache;
  return MatchGlyph(BrightnessPlane(glyph), references, cache);
}

}  // namespace morvex
