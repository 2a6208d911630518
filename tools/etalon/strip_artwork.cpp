#include "strip_artwork.h"

namespace etalon {

namespace {

void PutGrey(morvex::Bitmap& b, int x, int y, int level) {
  const auto v = static_cast<std::uint8_t>(level);
  b.setPixel(x, y, morvex::MakeColour(v, v, v));
}

// One grey frame line per cell of digits 0, 2 and 4 (the right line of 0 and
// 4, the top line of 2), the others black.
void DrawFrame(morvex::Bitmap& b, int digit) {
  const Cell c = kCells[static_cast<std::size_t>(digit)];
  const int top = digit == 2 ? 27 : 0;
  const int right = (digit == 0 || digit == 4) ? 49 : 0;
  for (int x = c.frameLeft; x <= c.frameRight; ++x) {
    PutGrey(b, x, kFrameTop, 0);
    PutGrey(b, x, kFrameBottom, 0);
  }
  for (int y = kFrameTop; y <= kFrameBottom; ++y) {
    PutGrey(b, c.frameLeft, y, 0);
    PutGrey(b, c.frameRight, y, 0);
  }
  if (top != 0)
    for (int x = c.frameLeft + 1; x < c.frameRight; ++x) PutGrey(b, x, kFrameTop, top);
  if (right != 0)
    for (int y = kFrameTop + 1; y < kFrameBottom; ++y) PutGrey(b, c.frameRight, y, right);
}

}  // namespace

morvex::Bitmap DrawStrip(const std::array<Coverage, 10>& digits) {
  morvex::Bitmap strip(kStripWidth, kStripHeight, morvex::PixelFormat::Rgb24);
  for (int d = 0; d < 10; ++d) {
    DrawFrame(strip, d);
    const Coverage& cover = digits[static_cast<std::size_t>(d)];
    const int left = kCells[static_cast<std::size_t>(d)].frameLeft + 1;
    for (int y = 0; y < kInteriorHeight; ++y)
      for (int x = 0; x < kInteriorWidth; ++x) {
        const int c = cover[static_cast<std::size_t>(y * kInteriorWidth + x)];
        // Coverage 255 is the ink level, 0 the paper; edges are grey between.
        const int level = 255 - (c * (255 - kInkLevel) + 127) / 255;
        PutGrey(strip, left + x, kFrameTop + 1 + y, level);
      }
  }
  return strip;
}

}  // namespace etalon
