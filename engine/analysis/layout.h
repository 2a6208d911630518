// Where the engine looks on the note, and what the two patch codes mean.
#pragma once

#include <array>
#include <cstdint>

#include "analysis/frame.h"
#include "morvex/bitmap.h"

namespace morvex {

// A rectangle of the note model: size Along x Across mm, top-left corner at
// (D, E) mm.
struct RegionPlace {
  double Along = 0.0;
  double Across = 0.0;
  double D = 0.0;
  double E = 0.0;
};

inline constexpr RegionPlace PatchFirstPlace{7.5, 15, 21.5, 49};
inline constexpr RegionPlace PatchSecondPlace{7.5, 15, 122, 2};
inline constexpr RegionPlace Zone1Upright{32, 8, 115, 8.5};
inline constexpr RegionPlace Zone2Upright{31, 9, 4, 28};
inline constexpr RegionPlace Zone1UpsideDown{32, 8, 3, 48.5};
inline constexpr RegionPlace Zone2UpsideDown{31, 9, 115, 28};

enum class PatchPlace : std::uint8_t { First, Second };

// Face value and orientation from the codes of the patches at the first and
// second places.
struct PatchDecision {
  bool Recognised = false;             // some code was in 1..10
  std::int32_t Denomination = -1;
  bool UpsideDown = false;
  PatchPlace Place = PatchPlace::First;  // the patch whose code gave the face value
};
PatchDecision DecidePatches(int code1, int code2);

// A region placed on a note image: its origin and its bitmap size in pixels.
struct PlacedRegion {
  IntPoint Origin;
  std::int32_t Width = 0;   // R(PxPerMmX * Along)
  std::int32_t Height = 0;  // R(PxPerMmY * Across)
};
PlacedRegion PlaceRegion(const NoteFrame& frame, const NoteScales& scales, const RegionPlace& place);

// The region's corners from millimetres: top-left, top-right, bottom-right,
// bottom-left.
std::array<IntPoint, 4> RegionOutline(const NoteFrame& frame, const NoteScales& scales, const RegionPlace& place);

// The largest region image that is made: far above any zone of a real scan
// (378 x 94 pixels at 300 dpi).
inline constexpr std::int64_t MaxRegionPixels = std::int64_t{1} << 26;

// Cuts the placed region out of the grey working image into a new grey bitmap;
// a region above MaxRegionPixels raises std::length_error.
Bitmap CutRegion(const Bitmap& grey, const NoteFrame& frame, const PlacedRegion& region);

// Zone-2 digit geometry: the pitch is passed unrounded so that the boxes laid
// at that pitch do not drift; the width is a whole number of pixels.
double DigitPitch(const NoteScales& scales);
double DigitWidth(const NoteScales& scales);

}  // namespace morvex
