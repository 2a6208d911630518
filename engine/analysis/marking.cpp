#include "analysis/marking.h"

#include <stdexcept>
#include <vector>

#include "analysis/round_coord.h"

namespace morvex {

void TintRegion(Bitmap& image, int h, int w, double k, IntPoint origin, TintChannel channel) {
  if (image.format() != PixelFormat::Rgb24) throw std::logic_error("TintRegion needs a 24-bit image");
  if (w < 0 || h < 0) return;
  const Rotation r = RotationOf(k);
  // Byte of the channel in a blue, green, red pixel.
  const int byte = channel == TintChannel::Red ? 2 : channel == TintChannel::Green ? 1 : 0;
  std::vector<Real> acrossS(static_cast<std::size_t>(h) + 1), acrossC(static_cast<std::size_t>(h) + 1);
  for (int g = 0; g <= h; ++g) {
    acrossS[static_cast<std::size_t>(g)] = static_cast<Real>(g) * r.S;
    acrossC[static_cast<std::size_t>(g)] = static_cast<Real>(g) * r.C;
  }
  for (int f = 0; f <= w; ++f) {
    const Real alongC = static_cast<Real>(f) * r.C;
    const Real alongS = static_cast<Real>(f) * r.S;
    for (int g = 0; g <= h; ++g) {
      const std::int64_t x = origin.x + static_cast<std::int64_t>(RoundCoord(alongC - acrossS[static_cast<std::size_t>(g)]));
      const std::int64_t y = origin.y + static_cast<std::int64_t>(RoundCoord(alongS + acrossC[static_cast<std::size_t>(g)]));
      if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) continue;
      image.row(static_cast<int>(y))[3 * x + byte] = 255;
    }
  }
}

void DrawOutline(Bitmap& image, const std::array<IntPoint, 4>& corners, Colour colour) {
  Canvas canvas(image);
  canvas.setPen(OutlinePenWidth, colour);
  canvas.moveTo(corners[0].x, corners[0].y);
  for (int i = 1; i <= 4; ++i) canvas.lineTo(corners[i % 4].x, corners[i % 4].y);
}

}  // namespace morvex
