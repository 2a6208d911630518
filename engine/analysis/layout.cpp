#include "analysis/layout.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "analysis/region.h"
#include "morvex/arith.h"

namespace morvex {

namespace {

constexpr std::array<std::int32_t, 5> kFaceValues = {10, 50, 100, 500, 1000};

bool Valid(int code) { return code >= 1 && code <= 10; }

}  // namespace

PatchDecision DecidePatches(int code1, int code2) {
  PatchDecision decision;
  // A code out of the classifier's range is treated like no answer.
  if (!Valid(code1) && !Valid(code2)) return decision;
  decision.Recognised = true;
  if (!Valid(code1)) {
    code1 = code2;
    decision.Place = PatchPlace::Second;
  }
  decision.Denomination = kFaceValues[static_cast<std::size_t>((code1 - 1) / 2)];
  decision.UpsideDown = code1 % 2 == 0 || (Valid(code2) && code2 % 2 == 0);
  return decision;
}

PlacedRegion PlaceRegion(const NoteFrame& frame, const NoteScales& scales, const RegionPlace& place) {
  PlacedRegion region;
  region.Origin = NotePoint(frame, scales, place.D, place.E);
  region.Width = R32(static_cast<Real>(scales.PxPerMmX) * place.Along);
  region.Height = R32(static_cast<Real>(scales.PxPerMmY) * place.Across);
  return region;
}

std::array<IntPoint, 4> RegionOutline(const NoteFrame& frame, const NoteScales& scales, const RegionPlace& place) {
  const double right = static_cast<double>(static_cast<Real>(place.D) + place.Along);
  const double bottom = static_cast<double>(static_cast<Real>(place.E) + place.Across);
  return {NotePoint(frame, scales, place.D, place.E), NotePoint(frame, scales, right, place.E),
          NotePoint(frame, scales, right, bottom), NotePoint(frame, scales, place.D, bottom)};
}

Bitmap CutRegion(const Bitmap& grey, const NoteFrame& frame, const PlacedRegion& region) {
  // A frame gone wild (corners far outside the image) can ask for regions of
  // gigabytes; such an image cannot be made, which ends the analysis.
  if (static_cast<std::int64_t>(std::max(region.Width, 0)) * std::max(region.Height, 0) > MaxRegionPixels)
    throw std::length_error("Region of " + std::to_string(region.Width) + "x" + std::to_string(region.Height) +
                            " pixels is too large");
  Bitmap image(region.Width, region.Height, PixelFormat::Indexed8);
  ExtractRegion(grey, image, region.Origin, frame.k);
  return image;
}

double DigitPitch(const NoteScales& scales) { return static_cast<double>(2.712L * scales.PxPerMmX); }

double DigitWidth(const NoteScales& scales) { return static_cast<double>(R(2.373L * scales.PxPerMmX)); }

}  // namespace morvex
