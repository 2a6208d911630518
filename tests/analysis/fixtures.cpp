#include "fixtures.h"

#include <cmath>

namespace morvex::test {

Bitmap Filled(int width, int height, std::uint8_t level) {
  Bitmap b(width, height, PixelFormat::Rgb24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < 3 * width; ++x) b.row(y)[x] = level;
  return b;
}

Bitmap FilledGrey(int width, int height, std::uint8_t level) {
  Bitmap b(width, height, PixelFormat::Indexed8);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.row(y)[x] = level;
  return b;
}

Bitmap Render(const NoteScene& s) {
  Bitmap b = Filled(s.width, s.height, s.background);
  const double a = s.degrees * M_PI / 180;
  const double c = std::cos(a), sn = std::sin(a);
  const double cx = s.width / 2.0, cy = s.height / 2.0;
  const double px = s.pxPerMm();
  for (int y = 0; y < s.height; ++y) {
    std::uint8_t* row = b.row(y);
    for (int x = 0; x < s.width; ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      // Millimetres along and across the note from its top-left corner.
      double d = (dx * c + dy * sn) / px + 75;
      double e = (-dx * sn + dy * c) / px + 32.5;
      if (d < 0 || d >= 150 || e < 0 || e >= 65) continue;
      if (s.upsideDown) {
        d = 150 - d;
        e = 65 - e;
      }
      int level = s.ink ? s.ink(d, e) : -1;
      if (level < 0) level = s.paper;
      row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = static_cast<std::uint8_t>(level);
    }
  }
  return b;
}

}  // namespace morvex::test
