// Deciding which digit one glyph image shows: every reference digit is scaled
// to the glyph's size and the share of pixels on which both agree (ink on ink,
// paper on paper) is the digit's score; the highest score wins.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "morvex/bitmap.h"
#include "morvex/reference_digits.h"
#include "zones/grey_plane.h"

namespace morvex {

inline constexpr int kDarkBelow = 100;   // a level below this is ink
inline constexpr int kLightAbove = 180;  // a level above this is paper

struct GlyphMatch {
  std::int32_t Digit = 10;  // 0 to 9, or 10 when no reference agreed anywhere
  double Score = 0.0;       // share of agreeing pixels, 0 to 1
};

// Ink and paper pixels of an image as bit planes, pixel i (row-major) in bit
// i % 64 of word i / 64. A pixel that is neither is in neither plane.
struct PixelPlanes {
  std::vector<std::uint64_t> ink;
  std::vector<std::uint64_t> paper;
};

PixelPlanes ClassifyPixels(const std::uint8_t* levels, std::size_t count);

// The number of pixels on which two images agree: ink on ink or paper on paper.
std::int64_t Agreement(const PixelPlanes& a, const PixelPlanes& b);

// The ten references scaled to one glyph size.
struct ScaledReferences {
  int width = 0;
  int height = 0;
  std::array<PixelPlanes, 10> planes;
};

// Scaled references by glyph size, kept for the length of one zone reading.
// Not shared between threads.
class MatchCache {
 public:
  const ScaledReferences& get(const ReferenceDigits& references, int width, int height);

 private:
  std::deque<ScaledReferences> entries_;  // stable addresses
};

// The reference of each digit scaled by nearest neighbour to width x height.
ScaledReferences ScaleReferences(const ReferenceDigits& references, int width, int height);

// Matches a glyph against the ten references. An empty glyph agrees with
// nothing and gives (10, 0.0).
GlyphMatch MatchGlyph(const GreyPlane& glyph, const ReferenceDigits& references, MatchCache& cache);
GlyphMatch MatchGlyph(const Bitmap& glyph, const ReferenceDigits& references);

// The score of every digit for a glyph (all 0 for an empty glyph).
std::array<double, 10> DigitScores(const GreyPlane& glyph, const ReferenceDigits& references, MatchCache& cache);

}  // namespace morvex
