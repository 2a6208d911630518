#include "damage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "note_layout.h"

namespace morvex::notegen {

namespace {

constexpr double kTau = 2 * std::numbers::pi;

// Each kind of damage, switched on in DrawDamage.
enum Kind { Underprint, FaintInk, Wear, Folds, Dust, Streaks, Corners, DogEars, Background, Jpeg, KindCount };

// The colours of the under-print: light enough to leave the dark print darker.
constexpr std::array<Rgbf, 5> kUnderprintColours = {{
    {214, 120, 52}, {84, 160, 96}, {120, 118, 206}, {222, 96, 140}, {60, 150, 170},
}};
constexpr Rgbf kPaperWorn{243, 238, 222};

// Where each corner lies: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
MmPoint Corner(int i) {
  return {(i == 1 || i == 2) ? kNoteLength : 0.0, (i >= 2) ? kNoteWidth : 0.0};
}

// The under-print's shapes: waves over a rectangle and a rosette.
void Waves(NoteCanvas& canvas, Random& rng, const MmRect& r, double spacing) {
  const double phase = rng.uniform(0, kTau), wave = rng.uniform(3, 9), amplitude = rng.uniform(0.3, 1.2);
  const double slope = rng.uniform(-0.3, 0.3);
  for (double e0 = r.e0; e0 <= r.e1; e0 += spacing) {
    std::vector<MmPoint> line;
    for (double d = r.d0; d <= r.d1; d += 0.2)
      line.push_back({d, e0 + slope * (d - r.d0) + amplitude * std::sin(kTau * d / wave + e0 + phase)});
    canvas.strokeOnLayer(line, rng.uniform(0.06, 0.14));
  }
}

void Rosette(NoteCanvas& canvas, Random& rng, MmPoint centre, double radius) {
  const int petals = 5 + rng.below(8), curves = 3 + rng.below(4);
  const double phase = rng.uniform(0, kTau);
  for (int k = 0; k < curves; ++k) {
    std::vector<MmPoint> line;
    const double turn = phase + k * kTau / (curves * petals);
    for (int i = 0; i <= 720; ++i) {
      const double t = kTau * i / 720;
      const double r = radius * (0.6 + 0.4 * std::cos(petals * (t + turn)));
      line.push_back({centre.d + r * std::cos(t), centre.e + r * std::sin(t)});
    }
    canvas.strokeOnLayer(line, 0.1);
  }
}

// Soft disc of opacity a at the centre, falling to 0 at the radius.
void SoftSpot(NoteCanvas& canvas, MmPoint c, double rd, double re, Rgbf colour, double a) {
  const int x0 = static_cast<int>(canvas.tx(c.d - rd)), x1 = static_cast<int>(canvas.tx(c.d + rd)) + 1;
  const int y0 = static_cast<int>(canvas.ty(c.e - re)), y1 = static_cast<int>(canvas.ty(c.e + re)) + 1;
  for (int y = std::max(y0, 0); y <= std::min(y1, canvas.height() - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, canvas.width() - 1); ++x) {
      const double dx = ((x + 0.5) / canvas.texelsPerMm() - c.d) / rd, dy = ((y + 0.5) / canvas.texelsPerMm() - c.e) / re;
      const double r2 = dx * dx + dy * dy;
      if (r2 < 1) canvas.blend(x, y, colour, a * (1 - r2) * (1 - r2));
    }
}

// A crease: a shadow on one side of the line, a light edge on the other.
void Crease(NoteCanvas& canvas, Random& rng) {
  const bool across = rng.chance(0.7);
  const double angle = (across ? kTau / 4 : 0) + rng.uniform(-0.25, 0.25);
  const MmPoint at{rng.uniform(15, kNoteLength - 15), rng.uniform(10, kNoteWidth - 10)};
  const double nx = -std::sin(angle), ny = std::cos(angle);  // the crease's normal
  const double shadow = rng.uniform(0.12, 0.3), light = rng.uniform(0.1, 0.25), width = rng.uniform(0.4, 1.5);
  const double ppm = canvas.texelsPerMm();
  for (int y = 0; y < canvas.height(); ++y) {
    const double e = (y + 0.5) / ppm - at.e;
    for (int x = 0; x < canvas.width(); ++x) {
      const double s = ((x + 0.5) / ppm - at.d) * nx + e * ny;
      if (std::abs(s) > 5 * width) continue;
      if (s >= 0) {
        canvas.blend(x, y, {0, 0, 0}, shadow * std::exp(-s / width));
      } else {
        canvas.blend(x, y, {255, 255, 255}, light * std::exp(s / (0.5 * width)));
      }
    }
  }
}

void Scratches(NoteCanvas& canvas, Random& rng) {
  for (int dark = 0; dark < 2; ++dark) {
    const int count = 2 + rng.below(5);
    for (int i = 0; i < count; ++i) {
      const MmPoint a{rng.uniform(0, kNoteLength), rng.uniform(0, kNoteWidth)};
      const double angle = rng.uniform(0, kTau), length = rng.uniform(5, 30);
      std::vector<MmPoint> line;
      for (int k = 0; k <= 20; ++k) {
        const double t = length * k / 20;
        line.push_back({a.d + t * std::cos(angle), a.e + t * std::sin(angle) + 0.3 * std::sin(t / 4)});
      }
      canvas.strokeOnLayer(line, rng.uniform(0.04, 0.1));
    }
    canvas.compositeLayer(dark ? Rgbf{70, 66, 60} : Rgbf{255, 255, 255}, rng.uniform(0.4, 0.8));
  }
}

// The standard JPEG quantisation tables (luminance, chrominance), row-major.
constexpr std::array<int, 64> kLumaTable = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,  14, 13, 16, 24, 40,  57,
    69, 56, 14, 17, 22,  29,  51,  87,  80, 62, 18, 22, 37,  56,  68,  109, 103, 77, 24, 35, 55, 64,
    81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<int, 64> kChromaTable = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// The tables scaled to a quality as the reference encoder does.
std::array<double, 64> ScaledTable(const std::array<int, 64>& base, int quality) {
  const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
  std::array<double, 64> t{};
  for (std::size_t i = 0; i < 64; ++i) t[i] = std::clamp((base[i] * scale + 50) / 100, 1, 255);
  return t;
}

// cos((2x + 1) u pi / 16) with the DCT's normalisation folded in.
std::array<double, 64> DctBasis() {
  std::array<double, 64> b{};
  for (int u = 0; u < 8; ++u)
    for (int x = 0; x < 8; ++x)
      b[static_cast<std::size_t>(u * 8 + x)] =
          (u == 0 ? std::sqrt(0.125) : 0.5) * std::cos((2 * x + 1) * u * std::numbers::pi / 16);
  return b;
}

// Quantises one 8x8 block of a plane in place: forward DCT, rounding to the
// table's steps, inverse DCT. Pixels past the plane repeat its edge.
void QuantiseBlock(std::vector<double>& plane, int width, int height, int bx, int by,
                   const std::array<double, 64>& table, const std::array<double, 64>& basis) {
  double block[64], tmp[64], coef[64];
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const int sx = std::min(bx + x, width - 1), sy = std::min(by + y, height - 1);
      block[y * 8 + x] = plane[static_cast<std::size_t>(sy) * width + sx] - 128;
    }
  for (int y = 0; y < 8; ++y)
    for (int u = 0; u < 8; ++u) {
      double s = 0;
      for (int x = 0; x < 8; ++x) s += basis[static_cast<std::size_t>(u * 8 + x)] * block[y * 8 + x];
      tmp[y * 8 + u] = s;
    }
  for (int v = 0; v < 8; ++v)
    for (int u = 0; u < 8; ++u) {
      double s = 0;
      for (int y = 0; y < 8; ++y) s += basis[static_cast<std::size_t>(v * 8 + y)] * tmp[y * 8 + u];
      const double q = table[static_cast<std::size_t>(v * 8 + u)];
      coef[v * 8 + u] = std::round(s / q) * q;
    }
  for (int v = 0; v < 8; ++v)
    for (int x = 0; x < 8; ++x) {
      double s = 0;
      for (int u = 0; u < 8; ++u) s += basis[static_cast<std::size_t>(u * 8 + x)] * coef[v * 8 + u];
      tmp[v * 8 + x] = s;
    }
  for (int y = 0; y < 8 && by + y < height; ++y)
    for (int x = 0; x < 8 && bx + x < width; ++x) {
      double s = 0;
      for (int v = 0; v < 8; ++v) s += basis[static_cast<std::size_t>(v * 8 + y)] * tmp[v * 8 + x];
      plane[static_cast<std::size_t>(by + y) * width + bx + x] = s + 128;
    }
}

std::uint8_t Byte(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

NoteDamage DrawDamage(Random& rng) {
  std::array<bool, KindCount> on{};
  int count = 0;
  for (bool& k : on) count += (k = rng.chance(0.45));
  // Several kinds on every note: at least three.
  while (count < 3) {
    bool& k = on[static_cast<std::size_t>(rng.below(KindCount))];
    if (!k) {
      k = true;
      ++count;
    }
  }
  NoteDamage d;
  d.underprint = on[Underprint];
  if (on[FaintInk]) {
    d.inkStrength = rng.uniform(0.45, 0.85);
    d.inkGrade = rng.uniform(0, 0.4);
  }
  d.wear = on[Wear];
  d.folds = on[Folds] ? 1 + rng.below(2) : 0;
  d.dust = on[Dust];
  d.streaks = on[Streaks] ? 1 + rng.below(4) : 0;
  d.cornerRadiusMm = on[Corners] ? rng.uniform(1.5, 5) : 0;
  if (on[DogEars]) d.dogEars = 1 << rng.below(4);
  d.backgroundRise = on[Background] ? rng.uniform(5, 12) : 0;
  d.jpegQuality = on[Jpeg] ? 15 + rng.below(31) : 0;
  d.seed = rng.next();
  return d;
}

void DrawUnderprint(NoteCanvas& canvas, const NoteDamage& damage) {
  if (!damage.underprint) return;
  Random rng(Mix64(damage.seed ^ 0x0DE12ULL));
  const Rgbf colour = kUnderprintColours[static_cast<std::size_t>(rng.below(static_cast<int>(kUnderprintColours.size())))];
  for (const MmRect& area : {kZone1, kZone2, kPatchFirst, kPatchSecond}) {
    Waves(canvas, rng, area.grown(3), rng.uniform(0.6, 1.4));
    if (rng.chance(0.6))
      Rosette(canvas, rng, {rng.uniform(area.d0, area.d1), rng.uniform(area.e0, area.e1)}, rng.uniform(3, 7));
  }
  canvas.compositeLayer(colour, rng.uniform(0.45, 0.75));
}

double InkOpacity(const NoteDamage& damage, double d, double zoneD0, double zoneD1) {
  const double t = zoneD1 > zoneD0 ? std::clamp((d - zoneD0) / (zoneD1 - zoneD0), 0.0, 1.0) : 0.0;
  return damage.inkStrength * (1 - damage.inkGrade * t);
}

void DrawFaceWear(NoteCanvas& canvas, const NoteDamage& damage) {
  Random rng(Mix64(damage.seed ^ 0x3EA2ULL));
  if (damage.wear) {
    const int spots = 2 + rng.below(4);
    for (int i = 0; i < spots; ++i)
      SoftSpot(canvas, {rng.uniform(0, kNoteLength), rng.uniform(0, kNoteWidth)}, rng.uniform(4, 14), rng.uniform(3, 10),
               kPaperWorn, rng.uniform(0.2, 0.45));
  }
  for (int i = 0; i < damage.folds; ++i) Crease(canvas, rng);
  if (damage.dust) {
    const int specks = 30 + rng.below(90);
    for (int i = 0; i < specks; ++i) {
      const double r = rng.uniform(0.04, 0.15), grey = rng.uniform(30, 100);
      SoftSpot(canvas, {rng.uniform(0, kNoteLength), rng.uniform(0, kNoteWidth)}, r, r, {grey, grey, grey},
               rng.uniform(0.6, 1.0));
    }
    Scratches(canvas, rng);
  }
}

CornerShape CornerShapeOf(const NoteDamage& damage) {
  CornerShape c;
  c.radius = damage.cornerRadiusMm;
  c.dogEars = damage.dogEars;
  if (c.dogEars != 0) {
    Random rng(Mix64(damage.seed ^ 0xD06EULL));
    c.leg = rng.uniform(4, 9);
  }
  return c;
}

bool CornerCut(const CornerShape& c, double d, double e) {
  const double r = c.radius;
  if (r > 0) {
    const double cd = d < r ? r : d > kNoteLength - r ? kNoteLength - r : d;
    const double ce = e < r ? r : e > kNoteWidth - r ? kNoteWidth - r : e;
    if (cd != d && ce != e && (d - cd) * (d - cd) + (e - ce) * (e - ce) > r * r) return true;
  }
  for (int i = 0; i < 4; ++i)
    if (c.dogEars & (1 << i)) {
      const MmPoint p = Corner(i);
      if (std::abs(d - p.d) + std::abs(e - p.e) < c.leg) return true;
    }
  return false;
}

LinearField BackgroundRiseField(const NoteDamage& damage, int width, int height) {
  if (damage.backgroundRise <= 0 || width <= 0 || height <= 0) return {};
  Random rng(Mix64(damage.seed ^ 0xB6ULL));
  const double angle = rng.uniform(0, kTau);
  const double c = std::cos(angle), s = std::sin(angle);
  const double span = std::abs(c) * width + std::abs(s) * height;
  const double lo = std::min(0.0, c * width) + std::min(0.0, s * height);
  const double k = damage.backgroundRise / span;
  return {k * c, k * s, -k * lo};
}

void StreakColumns(const NoteDamage& damage, int width, double* deltas) {
  std::fill(deltas, deltas + width, 0.0);
  Random rng(Mix64(damage.seed ^ 0x57EAULL));
  for (int i = 0; i < damage.streaks; ++i) {
    const int at = rng.below(std::max(width, 1)), w = 1 + rng.below(3);
    const double delta = rng.chance(0.7) ? -rng.uniform(10, 35) : rng.uniform(4, 12);
    for (int x = at; x < std::min(at + w, width); ++x) deltas[x] += delta;
  }
}

void CompressLikeJpeg(Bitmap& scan, int quality) {
  if (quality <= 0 || scan.empty()) return;
  quality = std::clamp(quality, 1, 100);
  const int w = scan.width(), h = scan.height();
  const bool grey = scan.format() == PixelFormat::Indexed8;
  const std::size_t n = static_cast<std::size_t>(w) * h;
  std::vector<double> planes[3];
  for (auto& p : planes) p.assign(n, 0);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* row = scan.row(y);
    for (int x = 0; x < w; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * w + x;
      if (grey) {
        planes[0][i] = row[x];
        planes[1][i] = planes[2][i] = 128;
      } else {
        const double b = row[3 * x], g = row[3 * x + 1], r = row[3 * x + 2];
        planes[0][i] = 0.299 * r + 0.587 * g + 0.114 * b;
        planes[1][i] = 128 - 0.168736 * r - 0.331264 * g + 0.5 * b;
        planes[2][i] = 128 + 0.5 * r - 0.418688 * g - 0.081312 * b;
      }
    }
  }
  const std::array<double, 64> basis = DctBasis();
  const std::array<double, 64> luma = ScaledTable(kLumaTable, quality), chroma = ScaledTable(kChromaTable, quality);
  for (int c = 0; c < (grey ? 1 : 3); ++c)
    for (int by = 0; by < h; by += 8)
      for (int bx = 0; bx < w; bx += 8) QuantiseBlock(planes[c], w, h, bx, by, c == 0 ? luma : chroma, basis);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = scan.row(y);
    for (int x = 0; x < w; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * w + x;
      const double Y = planes[0][i], cb = planes[1][i] - 128, cr = planes[2][i] - 128;
      if (grey) {
        row[x] = Byte(Y);
      } else {
        row[3 * x + 2] = Byte(Y + 1.402 * cr);
        row[3 * x + 1] = Byte(Y - 0.344136 * cb - 0.714136 * cr);
        row[3 * x] = Byte(Y + 1.772 * cb);
      }
    }
  }
}

}  // namespace morvex::notegen
