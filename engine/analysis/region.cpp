#include "analysis/region.h"

#include <vector>

#include "analysis/grey_view.h"
#include "analysis/round_coord.h"

namespace morvex {

namespace {

// The extraction loop for one rounding rule: rows of the destination in turn,
// each pixel from its rotated source point.
template <std::int32_t (*Round)(Real)>
void ExtractRows(const GreyView& grey, Bitmap& destination, IntPoint origin, const Rotation& r) {
  const int w = destination.width(), h = destination.height();
  // The products along x' do not depend on y'; each is formed once.
  std::vector<Real> alongC(static_cast<std::size_t>(w)), alongS(static_cast<std::size_t>(w));
  for (int x = 0; x < w; ++x) {
    alongC[static_cast<std::size_t>(x)] = static_cast<Real>(x) * r.C;
    alongS[static_cast<std::size_t>(x)] = static_cast<Real>(x) * r.S;
  }
  const bool greyTarget = destination.format() == PixelFormat::Indexed8 && destination.hasGreyPalette();
  const bool rgbTarget = destination.format() == PixelFormat::Rgb24;
  for (int y = 0; y < h; ++y) {
    const Real acrossS = static_cast<Real>(y) * r.S;
    const Real acrossC = static_cast<Real>(y) * r.C;
    std::uint8_t* out = destination.row(y);
    for (int x = 0; x < w; ++x) {
      const std::int64_t sx = origin.x + static_cast<std::int64_t>(Round(alongC[static_cast<std::size_t>(x)] - acrossS));
      const std::int64_t sy = origin.y + static_cast<std::int64_t>(Round(alongS[static_cast<std::size_t>(x)] + acrossC));
      // Outside the image the read gives the invalid colour, which writes black.
      const bool inside = sx >= 0 && sy >= 0 && sx < grey.width() && sy < grey.height();
      const std::uint8_t level =
          inside ? static_cast<std::uint8_t>(grey.level(static_cast<int>(sx), static_cast<int>(sy))) : 0;
      if (greyTarget) {
        out[x] = level;
      } else if (rgbTarget) {
        out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = level;
      } else {
        destination.setPixel(x, y, MakeColour(level, level, level));
      }
    }
  }
}

}  // namespace

void ExtractRegion(const Bitmap& source, Bitmap& destination, IntPoint origin, double k) {
  const GreyView grey(source);
  const Rotation r = RotationOf(k);
  if (destination.empty()) return;
  if (WithinRoundBound(destination.width(), destination.height())) {
    ExtractRows<RoundBounded>(grey, destination, origin, r);
  } else {
    ExtractRows<RoundCoord>(grey, destination, origin, r);
  }
}

void TurnHalf(Bitmap& bitmap) {
  const int w = bitmap.width(), h = bitmap.height();
  StretchCopy(bitmap, {0, 0, w - 1, h - 1}, bitmap, {w - 1, h - 1, 0, 0});
}

}  // namespace morvex
