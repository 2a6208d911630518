// Cutting a number zone into glyphs: the band of rows that holds the print,
// the column ranges of the separate glyphs in it, and the first glyph to read
// as a digit (the one after the widest gap when that gap stands out).
#pragma once

#include <cstdint>
#include <vector>

#include "zones/grey_plane.h"

namespace morvex {

// Rows of the print, both inclusive; Bottom may be one row past the image.
struct TextBand {
  std::int32_t Top = 0;
  std::int32_t Bottom = 0;
};

// Columns of one glyph, both inclusive.
struct GlyphBox {
  std::int32_t Left = 0;
  std::int32_t Right = 0;
};

// The result of one segmentation. boxes[0] is unused so that box k is
// boxes[k]; boxes 1 to N are the glyphs found from the left, and box N + 1
// holds the last rejected candidate (zero bounds when there was none).
struct ZoneSegmentation {
  TextBand band;
  std::vector<GlyphBox> boxes;
  std::int32_t N = 0;
  std::int32_t StartBox = 1;

  // Box k, growing the table when k lies past its end.
  GlyphBox& box(int k);
};

// zoneNumber 1 or 2 selects the zone's settings. The zone is only read.
ZoneSegmentation SegmentZone(const GreyPlane& zone, int zoneNumber);

// The first box to read given the boxes' left edges (boxes 1 to N).
std::int32_t FirstDigitBox(const ZoneSegmentation& segmentation);

}  // namespace morvex
