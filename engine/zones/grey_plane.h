// A plain plane of grey levels: the Brightness of every pixel of an image, one
// byte each, rows top-down and tightly packed. The zone recognition works on
// these planes so that its loops read raw rows instead of converting colours
// pixel by pixel.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "morvex/bitmap.h"

namespace morvex {

struct GreyPlane {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> levels;

  GreyPlane() = default;
  // A white plane.
  GreyPlane(int w, int h);

  bool empty() const { return width <= 0 || height <= 0; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  std::uint8_t* row(int y) { return levels.data() + static_cast<std::ptrdiff_t>(y) * width; }
  const std::uint8_t* row(int y) const { return levels.data() + static_cast<std::ptrdiff_t>(y) * width; }
  // The level at (x, y); a point outside reads as 255, like the invalid colour.
  int level(int x, int y) const { return contains(x, y) ? row(y)[x] : 255; }
};

// The Brightness of every pixel of an image.
GreyPlane BrightnessPlane(const Bitmap& image);

// Writes the plane's levels back into the image as greys (t, t, t). The sizes
// must agree.
void WriteGreyLevels(const GreyPlane& plane, Bitmap& image);

// Brightness of each palette entry of an Indexed8 image (all 255 past the palette).
std::array<std::uint8_t, 256> PaletteBrightness(const Bitmap& image);

}  // namespace morvex
