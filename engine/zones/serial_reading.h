// The pieces of the serial-number readers, for tests and benchmarks.
#pragma once

#include <string>

#include "morvex/reference_digits.h"
#include "zones/glyph_match.h"
#include "zones/grey_plane.h"
#include "zones/segmentation.h"

namespace morvex {

// The readers' contrast step: the zone's three vertical strips each stretched
// in Adaptive mode (10, 15).
void StretchStrips(GreyPlane& zone);

// The glyph image of a box widened by a variant: (Right - Left + 1) + dRight -
// dLeft by Bottom - Top + 1 pixels, filled by nearest neighbour from columns
// Left + dLeft to Right + dRight - 1 and rows Top to Bottom - 1 of the zone;
// points outside the zone read white.
GreyPlane CutGlyph(const GreyPlane& zone, GlyphBox box, TextBand band, int dLeft, int dRight);

// The best match over the first `variants` box variants; of equal scores the
// earlier variant stays.
GlyphMatch ReadBox(const GreyPlane& zone, GlyphBox box, TextBand band, int variants,
                   const ReferenceDigits& references, MatchCache& cache);

// Zone 2: keeps box StartBox and lays the six following boxes on the pitch.
void LayBoxesOnPitch(ZoneSegmentation& seg, double DigitPitch, double DigitWidth);

// One character per box from StartBox to N: the digit, or "*".
std::string ReadBoxes(const GreyPlane& zone, const ZoneSegmentation& seg, int variants,
                      const ReferenceDigits& references);

}  // namespace morvex
