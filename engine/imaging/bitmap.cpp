#include "morvex/bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace morvex {

namespace {

std::array<Rgb, 256> MakeGreyPalette() {
  std::array<Rgb, 256> p{};
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    p[static_cast<std::size_t>(i)] = {v, v, v};
  }
  return p;
}

int Distance2(const Rgb& a, Colour c) {
  const int dr = a.r - RedOf(c), dg = a.g - GreenOf(c), db = a.b - BlueOf(c);
  return dr * dr + dg * dg + db * db;
}

Colour ToColour(const Rgb& p) { return MakeColour(p.r, p.g, p.b); }

}  // namespace

const std::array<Rgb, 256>& GreyPalette() {
  static const std::array<Rgb, 256> palette = MakeGreyPalette();
  return palette;
}

Bitmap::Bitmap(int width, int height, PixelFormat format) { reset(width, height, format); }

int Bitmap::sourceBitDepth() const {
  if (sourceBitDepth_ != 0) return sourceBitDepth_;
  return format_ == PixelFormat::Rgb24 ? 24 : 8;
}

void Bitmap::reset(int width, int height, PixelFormat format) {
  resize(width, height, format);
  const std::size_t bytes = pixels_.size();
  if (bytes == 0) return;
  if (format_ == PixelFormat::Rgb24) {
    std::memset(pixels_.data(), 0xFF, bytes);
  } else {
    std::memset(pixels_.data(), nearestIndex(MakeColour(255, 255, 255)), bytes);
  }
}

void Bitmap::resetForOverwrite(int width, int height, PixelFormat format) { resize(width, height, format); }

void Bitmap::resize(int width, int height, PixelFormat format) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  sourceBitDepth_ = 0;
  if (format != format_ || (format == PixelFormat::Indexed8 && paletteSize_ == 0)) {
    format_ = format;
    if (format_ == PixelFormat::Indexed8) {
      palette_ = GreyPalette();
      paletteSize_ = 256;
    } else {
      paletteSize_ = 0;
    }
    updateGreyFlag();
  }
  pixels_.resize(static_cast<std::size_t>(stride()) * static_cast<std::size_t>(height_));
}

void Bitmap::setSize(int width, int height) {
  Bitmap old = *this;
  reset(width, height, format_);
  Draw(*this, 0, 0, old);
  sourceBitDepth_ = old.sourceBitDepth_;  // the same picture, only resized
}

void Bitmap::setFormat(PixelFormat format) {
  if (format == format_) return;
  const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  if (format == PixelFormat::Rgb24) {
    std::vector<std::uint8_t> out(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
      const Rgb& p = palette_[pixels_[i]];
      out[3 * i] = p.b;
      out[3 * i + 1] = p.g;
      out[3 * i + 2] = p.r;
    }
    pixels_.swap(out);
    paletteSize_ = 0;
  } else {
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t* p = &pixels_[3 * i];
      pixels_[i] = static_cast<std::uint8_t>(BrightnessOf(p[2], p[1], p[0]));
    }
    pixels_.resize(count);
    palette_ = GreyPalette();
    paletteSize_ = 256;
  }
  format_ = format;
  updateGreyFlag();
}

void Bitmap::setPaletteEntries(std::span<const Rgb> entries) {
  paletteSize_ = std::min<std::size_t>(entries.size(), 256);
  std::copy_n(entries.begin(), paletteSize_, palette_.begin());
  std::fill(palette_.begin() + static_cast<std::ptrdiff_t>(paletteSize_), palette_.end(), Rgb{});
  updateGreyFlag();
}

void Bitmap::replacePalette(std::span<const Rgb> entries) {
  if (entries.empty()) return;
  Bitmap target;
  target.format_ = PixelFormat::Indexed8;
  target.setPaletteEntries(entries);
  if (format_ == PixelFormat::Indexed8) {
    // Map each old palette entry once, then translate the indices.
    std::array<std::uint8_t, 256> map{};
    for (std::size_t i = 0; i < 256; ++i) map[i] = target.nearestIndex(ToColour(palette_[i]));
    for (auto& v : pixels_) v = map[v];
  } else {
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t* p = &pixels_[3 * i];
      pixels_[i] = target.nearestIndex(MakeColour(p[2], p[1], p[0]));
    }
    pixels_.resize(count);
    format_ = PixelFormat::Indexed8;
  }
  palette_ = target.palette_;
  paletteSize_ = target.paletteSize_;
  updateGreyFlag();
}

void Bitmap::updateGreyFlag() {
  greyPalette_ = format_ == PixelFormat::Indexed8 && paletteSize_ == 256 &&
                 std::equal(palette_.begin(), palette_.end(), GreyPalette().begin());
}

