#include "morvex/grey_image.h"

#include <array>
#include <cstdint>

namespace morvex {

void MakeGreyImage(Bitmap& bitmap) {
  if (bitmap.format() == PixelFormat::Rgb24) {
    // The 8-bit reduction already installs the grey palette with each pixel at
    // its brightness.
    bitmap.setFormat(PixelFormat::Indexed8);
  } else {
    bitmap.replacePalette(GreyPalette());
  }
}

Bitmap MakeWorkingImage(const Bitmap& input) {
  const int w = input.width(), h = input.height();
  Bitmap grey(w, h, PixelFormat::Indexed8);
  if (input.format() == PixelFormat::Rgb24) {
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* s = input.row(y);
      std::uint8_t* d = grey.row(y);
      for (int x = 0; x < w; ++x, s += 3) d[x] = static_cast<std::uint8_t>(BrightnessOf(s[2], s[1], s[0]));
    }
  } else {
    // Each palette entry maps to the grey nearest to it, which is the grey of
    // its brightness; entries past the palette's end read as black.
    std::array<std::uint8_t, 256> level{};
    const auto palette = input.palette();
    for (std::size_t i = 0; i < palette.size(); ++i)
      level[i] = static_cast<std::uint8_t>(BrightnessOf(palette[i].r, palette[i].g, palette[i].b));
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* s = input.row(y);
      std::uint8_t* d = grey.row(y);
      for (int x = 0; x < w; ++x) d[x] = level[s[x]];
    }
  }
  return grey;
}

}  // namespace morvex
