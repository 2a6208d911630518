// The note's face drawn flat in its own frame, at a multiple of the scan
// resolution: an RGB texture of the upright note (texel columns along d, rows
// along e) and a coverage layer on which decoration is gathered before it is
// laid onto the paper.
#pragma once

#include <cstdint>
#include <vector>

#include "note_layout.h"

namespace morvex::notegen {

struct Rgbf {
  double r = 0, g = 0, b = 0;
};

// A point in millimetres of the upright note.
struct MmPoint {
  double d = 0, e = 0;
};

class NoteCanvas {
 public:
  // texelsPerMm texels per millimetre along both axes.
  explicit NoteCanvas(double texelsPerMm);

  double texelsPerMm() const { return ppm_; }
  int width() const { return width_; }
  int height() const { return height_; }
  const std::uint8_t* texel(int x, int y) const { return &rgb_[(static_cast<std::size_t>(y) * width_ + x) * 3]; }

  // Fills every texel with paper: base plus a slow variation that is the sum
  // of a function of d and one of e (each given per millimetre position).
  template <class AlongD, class AcrossE>
  void fillPaper(Rgbf base, AlongD alongD, AcrossE acrossE);

  // Blends colour into one texel with opacity a (0..1).
  void blend(int x, int y, Rgbf colour, double a);

  // Solid shapes in colour, anti-aliased by the texel's distance to the edge,
  // laid with the given opacity.
  void fillRoundedRect(const MmRect& r, double cornerMm, Rgbf colour, double opacity = 1);

  // The coverage layer, 0 to 255 per texel, and its drawing: a line of the
  // given width through the points, taking the larger coverage where strokes
  // cross, so joins and crossings do not darken.
  void strokeOnLayer(const std::vector<MmPoint>& points, double widthMm, bool closed = false);
  // Raises the layer's coverage at one texel to at least c (0..255).
  void coverLayer(int x, int y, std::uint8_t c);
  // Clears the layer inside r.
  void clearLayer(const MmRect& r);
  // Lays the layer onto the paper in colour with the given opacity and
  // empties it.
  void compositeLayer(Rgbf colour, double opacity);

  // Texel coordinates of a millimetre position (texel centres at +0.5).
  double tx(double d) const { return d * ppm_; }
  double ty(double e) const { return e * ppm_; }

 private:
  void strokeSegment(double x0, double y0, double x1, double y1, double halfWidth);

  double ppm_;
  int width_;
  int height_;
  std::vector<std::uint8_t> rgb_;
  std::vector<std::uint8_t> layer_;
};

template <class AlongD, class AcrossE>
void NoteCanvas::fillPaper(Rgbf base, AlongD alongD, AcrossE acrossE) {
  std::vector<double> col(static_cast<std::size_t>(width_)), row(static_cast<std::size_t>(height_));
  for (int x = 0; x < width_; ++x) col[static_cast<std::size_t>(x)] = alongD((x + 0.5) / ppm_);
  for (int y = 0; y < height_; ++y) row[static_cast<std::size_t>(y)] = acrossE((y + 0.5) / ppm_);
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* p = &rgb_[static_cast<std::size_t>(y) * width_ * 3];
    for (int x = 0; x < width_; ++x, p += 3) {
      const double v = col[static_cast<std::size_t>(x)] + row[static_cast<std::size_t>(y)];
      auto q = [v](double c) {
        const double t = c + v + 0.5;
        return static_cast<std::uint8_t>(t < 0 ? 0 : t > 255 ? 255 : t);
      };
      p[0] = q(base.r);
      p[1] = q(base.g);
      p[2] = q(base.b);
    }
  }
}

}  // namespace morvex::notegen
