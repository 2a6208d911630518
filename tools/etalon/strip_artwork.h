// The layout of the reference digit strip and the drawing of its cells.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "morvex/bitmap.h"

namespace etalon {

inline constexpr int kStripWidth = 314;
inline constexpr int kStripHeight = 40;
inline constexpr int kFrameTop = 2;
inline constexpr int kFrameBottom = 37;
inline constexpr int kInteriorWidth = 21;
inline constexpr int kInteriorHeight = kFrameBottom - kFrameTop - 1;  // rows 3 to 36

struct Cell {
  int frameLeft;
  int frameRight;
};
inline constexpr std::array<Cell, 10> kCells = {{
    {3, 25}, {34, 56}, {65, 87}, {98, 120}, {129, 151},
    {160, 182}, {194, 216}, {225, 247}, {256, 278}, {287, 309},
}};

// Ink coverage of one digit over the cell interior, 0 (paper) to 255 (ink),
// kInteriorWidth x kInteriorHeight values, rows from the top.
using Coverage = std::vector<std::uint8_t>;

// The level of the darkest stroke pixels.
inline constexpr int kInkLevel = 20;

// Draws the white strip with its ten frames and the digits' coverage.
morvex::Bitmap DrawStrip(const std::array<Coverage, 10>& digits);

}  // namespace etalon
