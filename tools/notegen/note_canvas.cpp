#include "note_canvas.h"

#include <algorithm>
#include <cmath>

namespace morvex::notegen {

namespace {

std::uint8_t Level(double v) {
  const double t = v + 0.5;
  return static_cast<std::uint8_t>(t < 0 ? 0 : t > 255 ? 255 : t);
}

}  // namespace

NoteCanvas::NoteCanvas(double texelsPerMm)
    : ppm_(texelsPerMm),
      width_(static_cast<int>(std::ceil(kNoteLength * texelsPerMm))),
      height_(static_cast<int>(std::ceil(kNoteWidth * texelsPerMm))),
      rgb_(static_cast<std::size_t>(width_) * height_ * 3, 255),
      layer_(static_cast<std::size_t>(width_) * height_, 0) {}

void NoteCanvas::blend(int x, int y, Rgbf c, double a) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || a <= 0) return;
  if (a > 1) a = 1;
  std::uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * width_ + x) * 3];
  p[0] = Level(p[0] + (c.r - p[0]) * a);
  p[1] = Level(p[1] + (c.g - p[1]) * a);
  p[2] = Level(p[2] + (c.b - p[2]) * a);
}

void NoteCanvas::fillRoundedRect(const MmRect& r, double cornerMm, Rgbf colour, double opacity) {
  const double x0 = tx(r.d0), y0 = ty(r.e0), x1 = tx(r.d1), y1 = ty(r.e1);
  const double rad = std::min(cornerMm * ppm_, std::min(x1 - x0, y1 - y0) / 2);
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const double hx = (x1 - x0) / 2 - rad, hy = (y1 - y0) / 2 - rad;
  const int xa = std::max(0, static_cast<int>(std::floor(x0)) - 1);
  const int xb = std::min(width_ - 1, static_cast<int>(std::ceil(x1)) + 1);
  const int ya = std::max(0, static_cast<int>(std::floor(y0)) - 1);
  const int yb = std::min(height_ - 1, static_cast<int>(std::ceil(y1)) + 1);
  for (int y = ya; y <= yb; ++y)
    for (int x = xa; x <= xb; ++x) {
      // Signed distance from the texel centre to the rounded rectangle.
      const double qx = std::abs(x + 0.5 - cx) - hx, qy = std::abs(y + 0.5 - cy) - hy;
      const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
      const double dist = outside + std::min(std::max(qx, qy), 0.0) - rad;
      blend(x, y, colour, std::clamp(0.5 - dist, 0.0, 1.0) * opacity);
    }
}

void NoteCanvas::coverLayer(int x, int y, std::uint8_t c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  std::uint8_t& v = layer_[static_cast<std::size_t>(y) * width_ + x];
  if (c > v) v = c;
}

void NoteCanvas::strokeSegment(double x0, double y0, double x1, double y1, double hw) {
  const int xa = std::max(0, static_cast<int>(std::floor(std::min(x0, x1) - hw)) - 1);
  const int xb = std::min(width_ - 1, static_cast<int>(std::ceil(std::max(x0, x1) + hw)) + 1);
  const int ya = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) - hw)) - 1);
  const int yb = std::min(height_ - 1, static_cast<int>(std::ceil(std::max(y0, y1) + hw)) + 1);
  const double dx = x1 - x0, dy = y1 - y0;
  const double len2 = dx * dx + dy * dy;
  for (int y = ya; y <= yb; ++y)
    for (int x = xa; x <= xb; ++x) {
      const double px = x + 0.5 - x0, py = y + 0.5 - y0;
      const double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
      const double ex = px - t * dx, ey = py - t * dy;
      const double cover = std::clamp(hw + 0.5 - std::sqrt(ex * ex + ey * ey), 0.0, 1.0);
      if (cover > 0) coverLayer(x, y, static_cast<std::uint8_t>(cover * 255 + 0.5));
    }
}

void NoteCanvas::strokeOnLayer(const std::vector<MmPoint>& points, double widthMm, bool closed) {
  if (points.empty()) return;
  // Thin lines keep at least one texel of width so they stay visible.
  const double hw = std::max(widthMm * ppm_, 1.0) / 2;
  for (std::size_t i = 1; i < points.size(); ++i)
    strokeSegment(tx(points[i - 1].d), ty(points[i - 1].e), tx(points[i].d), ty(points[i].e), hw);
  if (closed && points.size() > 2)
    strokeSegment(tx(points.back().d), ty(points.back().e), tx(points.front().d), ty(points.front().e), hw);
}

void NoteCanvas::clearLayer(const MmRect& r) {
  const int xa = std::max(0, static_cast<int>(std::floor(tx(r.d0))));
  const int xb = std::min(width_ - 1, static_cast<int>(std::ceil(tx(r.d1))));
  const int ya = std::max(0, static_cast<int>(std::floor(ty(r.e0))));
  const int yb = std::min(height_ - 1, static_cast<int>(std::ceil(ty(r.e1))));
  for (int y = ya; y <= yb; ++y)
    std::fill_n(layer_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + xa, xb - xa + 1, std::uint8_t{0});
}

void NoteCanvas::compositeLayer(Rgbf colour, double opacity) {
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* cov = &layer_[static_cast<std::size_t>(y) * width_];
    for (int x = 0; x < width_; ++x)
      if (cov[x] != 0) {
        blend(x, y, colour, opacity * cov[x] / 255.0);
        cov[x] = 0;
      }
  }
}

}  // namespace morvex::notegen
