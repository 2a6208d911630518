#include "morvex/reference_digits.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include "zones/etalon_strip.h"
#include "zones/grey_plane.h"

namespace morvex {

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The embedded strip is a plain bottom-up 24-bit file.
Bitmap DecodeStrip(std::span<const std::uint8_t> file) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') throw std::runtime_error("reference strip is damaged");
  const std::uint32_t offset = Le32(&file[10]);
  const int width = static_cast<int>(Le32(&file[18]));
  const int height = static_cast<int>(Le32(&file[22]));
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  if (width <= 0 || height <= 0 || offset + rowBytes * static_cast<std::size_t>(height) > file.size())
    throw std::runtime_error("reference strip is damaged");
  Bitmap strip(width, height, PixelFormat::Rgb24);
  for (int y = 0; y < height; ++y)
    std::memcpy(strip.row(height - 1 - y), &file[offset + rowBytes * static_cast<std::size_t>(y)],
                static_cast<std::size_t>(width) * 3);
  return strip;
}

// The digit's source box scaled by nearest neighbour onto one more column and
// one more row.
ReferenceImage BuildReference(const Bitmap& strip, int digit) {
  const ReferenceBox box = ReferenceBoxes[static_cast<std::size_t>(digit)];
  Bitmap image(box.Right - box.Left + 1, ReferenceBottom - ReferenceTop + 1, PixelFormat::Rgb24);
  StretchCopy(image, {0, 0, image.width(), image.height()}, strip, {box.Left, ReferenceTop, box.Right, ReferenceBottom});
  GreyPlane plane = BrightnessPlane(image);
  return {plane.width, plane.height, std::move(plane.levels)};
}

}  // namespace

ReferenceDigits ReferenceDigitsFromStrip(Bitmap strip) {
  ReferenceDigits digits;
  digits.strip_ = std::move(strip);
  for (int d = 0; d < 10; ++d) digits.images_[static_cast<std::size_t>(d)] = BuildReference(digits.strip_, d);
  return digits;
}

ReferenceDigits LoadReferenceDigits() { return ReferenceDigitsFromStrip(DecodeStrip(EtalonStripFile())); }

void FreeReferenceDigits(ReferenceDigits& digits) {
  digits.strip_ = Bitmap();
  digits.images_ = {};
}

}  // namespace morvex
