#include "analysis/marking.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "analysis/round_coord.h"

namespace morvex {

namespace {

template <std::int32_t (*Round)(Real)>
void TintPoints(Bitmap& image, int h, int w, const Rotation& r, IntPoint origin, int byte) {
  std::vector<Real> acrossS(static_cast<std::size_t>(h) + 1), acrossC(static_cast<std::size_t>(h) + 1);
  for (int g = 0; g <= h; ++g) {
    acrossS[static_cast<std::size_t>(g)] = static_cast<Real>(g) * r.S;
    acrossC[static_cast<std::size_t>(g)] = static_cast<Real>(g) * r.C;
  }
  for (int f = 0; f <= w; ++f) {
    const Real alongC = static_cast<Real>(f) * r.C;
    const Real alongS = static_cast<Real>(f) * r.S;
    for (int g = 0; g <= h; ++g) {
      const std::int64_t x = origin.x + static_cast<std::int64_t>(Round(alongC - acrossS[static_cast<std::size_t>(g)]));
      const std::int64_t y = origin.y + static_cast<std::int64_t>(Round(alongS + acrossC[static_cast<std::size_t>(g)]));
      if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) continue;
      image.row(static_cast<int>(y))[3 * x + byte] = 255;
    }
  }
}

}  // namespace

void TintRegion(Bitmap& image, int h, int w, double k, IntPoint origin, TintChannel channel) {
  if (image.format() != PixelFormat::Rgb24) throw std::logic_error("TintRegion needs a 24-bit image");
  if (w < 0 || h < 0) return;
  const Rotation r = RotationOf(k);
  // Byte of the channel in a blue, green, red pixel.
  const int byte = channel == TintChannel::Red ? 2 : channel == TintChannel::Green ? 1 : 0;
  if (WithinRoundBound(w, h)) {
    TintPoints<RoundBounded>(image, h, w, r, origin, byte);
  } else {
    TintPoints<RoundCoord>(image, h, w, r, origin, byte);
  }
}

namespace {

// Clips the segment a-b to the image widened by the pen's reach (Liang-Barsky)
// so that a side whose corners lie far outside is not walked pixel by pixel; a
// segment inside that area is left exactly as it is. False when nothing of it
// is left.
bool ClipToSight(const Bitmap& image, IntPoint& a, IntPoint& b) {
  const double reach = OutlinePenWidth;
  const double x0 = -reach, y0 = -reach, x1 = image.width() - 1 + reach, y1 = image.height() - 1 + reach;
  const auto inside = [&](IntPoint p) { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; };
  if (inside(a) && inside(b)) return true;
  const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
  double t0 = 0, t1 = 1;
  const auto edge = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  if (!edge(-dx, a.x - x0) || !edge(dx, x1 - a.x) || !edge(-dy, a.y - y0) || !edge(dy, y1 - a.y)) return false;
  const IntPoint from = a;
  const auto at = [&](double t) {
    return IntPoint{static_cast<std::int32_t>(std::lround(from.x + t * dx)),
                    static_cast<std::int32_t>(std::lround(from.y + t * dy))};
  };
  if (!inside(a)) a = at(t0);
  if (!inside(b)) b = at(t1);
  return true;
}

}  // namespace

void DrawOutline(Bitmap& image, const std::array<IntPoint, 4>& corners, Colour colour) {
  Canvas canvas(image);
  canvas.setPen(OutlinePenWidth, colour);
  for (int i = 0; i < 4; ++i) {
    IntPoint a = corners[static_cast<std::size_t>(i)], b = corners[static_cast<std::size_t>((i + 1) % 4)];
    if (!ClipToSight(image, a, b)) continue;
    canvas.moveTo(a.x, a.y);
    canvas.lineTo(b.x, b.y);
  }
}

}  // namespace morvex
