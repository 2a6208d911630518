// The reference digits: a 314 x 40 grey strip with the digits 0 to 9 of the
// serial-number typeface, each in a one-pixel cell frame, and the table of the
// ten source boxes the glyph matcher cuts from it.
//
// A ReferenceDigits value is immutable once loaded, so one value may be shared
// by any number of threads analysing notes at once.
#pragma once

#include <array>
#include <cstdint>

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

class ReferenceDigits {
 public:
  bool loaded() const { return !strip_.empty(); }
  // The Etalon strip; empty when not loaded.
  const Bitmap& strip() const { return strip_; }

 private:
  friend ReferenceDigits LoadReferenceDigits();
  friend void FreeReferenceDigits(ReferenceDigits&);
  Bitmap strip_;
};

// Builds the strip from the copy compiled into the engine; needs no file.
ReferenceDigits LoadReferenceDigits();
// Releases the strip; does nothing when it was never loaded.
void FreeReferenceDigits(ReferenceDigits& digits);

}  // namespace morvex
