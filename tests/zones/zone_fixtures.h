// Small images for the zone-recognition tests, built in code.
#pragma once

#include <string>
#include <vector>

#include "morvex/bitmap.h"
#include "morvex/reference_digits.h"
#include "zones/grey_plane.h"

namespace morvex::testing {

// A grey plane of one level.
GreyPlane Plane(int width, int height, int level);
// Fills columns x0..x1 and rows y0..y1 (inclusive) with a level.
void Fill(GreyPlane& plane, int x0, int y0, int x1, int y1, int level);
// An 8-bit grey bitmap with the plane's levels.
Bitmap ToBitmap(const GreyPlane& plane);

// The references loaded once for all tests.
const ReferenceDigits& References();

// Draws digit d of the strip (its whole cell interior, the digit's ink box)
// scaled onto columns x .. x + width - 1 and rows y .. y + height - 1,
// keeping the darker of the ink and what is already there.
void DrawDigit(GreyPlane& plane, const ReferenceDigits& refs, int digit, int x, int y, int width, int height);

// A number zone: `letters` solid series-letter blocks `letterPitch` apart, the
// last of them `letterGap` left of the first digit, then the digits of
// `digits` on the given pitch, all of the given glyph size, on paper of level
// `paper`. The left edge of the first digit's ink is at firstDigitX.
struct ZoneLayout {
  int width, height;
  int letters;
  double letterPitch;
  double letterGap;
  double pitch;
  int glyphWidth, glyphHeight;
  int firstDigitX;
  int top;
  int paper = 235;
};
GreyPlane DrawZone(const ZoneLayout& layout, const std::string& digits, const ReferenceDigits& refs);

// A zone as the note analysis cuts it at a resolution: zone 1 is 32 x 8 mm,
// zone 2 31 x 9 mm, digits 3.8 mm tall on the 2.712 mm pitch, their ink one
// pixel narrower than the 2.373 mm box, series letters before a wider gap.
ZoneLayout NoteZone(int zone, double dpi, int letters = 2);

}  // namespace morvex::testing
