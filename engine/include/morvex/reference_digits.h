// The reference digits: a 314 x 40 grey strip with the digits 0 to 9 of the
// serial-number typeface, each in a one-pixel cell frame, and the table of the
// ten source boxes the glyph matcher cuts from it.
//
// A ReferenceDigits value is immutable once loaded, so one value may be shared
// by any number of threads analysing notes at once.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "morvex/bitmap.h"

namespace morvex {

struct ReferenceBox {
  std::int32_t Left;
  std::int32_t Right;  // exclusive
};

// Row bounds common to all ten references; ReferenceBottom is exclusive.
inline constexpr std::int32_t ReferenceTop = 3;
inline constexpr std::int32_t ReferenceBottom = 37;

// Source column bounds of each digit, indexed by the digit value. Digit 1 stops
// at column 50 (its foot is cut off) and digit 4 leaves out column 150.
inline constexpr std::array<ReferenceBox, 10> ReferenceBoxes = {{
    {4, 25}, {35, 51}, {66, 87}, {99, 120}, {130, 150},
    {161, 182}, {195, 216}, {226, 247}, {257, 278}, {288, 309},
}};

// The reference image of one digit as the glyph matcher uses it: the digit's
// source box (Right - Left columns by 34 rows) scaled by nearest neighbour onto
// (Right - Left + 1) by 35 pixels, held as Brightness levels.
struct ReferenceImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> levels;
  const std::uint8_t* row(int y) const { return levels.data() + static_cast<std::ptrdiff_t>(y) * width; }
};

class ReferenceDigits {
 public:
  bool loaded() const { return !strip_.empty(); }
  // The Etalon strip; empty when not loaded.
  const Bitmap& strip() const { return strip_; }
  // The reference image of digit 0 to 9; empty when not loaded.
  const ReferenceImage& reference(int digit) const { return images_[static_cast<std::size_t>(digit)]; }

 private:
  friend ReferenceDigits LoadReferenceDigits();
  friend ReferenceDigits ReferenceDigitsFromStrip(Bitmap strip);
  friend void FreeReferenceDigits(ReferenceDigits&);
  Bitmap strip_;
  std::array<ReferenceImage, 10> images_;
};

// Builds the strip from the copy compiled into the engine; needs no file.
ReferenceDigits LoadReferenceDigits();
// Builds the references from a strip of the same layout (for tools and tests
// that draw their own strip).
ReferenceDigits ReferenceDigitsFromStrip(Bitmap strip);
// Releases the strip; does nothing when it was never loaded.
void FreeReferenceDigits(ReferenceDigits& digits);

}  // namespace morvex
