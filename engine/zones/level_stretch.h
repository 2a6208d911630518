// The in-place grey-level stretch that normalises the contrast of a rectangle
// before anything in it is measured or matched.
#pragma once

#include <array>
#include <cstdint>

#include "morvex/bitmap.h"
#include "zones/grey_plane.h"

namespace morvex {

enum class StretchMode { Fixed, Adaptive };

// All four bounds inclusive.
struct LevelRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct StretchBounds {
  std::uint8_t low = 0;   // lo': levels at or below map to 0 (when below high)
  std::uint8_t high = 0;  // hi'
};

// The adjusted dark and bright levels for a histogram of `count` pixels whose
// darkest level is lo and brightest hi. Levels are 8-bit and wrap.
StretchBounds StretchLevelBounds(const std::array<std::uint32_t, 256>& histogram, std::int64_t count,
                                 std::uint8_t lo, std::uint8_t hi, StretchMode mode, int lowStep, int highStep);

// The output level of every input level for the given bounds.
std::array<std::uint8_t, 256> StretchTable(StretchBounds bounds);

// Stretches the rectangle in place. Points of the rectangle outside the image
// count as level 255 and are not written.
void StretchLevels(GreyPlane& image, StretchMode mode, LevelRect rect, int lowStep, int highStep);
void StretchLevels(Bitmap& image, StretchMode mode, LevelRect rect, int lowStep, int highStep);

}  // namespace morvex
