// Cutting a tilted rectangle of the grey working image into an upright image,
// and the half turn of such an image.
#pragma once

#include "analysis/geometry.h"
#include "morvex/bitmap.h"

namespace morvex {

// Fills every pixel (x', y') of destination from the source point
// origin + (R(x' * C - y' * S), R(x' * S + y' * C)), C and S the cosine and
// sine of arctan(k): columns of destination run along the long edges, rows
// across them. Source points outside the image give black. source is the grey
// working image; destination keeps its size and format (8-bit grey or 24-bit).
void ExtractRegion(const Bitmap& source, Bitmap& destination, IntPoint origin, double k);

// Turns the first W - 1 columns and H - 1 rows by 180 degrees in place; the
// last column and the last row keep their pixels.
void TurnHalf(Bitmap& bitmap);

}  // namespace morvex
