// Read access to the 8-bit grey working image for the engine's pixel loops.
//
// The working image holds grey levels as palette indices into the 256-level
// grey palette, so a byte is the pixel's brightness. A point outside the image
// reads 255, the brightness of the invalid colour, which makes every walk that
// leaves the image stop there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "morvex/bitmap.h"

namespace morvex {

// Brightness from which a pixel belongs to the note rather than the background.
inline constexpr int BrightThreshold = 70;

class GreyView {
 public:
  // grey must be Indexed8 with the grey palette; anything else is a logic error.
  explicit GreyView(const Bitmap& grey);

  int width() const { return width_; }
  int height() const { return height_; }

  int level(int x, int y) const {
    if (static_cast<unsigned>(x) >= static_cast<unsigned>(width_) ||
        static_cast<unsigned>(y) >= static_cast<unsigned>(height_))
      return 255;
    return pixels_[static_cast<std::ptrdiff_t>(y) * stride_ + x];
  }
  bool bright(int x, int y) const { return level(x, y) >= BrightThreshold; }

 private:
  const std::uint8_t* pixels_;
  std::ptrdiff_t stride_;
  int width_;
  int height_;
};

}  // namespace morvex
