// Marking what the analysis found on the working image: zone tints and
// outlines.
#pragma once

#include <array>
#include <cstdint>

#include "analysis/geometry.h"
#include "morvex/bitmap.h"

namespace morvex {

enum class TintChannel : int { Red = 1, Green = 2, Blue = 3 };

// Raises one colour channel to 255 at the (w + 1) x (h + 1) points
// origin + (R(f * C - g * S), R(f * S + g * C)), f = 0..w, g = 0..h, C and S of
// arctan(k). Points outside the image are skipped. image must be 24 bits.
void TintRegion(Bitmap& image, int h, int w, double k, IntPoint origin, TintChannel channel);

// Draws the closed outline corners[0] .. corners[3] and back with a width-4 pen.
void DrawOutline(Bitmap& image, const std::array<IntPoint, 4>& corners, Colour colour);

inline constexpr int OutlinePenWidth = 4;
inline constexpr Colour NoteOutlineColour = MakeColour(255, 255, 0);
inline constexpr Colour Zone1OutlineColour = MakeColour(255, 0, 0);
inline constexpr Colour Zone2OutlineColour = MakeColour(0, 0, 255);
inline constexpr Colour PatchOutlineColour = MakeColour(0, 255, 0);

}  // namespace morvex