std::uint8_t Bitmap::nearestIndex(Colour c) const {
  if (greyPalette_ && RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) return RedOf(c);
  // The nearest grey to any colour is the grey of its Brightness.
  if (greyPalette_) return static_cast<std::uint8_t>(Brightness(c));
  std::size_t best = 0;
  int bestDistance = 1 << 30;
  for (std::size_t i = 0; i < std::max<std::size_t>(paletteSize_, 1); ++i) {
    const int d = Distance2(palette_[i], c);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return static_cast<std::uint8_t>(best);
}

Colour Bitmap::pixel(int x, int y) const {
  if (!contains(x, y)) return kInvalidColour;
  const std::uint8_t* p = row(y);
  if (format_ == PixelFormat::Indexed8) return ToColour(palette_[p[x]]);
  p += 3 * x;
  return MakeColour(p[2], p[1], p[0]);
}

void Bitmap::setPixel(int x, int y, Colour c) {
  if (!contains(x, y)) return;
  if (c == kInvalidColour) c = MakeColour(0, 0, 0);
  std::uint8_t* p = row(y);
  if (format_ == PixelFormat::Indexed8) {
    p[x] = nearestIndex(c);
    return;
  }
  p += 3 * x;
  p[0] = BlueOf(c);
  p[1] = GreenOf(c);
  p[2] = RedOf(c);
}

namespace {

// Source coordinate for destination step i of n over the source span [from, to).
int SourceCoordinate(int i, int n, int from, int to) {
  const long long span = static_cast<long long>(to) - from;
  const long long num = (2LL * i + 1) * span;
  const long long den = 2LL * n;
  long long q = num / den;
  if ((num % den != 0) && ((num < 0) != (den < 0))) --q;  // floor division
  return static_cast<int>(from + q);
}

}  // namespace

void StretchCopy(Bitmap& dst, Rect d, const Bitmap& srcIn, Rect s) {
  const int dw = d.right - d.left, dh = d.bottom - d.top;
  if (dw <= 0 || dh <= 0 || s.right == s.left || s.bottom == s.top) return;
  Bitmap snapshot;
  const Bitmap* src = &srcIn;
  if (src == &dst) {
    snapshot = srcIn;
    src = &snapshot;
  }
  // Column map of the destination span that lies inside dst.
  const int x0 = std::max(d.left, 0), x1 = std::min(d.right, dst.width());
  const int y0 = std::max(d.top, 0), y1 = std::min(d.bottom, dst.height());
  if (x0 >= x1 || y0 >= y1) return;
  std::vector<int> columns(static_cast<std::size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x) columns[static_cast<std::size_t>(x - x0)] = SourceCoordinate(x - d.left, dw, s.left, s.right);

  const bool sameFormat = src->format() == dst.format();
  const bool sameIndices = sameFormat && dst.format() == PixelFormat::Indexed8 &&
                           std::equal(src->palette().begin(), src->palette().end(), dst.palette().begin(),
                                      dst.palette().end());
  const bool bytesCopy = (sameFormat && dst.format() == PixelFormat::Rgb24) || sameIndices;
  const int bpp = dst.bytesPerPixel();
  for (int y = y0; y < y1; ++y) {
    const int sy = SourceCoordinate(y - d.top, dh, s.top, s.bottom);
    const bool rowInside = sy >= 0 && sy < src->height();
    if (bytesCopy && rowInside) {
      const std::uint8_t* sp = src->row(sy);
      std::uint8_t* dp = dst.row(y);
      for (int x = x0; x < x1; ++x) {
        const int sx = columns[static_cast<std::size_t>(x - x0)];
        if (sx >= 0 && sx < src->width()) {
          std::memcpy(dp + x * bpp, sp + sx * bpp, static_cast<std::size_t>(bpp));
        } else {
          dst.setPixel(x, y, kInvalidColour);
        }
      }
    } else {
      for (int x = x0; x < x1; ++x) dst.setPixel(x, y, src->pixel(columns[static_cast<std::size_t>(x - x0)], sy));
    }
  }
}

void Draw(Bitmap& dst, int x, int y, const Bitmap& src) {
  StretchCopy(dst, {x, y, x + src.width(), y + src.height()}, src, {0, 0, src.width(), src.height()});
}

void Canvas::dab(int x, int y) {
  const int lo = -(penWidth_ / 2);
  for (int dy = lo; dy < lo + penWidth_; ++dy)
    for (int dx = lo; dx < lo + penWidth_; ++dx) target_.setPixel(x + dx, y + dy, penColour_);
}

void Canvas::lineTo(int x, int y) {
  // Bresenham over the whole line, both ends included.
  int cx = x_, cy = y_;
  const int dx = std::abs(x - cx), sx = cx < x ? 1 : -1;
  const int dy = -std::abs(y - cy), sy = cy < y ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    dab(cx, cy);
    if (cx == x && cy == y) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      cx += sx;
    }
    if (e2 <= dx) {
      err += dx;
      cy += sy;
    }
  }
  x_ = x;
  y_ = y;
}

}  // namespace morvex
