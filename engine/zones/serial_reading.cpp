// The two serial-number readers: stretch the zone strip by strip, segment it,
// cut, stretch and match one glyph per box and write one character per box.
#include <array>
#include <string>
#include <utility>

#include "morvex/arith.h"
#include "zones/glyph_match.h"
#include "zones/level_stretch.h"
#include "zones/nearest_map.h"
#include "zones/segmentation.h"
#include "zones/serial_reading.h"
#include "zones/zones.h"

namespace morvex {

namespace {

constexpr const char* kUnreadable = "#######";
constexpr std::size_t kDigits = 7;

struct BoxVariant {
  int dLeft, dRight;
};
// Zone 1 tries the first variant only, zone 2 all five in this order.
constexpr std::array<BoxVariant, 5> kBoxVariants = {{{0, 0}, {+1, 0}, {0, +1}, {-1, 0}, {0, -1}}};

std::string Finish(const std::string& text) {
  if (text.size() < kDigits) return kUnreadable;
  return text.substr(text.size() - kDigits);
}

}  // namespace

void StretchStrips(GreyPlane& zone) {
  const int w = zone.width, h = zone.height;
  for (int i = 1; i <= 3; ++i) {
    const int left = static_cast<int>(R(static_cast<Real>(w * (i - 1)) / 3));
    const int right = static_cast<int>(R(static_cast<Real>(w * i) / 3)) - 1;
    StretchLevels(zone, StretchMode::Adaptive, {left, 0, right, h - 1}, 10, 15);
  }
}

GreyPlane CutGlyph(const GreyPlane& zone, GlyphBox box, TextBand band, int dLeft, int dRight) {
  GreyPlane glyph((box.Right - box.Left + 1) + dRight - dLeft, band.Bottom - band.Top + 1);
  const int fromX = box.Left + dLeft, toX = box.Right + dRight;
  const int fromY = band.Top, toY = band.Bottom;
  if (glyph.empty() || fromX == toX || fromY == toY) return glyph;
  const std::vector<int> columns = NearestMap(glyph.width, fromX, toX);
  for (int y = 0; y < glyph.height; ++y) {
    const int sy = NearestSource(y, glyph.height, fromY, toY);
    std::uint8_t* d = glyph.row(y);
    if (sy < 0 || sy >= zone.height) continue;  // stays white
    const std::uint8_t* s = zone.row(sy);
    for (int x = 0; x < glyph.width; ++x) {
      const int sx = columns[static_cast<std::size_t>(x)];
      d[x] = (sx >= 0 && sx < zone.width) ? s[sx] : 255;
    }
  }
  return glyph;
}

GlyphMatch ReadBox(const GreyPlane& zone, GlyphBox box, TextBand band, int variants,
                   const ReferenceDigits& references, MatchCache& cache) {
  GlyphMatch best{-1, -1.0};
  for (int v = 0; v < variants; ++v) {
    const BoxVariant& variant = kBoxVariants[static_cast<std::size_t>(v)];
    GreyPlane glyph = CutGlyph(zone, box, band, variant.dLeft, variant.dRight);
    StretchLevels(glyph, StretchMode::Fixed, {0, 0, glyph.width - 1, glyph.height - 1}, 30, 50);
    const GlyphMatch match = MatchGlyph(glyph, references, cache);
    if (match.Score > best.Score) best = match;
  }
  return best;
}

void LayBoxesOnPitch(ZoneSegmentation& seg, double DigitPitch, double DigitWidth) {
  const int start = seg.StartBox;
  const GlyphBox first = seg.box(start);
  const std::int32_t width = R32(DigitWidth);
  for (int k = start + 1; k <= start + 6; ++k) {
    const std::int32_t left = first.Left + R32(static_cast<Real>(k - start) * DigitPitch);
    seg.box(k) = {left, left + width};
  }
  seg.N = start + 6;
}

std::string ReadBoxes(const GreyPlane& zone, const ZoneSegmentation& seg, int variants,
                      const ReferenceDigits& references) {
  MatchCache cache;
  std::string text;
  for (int k = seg.StartBox; k <= seg.N; ++k) {
    const GlyphMatch best = ReadBox(zone, seg.boxes[static_cast<std::size_t>(k)], seg.band, variants, references, cache);
    text += (best.Digit >= 0 && best.Digit <= 9) ? static_cast<char>('0' + best.Digit) : '*';
  }
  return text;
}

std::string ReadZone1Number(Bitmap& zone, const ReferenceDigits& references) {
  GreyPlane plane = BrightnessPlane(zone);
  StretchStrips(plane);
  WriteGreyLevels(plane, zone);
  const ZoneSegmentation seg = SegmentZone(plane, 1);
  return Finish(ReadBoxes(plane, seg, 1, references));
}

std::string ReadZone2Number(Bitmap& zone, double DigitPitch, double DigitWidth, const ReferenceDigits& references) {
  GreyPlane plane = BrightnessPlane(zone);
  StretchStrips(plane);
  WriteGreyLevels(plane, zone);
  ZoneSegmentation seg = SegmentZone(plane, 2);
  LayBoxesOnPitch(seg, DigitPitch, DigitWidth);
  return Finish(ReadBoxes(plane, seg, static_cast<int>(kBoxVariants.size()), references));
}

}  // namespace morvex
