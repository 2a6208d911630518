#include "zones/grey_plane.h"

#include <algorithm>

namespace morvex {

GreyPlane::GreyPlane(int w, int h)
    : width(std::max(w, 0)),
      height(std::max(h, 0)),
      levels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 255) {}

std::array<std::uint8_t, 256> PaletteBrightness(const Bitmap& image) {
  std::array<std::uint8_t, 256> table{};
  const auto palette = image.palette();
  for (std::size_t i = 0; i < palette.size() && i < table.size(); ++i)
    table[i] = static_cast<std::uint8_t>(BrightnessOf(palette[i].r, palette[i].g, palette[i].b));
  // Indices past the palette read as black in the bitmap layer.
  for (std::size_t i = palette.size(); i < table.size(); ++i) table[i] = 0;
  return table;
}

GreyPlane BrightnessPlane(const Bitmap& image) {
  GreyPlane plane(image.width(), image.height());
  if (plane.empty()) return plane;
  const int w = plane.width;
  if (image.format() == PixelFormat::Indexed8) {
    if (image.hasGreyPalette()) {
      for (int y = 0; y < plane.height; ++y) std::copy_n(image.row(y), w, plane.row(y));
    } else {
      const auto table = PaletteBrightness(image);
      for (int y = 0; y < plane.height; ++y) {
        const std::uint8_t* s = image.row(y);
        std::uint8_t* d = plane.row(y);
        for (int x = 0; x < w; ++x) d[x] = table[s[x]];
      }
    }
  } else {
    for (int y = 0; y < plane.height; ++y) {
      const std::uint8_t* s = image.row(y);
      std::uint8_t* d = plane.row(y);
      for (int x = 0; x < w; ++x, s += 3) d[x] = static_cast<std::uint8_t>(BrightnessOf(s[2], s[1], s[0]));
    }
  }
  return plane;
}

void WriteGreyLevels(const GreyPlane& plane, Bitmap& image) {
  const int w = std::min(plane.width, image.width());
  const int h = std::min(plane.height, image.height());
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* s = plane.row(y);
    std::uint8_t* d = image.row(y);
    if (image.format() == PixelFormat::Rgb24) {
      for (int x = 0; x < w; ++x, d += 3) d[0] = d[1] = d[2] = s[x];
    } else if (image.hasGreyPalette()) {
      std::copy_n(s, w, d);
    } else {
      for (int x = 0; x < w; ++x) d[x] = image.nearestIndex(MakeColour(s[x], s[x], s[x]));
    }
  }
}

}  // namespace morvex
