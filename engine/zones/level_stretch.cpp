#include "zones/level_stretch.h"

#include <algorithm>

#include "morvex/arith.h"

namespace morvex {

namespace {

std::uint8_t Wrap(int v) { return static_cast<std::uint8_t>(v & 0xFF); }

// num / den rounded to the nearest integer, ties to even, exactly. Equal to
// rounding the quotient computed in extended precision: a quotient of such
// small integers is either exactly a tie or far from one.
std::int64_t RoundedQuotient(std::int64_t num, std::int64_t den) {
  if (den < 0) {
    num = -num;
    den = -den;
  }
  std::int64_t q = num / den, r = num % den;
  if (r < 0) {
    --q;
    r += den;
  }
  if (2 * r > den || (2 * r == den && (q & 1) != 0)) ++q;
  return q;
}

std::int64_t Area(LevelRect r) {
  return static_cast<std::int64_t>(r.Right - r.Left + 1) * static_cast<std::int64_t>(r.Bottom - r.Top + 1);
}

// The part of the rectangle inside a width x height image, as half-open ranges.
struct Clip {
  int x0, x1, y0, y1;
  std::int64_t inside() const {
    return (x1 > x0 && y1 > y0) ? static_cast<std::int64_t>(x1 - x0) * (y1 - y0) : 0;
  }
};

Clip ClipRect(LevelRect r, int width, int height) {
  return {std::max(r.Left, 0), std::min(r.Right + 1, width), std::max(r.Top, 0), std::min(r.Bottom + 1, height)};
}

}  // namespace

StretchBounds StretchLevelBounds(const std::array<std::uint32_t, 256>& histogram, std::int64_t count,
                                 std::uint8_t lo, std::uint8_t hi, StretchMode mode, int lowStep, int highStep) {
  if (mode == StretchMode::Fixed) return {Wrap(lo + lowStep), Wrap(hi - highStep)};

  const Real share = 0.75L * static_cast<Real>(count);
  int i = 0;
  while (lo < hi && i < 10) {
    std::int64_t tail = 0;
    const int darkEnd = std::min(lo + i * lowStep, 255);
    for (int v = lo; v <= darkEnd; ++v) tail += histogram[static_cast<std::size_t>(v)];
    const int brightStart = Wrap(hi - i * highStep);
    for (int v = brightStart; v <= hi; ++v) tail += histogram[static_cast<std::size_t>(v)];
    if (share > static_cast<Real>(tail)) {
      ++i;
    } else {
      break;
    }
  }
  StretchBounds b{Wrap(lo + i * lowStep), Wrap(hi - i * highStep)};
  if (b.high < b.low) {
    b.low = Wrap(b.low - lowStep);
    b.high = Wrap(b.high + highStep);
  }
  return b;
}

std::array<std::uint8_t, 256> StretchTable(StretchBounds bounds) {
  std::array<std::uint8_t, 256> table{};
  const int lo = bounds.low, hi = bounds.high;
  for (int v = 0; v < 256; ++v) {
    std::int64_t t = hi;
    if (hi != lo) t = 255 - RoundedQuotient((hi - v) * 255, hi - lo);
    table[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(t, 0, 255));
  }
  return table;
}

void StretchLevels(GreyPlane& image, StretchMode mode, LevelRect rect, int lowStep, int highStep) {
  if (rect.Right < rect.Left || rect.Bottom < rect.Top) return;
  const Clip c = ClipRect(rect, image.width, image.height);
  // Four interleaved histograms, so that runs of one level do not wait on
  // each other's increments.
  std::array<std::array<std::uint32_t, 256>, 4> parts{};
  for (int y = c.y0; y < c.y1; ++y) {
    const std::uint8_t* p = image.row(y);
    int x = c.x0;
    for (; x + 4 <= c.x1; x += 4) {
      ++parts[0][p[x]];
      ++parts[1][p[x + 1]];
      ++parts[2][p[x + 2]];
      ++parts[3][p[x + 3]];
    }
    for (; x < c.x1; ++x) ++parts[0][p[x]];
  }
  std::array<std::uint32_t, 256> bins{};
  for (std::size_t v = 0; v < 256; ++v) bins[v] = parts[0][v] + parts[1][v] + parts[2][v] + parts[3][v];
  // Points outside the image read as white.
  bins[255] += static_cast<std::uint32_t>(Area(rect) - c.inside());
  int lo = 0, hi = 255;
  while (bins[static_cast<std::size_t>(lo)] == 0) ++lo;
  while (bins[static_cast<std::size_t>(hi)] == 0) --hi;
  const auto table = StretchTable(StretchLevelBounds(bins, Area(rect), static_cast<std::uint8_t>(lo),
                                                     static_cast<std::uint8_t>(hi), mode, lowStep, highStep));
  for (int y = c.y0; y < c.y1; ++y) {
    std::uint8_t* p = image.row(y);
    for (int x = c.x0; x < c.x1; ++x) p[x] = table[p[x]];
  }
}

void StretchLevels(Bitmap& image, StretchMode mode, LevelRect rect, int lowStep, int highStep) {
  GreyPlane plane = BrightnessPlane(image);
  StretchLevels(plane, mode, rect, lowStep, highStep);
  if (rect.Right < rect.Left || rect.Bottom < rect.Top) return;
  // Only the rectangle's pixels are rewritten; the rest keep their colours.
  const Clip c = ClipRect(rect, image.width(), image.height());
  for (int y = c.y0; y < c.y1; ++y) {
    const std::uint8_t* s = plane.row(y);
    std::uint8_t* d = image.row(y);
    for (int x = c.x0; x < c.x1; ++x) {
      const std::uint8_t t = s[x];
      if (image.format() == PixelFormat::Rgb24) {
        d[3 * x] = d[3 * x + 1] = d[3 * x + 2] = t;
      } else {
        d[x] = image.nearestIndex(MakeColour(t, t, t));
      }
    }
  }
}

}  // namespace morvex
