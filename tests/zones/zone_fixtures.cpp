#include "zone_fixtures.h"

#include <algorithm>
#include <cmath>

#include "morvex/arith.h"

namespace morvex::testing {

GreyPlane Plane(int width, int height, int level) {
  GreyPlane p(width, height);
  std::fill(p.levels.begin(), p.levels.end(), static_cast<std::uint8_t>(level));
  return p;
}

void Fill(GreyPlane& plane, int x0, int y0, int x1, int y1, int level) {
  for (int y = std::max(y0, 0); y <= std::min(y1, plane.height - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, plane.width - 1); ++x)
      plane.row(y)[x] = static_cast<std::uint8_t>(level);
}

Bitmap ToBitmap(const GreyPlane& plane) {
  Bitmap b(plane.width, plane.height, PixelFormat::Indexed8);
  for (int y = 0; y < plane.height; ++y) std::copy_n(plane.row(y), plane.width, b.row(y));
  return b;
}

const ReferenceDigits& References() {
  static const ReferenceDigits refs = LoadReferenceDigits();
  return refs;
}

void DrawDigit(GreyPlane& plane, const ReferenceDigits& refs, int digit, int x, int y, int width, int height) {
  // The cell interior: one column right of the left frame line, 21 columns.
  const int left = ReferenceBoxes[static_cast<std::size_t>(digit)].Left;
  Bitmap glyph(width, height, PixelFormat::Rgb24);
  StretchCopy(glyph, {0, 0, width, height}, refs.strip(), {left, ReferenceTop, left + 21, ReferenceBottom});
  const GreyPlane ink = BrightnessPlane(glyph);
  for (int gy = 0; gy < height; ++gy)
    for (int gx = 0; gx < width; ++gx) {
      if (!plane.contains(x + gx, y + gy)) continue;
      std::uint8_t& d = plane.row(y + gy)[x + gx];
      d = std::min(d, ink.row(gy)[gx]);
    }
}

GreyPlane DrawZone(const ZoneLayout& l, const std::string& digits, const ReferenceDigits& refs) {
  GreyPlane zone = Plane(l.width, l.height, l.paper);
  for (int i = 0; i < l.letters; ++i) {
    const double offset = l.letterGap + (l.letters - 1 - i) * l.letterPitch;
    const int x = l.firstDigitX - static_cast<int>(std::lround(offset));
    Fill(zone, x, l.top, x + l.glyphWidth - 1, l.top + l.glyphHeight - 1, 30);
  }
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const int x = l.firstDigitX + static_cast<int>(std::lround(static_cast<double>(i) * l.pitch));
    DrawDigit(zone, refs, digits[i] - '0', x, l.top, l.glyphWidth, l.glyphHeight);
  }
  return zone;
}

ZoneLayout NoteZone(int zone, double dpi, int letters) {
  const double px = dpi / 25.4;
  ZoneLayout l{};
  l.width = static_cast<int>(std::lround((zone == 1 ? 32 : 31) * px));
  l.height = static_cast<int>(std::lround((zone == 1 ? 8 : 9) * px));
  l.letters = letters;
  l.pitch = 2.712 * px;
  l.letterPitch = 2.9 * px;
  l.letterGap = 4.5 * px;
  l.glyphWidth = static_cast<int>(R(2.373 * px)) - 1;
  l.glyphHeight = static_cast<int>(std::lround(3.8 * px));
  l.firstDigitX = static_cast<int>(std::lround((zone == 1 ? 8.5 : 9.0) * px));
  l.top = (l.height - l.glyphHeight) / 2;
  return l;
}

}  // namespace morvex::testing
