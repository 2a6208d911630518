#include "zones/robust_reading.h"

#include <algorithm>
#include <cmath>

#include "zones/level_stretch.h"
#include "zones/segmentation.h"
#include "zones/serial_reading.h"

namespace morvex {

namespace {

constexpr std::size_t kDigits = 7;
// A lead of this much share of agreeing pixels over the runner-up is a clear digit.
constexpr double kClearLead = 0.06;

struct BoxVariant {
  int dLeft, dRight;
};
constexpr std::array<BoxVariant, 5> kVariants = {{{0, 0}, {+1, 0}, {0, +1}, {-1, 0}, {0, -1}}};

// Reads one box at shifts up to `reach` pixels either way, each with the five
// widths; every digit keeps its best score over all of them.
DigitChoice ReadBoxShifted(const GreyPlane& zone, GlyphBox box, TextBand band, int reach,
                           const ReferenceDigits& references, MatchCache& cache) {
  std::array<double, 10> best{};
  for (int shift = -reach; shift <= reach; ++shift)
    for (const BoxVariant& v : kVariants) {
      GreyPlane glyph = CutGlyph(zone, {box.Left + shift, box.Right + shift}, band, v.dLeft, v.dRight);
      StretchLevels(glyph, StretchMode::Fixed, {0, 0, glyph.width - 1, glyph.height - 1}, 30, 50);
      const std::array<double, 10> scores = DigitScores(glyph, references, cache);
      for (std::size_t d = 0; d < 10; ++d) best[d] = std::max(best[d], scores[d]);
    }
  DigitChoice c;
  for (std::size_t d = 0; d < 10; ++d)
    if (best[d] > c.Score) {
      c.Digit = static_cast<std::int32_t>(d);
      c.Score = best[d];
    }
  for (std::size_t d = 0; d < 10; ++d)
    if (static_cast<std::int32_t>(d) != c.Digit) c.Runner = std::max(c.Runner, best[d]);
  return c;
}

// Seven boxes on the pitch from a first box's left edge.
std::vector<GlyphBox> BoxesOnPitch(int left, double pitch, double width) {
  std::vector<GlyphBox> boxes;
  const int w = static_cast<int>(std::lround(width));
  for (std::size_t k = 0; k < kDigits; ++k) {
    const int l = left + static_cast<int>(std::lround(static_cast<double>(k) * pitch));
    boxes.push_back({l, l + w});
  }
  return boxes;
}

ZoneReading ReadBoxes(const GreyPlane& zone, const std::vector<GlyphBox>& boxes, TextBand band, int reach,
                      const ReferenceDigits& references, MatchCache& cache) {
  ZoneReading r;
  for (const GlyphBox& box : boxes) r.Digits.push_back(ReadBoxShifted(zone, box, band, reach, references, cache));
  return r;
}

}  // namespace

double DigitChoice::confidence() const {
  if (Digit > 9) return 0;
  return std::clamp((Score - Runner) / kClearLead, 0.0, 1.0);
}

std::string ZoneReading::text() const {
  if (!read()) return "#######";
  std::string s;
  for (const DigitChoice& c : Digits) s += c.Digit <= 9 ? static_cast<char>('0' + c.Digit) : '*';
  return s;
}

double ZoneReading::confidence() const {
  if (!read()) return 0;
  double least = 1;
  for (const DigitChoice& c : Digits) least = std::min(least, c.confidence());
  return least;
}

double ZoneReading::score() const {
  double sum = 0;
  for (const DigitChoice& c : Digits) sum += c.Score;
  return sum;
}

ZoneReading ReadZoneRobustly(const GreyPlane& zone, int zoneNumber, double DigitPitch, double DigitWidth,
                             const ReferenceDigits& references) {
  GreyPlane plane = zone;
  StretchStrips(plane);
  const ZoneSegmentation seg = SegmentZone(plane, zoneNumber);
  MatchCache cache;
  const int reach = std::max(1, static_cast<int>(std::lround(DigitPitch / 16)));

  // Anchors of the first digit: the box after the widest gap and, in zone 1,
  // the seventh box from the right.
  std::vector<int> anchors = {seg.boxes[static_cast<std::size_t>(seg.StartBox)].Left};
  if (zoneNumber == 1 && seg.N >= static_cast<int>(kDigits)) {
    const int left = seg.boxes[static_cast<std::size_t>(seg.N) - (kDigits - 1)].Left;
    if (left != anchors.front()) anchors.push_back(left);
  }
  std::vector<std::vector<GlyphBox>> layouts;
  for (int left : anchors) layouts.push_back(BoxesOnPitch(left, DigitPitch, DigitWidth));
  // Zone 1 also as segmented, when segmentation found seven digits.
  if (zoneNumber == 1 && seg.N - seg.StartBox + 1 >= static_cast<int>(kDigits))
    layouts.emplace_back(seg.boxes.begin() + (seg.N - static_cast<int>(kDigits) + 1), seg.boxes.begin() + seg.N + 1);
  ZoneReading best;
  for (const std::vector<GlyphBox>& boxes : layouts) {
    ZoneReading r = ReadBoxes(plane, boxes, seg.band, reach, references, cache);
    if (!best.read() || r.score() > best.score()) best = std::move(r);
  }
  return best;
}

void SettleZones(ZoneReading& a, ZoneReading& b) {
  if (!a.read() || !b.read()) return;
  for (std::size_t i = 0; i < kDigits; ++i) {
    DigitChoice& x = a.Digits[i];
    DigitChoice& y = b.Digits[i];
    if (x.Digit == y.Digit) {
      // Two independent prints of one digit: the doubts multiply.
      const double sure = 1 - (1 - x.confidence()) * (1 - y.confidence());
      const double lead = sure * kClearLead;
      x.Runner = std::min(x.Runner, x.Score - lead);
      y.Runner = std::min(y.Runner, y.Score - lead);
      continue;
    }
    const double leadX = x.Score - x.Runner, leadY = y.Score - y.Runner;
    const DigitChoice& winner = leadX >= leadY ? x : y;
    // The settled digit is as sure as its lead over the losing print's lead.
    DigitChoice settled = winner;
    settled.Runner = settled.Score - std::fabs(leadX - leadY);
    x = settled;
    y = settled;
  }
}

}  // namespace morvex
