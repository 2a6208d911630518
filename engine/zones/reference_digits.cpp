#include "morvex/reference_digits.h"

#include <utility>

#include "morvex/bmp.h"
#include "zones/etalon_strip.h"
#include "zones/grey_plane.h"

namespace morvex {

namespace {

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

ReferenceDigits LoadReferenceDigits() {
  Bitmap strip;
  DecodeBmp(EtalonStripFile(), strip);
  return ReferenceDigitsFromStrip(std::move(strip));
}

void FreeReferenceDigits(ReferenceDigits& digits) {
  digits.strip_ = Bitmap();
  digits.images_ = {};
}

}  // namespace morvex
