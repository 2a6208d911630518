#include "scan.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "damage.h"
#include "random.h"

namespace morvex::notegen {

namespace {

// One colour plane per channel, row by row.
struct Planes {
  int width = 0, height = 0;
  std::vector<float> c[3];
  Planes(int w, int h) : width(w), height(h) {
    for (auto& p : c) p.assign(static_cast<std::size_t>(w) * h, 0.0f);
  }
};

// Each pixel is the mean of supersample x supersample point samples of the
// note's face (texels of supersample x the scan resolution) or of the
// background, which anti-aliases the note's edges as a scan does.
void SampleFace(const NoteCanvas& face, const NotePlan& plan, const ScanGeometry& g, Planes& out) {
  const int ss = plan.supersample;
  const double k = face.texelsPerMm() / g.pxPerMm;  // texels per pixel
  const double lengthTx = kNoteLength * face.texelsPerMm(), widthTx = kNoteWidth * face.texelsPerMm();
  const double bg = plan.backgroundLevel;
  const CornerShape corners = CornerShapeOf(plan.damage);
  const bool cut = corners.any();
  const LinearField rise = BackgroundRiseField(plan.damage, g.width, g.height);
  const double texelsPerMm = face.texelsPerMm();
  const double dtx = g.cosTurn * k, dty = -g.sinTurn * k;
  const float scale = 1.0f / static_cast<float>(ss * ss);
  std::vector<double> acc(static_cast<std::size_t>(g.width) * 3);
  for (int y = 0; y < g.height; ++y) {
    std::fill(acc.begin(), acc.end(), 0.0);
    for (int j = 0; j < ss; ++j) {
      const double dy = y + (j + 0.5) / ss - g.centreY;
      for (int i = 0; i < ss; ++i) {
        const double dx = (i + 0.5) / ss - g.centreX;
        // Note frame: u along the note, v across it, from the centre, in pixels.
        const double u = dx * g.cosTurn + dy * g.sinTurn, v = -dx * g.sinTurn + dy * g.cosTurn;
        double tx = u * k + lengthTx / 2, ty = v * k + widthTx / 2;
        for (int x = 0; x < g.width; ++x, tx += dtx, ty += dty) {
          double* a = &acc[static_cast<std::size_t>(x) * 3];
          if (tx >= 0 && ty >= 0 && tx < lengthTx && ty < widthTx &&
              !(cut && CornerCut(corners, tx / texelsPerMm, ty / texelsPerMm))) {
            const std::uint8_t* t = face.texel(static_cast<int>(tx), static_cast<int>(ty));
            a[0] += t[0];
            a[1] += t[1];
            a[2] += t[2];
          } else {
            const double level = bg + rise.at(x + (i + 0.5) / ss, dy + g.centreY);
            a[0] += level;
            a[1] += level;
            a[2] += level;
          }
        }
      }
    }
    for (int ch = 0; ch < 3; ++ch) {
      float* row = &out.c[ch][static_cast<std::size_t>(y) * g.width];
      for (int x = 0; x < g.width; ++x) row[x] = static_cast<float>(acc[static_cast<std::size_t>(x) * 3 + ch]) * scale;
    }
  }
}

// Separable Gaussian blur, edges extended.
void Blur(Planes& p, double sigma) {
  if (sigma < 0.05) return;
  const int r = static_cast<int>(std::ceil(3 * sigma));
  std::vector<float> kernel(static_cast<std::size_t>(2 * r + 1));
  double sum = 0;
  for (int i = -r; i <= r; ++i) sum += kernel[static_cast<std::size_t>(i + r)] = static_cast<float>(std::exp(-0.5 * i * i / (sigma * sigma)));
  for (float& v : kernel) v = static_cast<float>(v / sum);
  const int w = p.width, h = p.height;
  std::vector<float> line(static_cast<std::size_t>(std::max(w, h)));
  for (auto& plane : p.c) {
    for (int y = 0; y < h; ++y) {
      float* row = &plane[static_cast<std::size_t>(y) * w];
      std::copy(row, row + w, line.begin());
      for (int x = 0; x < w; ++x) {
        float s = 0;
        for (int i = -r; i <= r; ++i) s += kernel[static_cast<std::size_t>(i + r)] * line[static_cast<std::size_t>(std::clamp(x + i, 0, w - 1))];
        row[x] = s;
      }
    }
    for (int x = 0; x < w; ++x) {
      for (int y = 0; y < h; ++y) line[static_cast<std::size_t>(y)] = plane[static_cast<std::size_t>(y) * w + x];
      for (int y = 0; y < h; ++y) {
        float s = 0;
        for (int i = -r; i <= r; ++i) s += kernel[static_cast<std::size_t>(i + r)] * line[static_cast<std::size_t>(std::clamp(y + i, 0, h - 1))];
        plane[static_cast<std::size_t>(y) * w + x] = s;
      }
    }
  }
}

std::uint8_t Quantise(double v) {
  const double t = std::floor(v + 0.5);
  return static_cast<std::uint8_t>(t < 0 ? 0 : t > 255 ? 255 : t);
}

}  // namespace

ScanGeometry ComputeScanGeometry(const NotePlan& plan) {
  if (plan.dpi < 50 || plan.dpi > 1200) throw std::invalid_argument("resolution out of range: " + std::to_string(plan.dpi));
  if (!(std::abs(plan.tiltDegrees) <= 45)) throw std::invalid_argument("tilt beyond 45 degrees");
  if (plan.supersample < 1 || plan.supersample > 8) throw std::invalid_argument("supersampling must be 1 to 8");
  ScanGeometry g;
  g.pxPerMm = plan.dpi / 25.4;
  const double theta = plan.tiltDegrees * std::numbers::pi / 180;
  const double c = std::cos(theta), s = std::sin(theta);
  const double ac = std::abs(c), as = std::abs(s);
  const double fullX = kNoteLength * ac + kNoteWidth * as, fullY = kNoteLength * as + kNoteWidth * ac;
  const double crossing = kNoteLength * ac - kNoteWidth * as;  // columns meeting both long edges
  const double widthMm = std::min(fullX + 2 * plan.marginXMm, crossing / kMinFullColumnShare);
  const double heightMm = fullY + 2 * plan.marginYMm;
  g.width = static_cast<int>(std::lround(widthMm * g.pxPerMm));
  g.height = static_cast<int>(std::lround(heightMm * g.pxPerMm));
  g.centreX = g.width / 2.0 + plan.offsetXMm * g.pxPerMm;
  g.centreY = g.height / 2.0 + plan.offsetYMm * g.pxPerMm;
  // Turning by 180 degrees more negates both, exactly.
  g.cosTurn = plan.upsideDown ? -c : c;
  g.sinTurn = plan.upsideDown ? -s : s;
  return g;
}

ImagePoint NoteToImage(const ScanGeometry& g, double d, double e) {
  const double u = (d - kNoteLength / 2) * g.pxPerMm, v = (e - kNoteWidth / 2) * g.pxPerMm;
  return {g.centreX + u * g.cosTurn - v * g.sinTurn, g.centreY + u * g.sinTurn + v * g.cosTurn};
}

Bitmap ScanNote(const NoteCanvas& face, const NotePlan& plan) {
  const ScanGeometry g = ComputeScanGeometry(plan);
  Planes planes(g.width, g.height);
  SampleFace(face, plan, g, planes);
  Blur(planes, plan.blurSigma);
  if (plan.damage.streaks > 0) {
    std::vector<double> deltas(static_cast<std::size_t>(g.width));
    StreakColumns(plan.damage, g.width, deltas.data());
    for (auto& plane : planes.c)
      for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
          plane[static_cast<std::size_t>(y) * g.width + x] += static_cast<float>(deltas[static_cast<std::size_t>(x)]);
  }

  Random rng(Mix64(plan.detailSeed ^ 0x5CA11EDULL));
  const std::size_t n = static_cast<std::size_t>(g.width) * g.height;
  if (plan.noiseSigma > 0)
    for (auto& plane : planes.c)
      for (std::size_t i = 0; i < n; ++i) plane[i] += static_cast<float>(plan.noiseSigma * rng.normal());

  Bitmap out(g.width, g.height, plan.grey8 ? PixelFormat::Indexed8 : PixelFormat::Rgb24);
  for (int y = 0; y < g.height; ++y) {
    std::uint8_t* row = out.row(y);
    const std::size_t at = static_cast<std::size_t>(y) * g.width;
    for (int x = 0; x < g.width; ++x) {
      const std::uint8_t r = Quantise(planes.c[0][at + x]), gr = Quantise(planes.c[1][at + x]), b = Quantise(planes.c[2][at + x]);
      if (plan.grey8) {
        row[x] = static_cast<std::uint8_t>(BrightnessOf(r, gr, b));
      } else {
        row[3 * x] = b;
        row[3 * x + 1] = gr;
        row[3 * x + 2] = r;
      }
    }
  }
  CompressLikeJpeg(out, plan.damage.jpegQuality);
  return out;
}

}  // namespace morvex::notegen
