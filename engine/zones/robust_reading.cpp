#include "zones/robust_reading.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "zones/level_stretch.h"
#include "zones/segmentation.h"
#include "zones/serial_reading.h"

namespace morvex {

namespace {

constexpr std::size_t kDigits = 7;
// A lead of this much share of agreeing pixels over the runner-up is a clear digit.
constexpr double kClearLead = 0.06;
// The most positions in which two readings of one number may differ.
constexpr int kMostSettled = 2;

struct BoxVariant {
  int dLeft, dRight;
};
constexpr std::array<BoxVariant, 5> kVariants = {{{0, 0}, {+1, 0}, {0, +1}, {-1, 0}, {0, -1}}};

// Reads one box at each shift from -reach to reach pixels, each with the five
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
  return DigitChoice::Of(best);
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

// Reads each box as laid; a box whose digit is not clear gets a second look
// at shifts up to `reach` pixels either way.
ZoneReading ReadBoxes(const GreyPlane& zone, const std::vector<GlyphBox>& boxes, TextBand band, int reach,
                      const ReferenceDigits& references, MatchCache& cache) {
  ZoneReading r;
  for (const GlyphBox& box : boxes) {
    DigitChoice c = ReadBoxShifted(zone, box, band, 0, references, cache);
    if (c.confidence() < 1) c = ReadBoxShifted(zone, box, band, reach, references, cache);
    r.Digits.push_back(c);
  }
  return r;
}

// The left edges of the first box at which the seven boxes on the pitch,
// each read once as laid, agree best with the references: the best places
// found sliding the comb over the zone in steps of a sixth of the pitch.
std::vector<int> CombPlaces(const GreyPlane& zone, TextBand band, double pitch, double width,
                            const ReferenceDigits& references, MatchCache& cache) {
  constexpr std::size_t kPlaces = 3;
  const int step = std::max(1, static_cast<int>(std::lround(pitch / 6)));
  const int last = zone.width - static_cast<int>(std::lround(6 * pitch + width));
  std::vector<std::pair<double, int>> scored;
  for (int left = 0; left <= last; left += step) {
    double sum = 0;
    for (const GlyphBox& box : BoxesOnPitch(left, pitch, width)) {
      GreyPlane glyph = CutGlyph(zone, box, band, 0, 0);
      StretchLevels(glyph, StretchMode::Fixed, {0, 0, glyph.width - 1, glyph.height - 1}, 30, 50);
      const std::array<double, 10> scores = DigitScores(glyph, references, cache);
      sum += *std::max_element(scores.begin(), scores.end());
    }
    scored.push_back({sum, left});
  }
  std::sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<int> places;
  for (const auto& [sum, left] : scored) {
    // Places a step or two apart read the same glyphs: one of them is enough.
    const bool near = std::any_of(places.begin(), places.end(), [&](int p) { return std::abs(p - left) < pitch / 2; });
    if (!near) places.push_back(left);
    if (places.size() == kPlaces) break;
  }
  return places;
}

}  // namespace

DigitChoice DigitChoice::Of(const std::array<double, 10>& scores) {
  DigitChoice c;
  c.Scores = scores;
  for (std::size_t d = 0; d < 10; ++d)
    if (scores[d] > c.Score) {
      c.Digit = static_cast<std::int32_t>(d);
      c.Score = scores[d];
    }
  for (std::size_t d = 0; d < 10; ++d)
    if (static_cast<std::int32_t>(d) != c.Digit) c.Runner = std::max(c.Runner, scores[d]);
  return c;
}

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

std::vector<ZoneReading> ReadZoneCandidates(const GreyPlane& zone, int zoneNumber, double DigitPitch,
                                            double DigitWidth, const ReferenceDigits& references,
                                            bool everyFirstDigit) {
  GreyPlane plane = zone;
  StretchStrips(plane);
  const ZoneSegmentation seg = SegmentZone(plane, zoneNumber);
  MatchCache cache;
  const int reach = std::max(1, static_cast<int>(std::lround(DigitPitch / 16)));

  // The first digit after the widest gap, on the pitch; in zone 1 also the
  // seventh box from the right on the pitch, and the seven rightmost boxes as
  // segmented when there are seven after the gap.
  const int first = seg.boxes[static_cast<std::size_t>(seg.StartBox)].Left;
  std::vector<std::vector<GlyphBox>> layouts = {BoxesOnPitch(first, DigitPitch, DigitWidth)};
  if (zoneNumber == 1 && seg.N >= static_cast<int>(kDigits)) {
    const int left = seg.boxes[static_cast<std::size_t>(seg.N) - (kDigits - 1)].Left;
    if (left != first) layouts.push_back(BoxesOnPitch(left, DigitPitch, DigitWidth));
  }
  if (zoneNumber == 1 && seg.N - seg.StartBox + 1 >= static_cast<int>(kDigits))
    layouts.emplace_back(seg.boxes.begin() + (seg.N - static_cast<int>(kDigits) + 1), seg.boxes.begin() + seg.N + 1);
  // A gap misjudged (dust between the letters, a letter or a digit split in
  // two, print under the gap) puts the first digit a place or two off.
  for (const int step : {-1, +1, -2, +2})
    layouts.push_back(BoxesOnPitch(first + static_cast<int>(std::lround(step * DigitPitch)), DigitPitch, DigitWidth));

  // The first layout alone when it reads clearly.
  std::vector<ZoneReading> readings;
  for (const std::vector<GlyphBox>& boxes : layouts) {
    readings.push_back(ReadBoxes(plane, boxes, seg.band, reach, references, cache));
    if (!everyFirstDigit && readings.front().confidence() >= SureZoneConfidence) break;
  }
  const auto sure = [](const ZoneReading& r) { return r.confidence() >= SureZoneConfidence; };
  if (everyFirstDigit && std::none_of(readings.begin(), readings.end(), sure)) {
    // A zone that disagrees with its twin and reads surely from no first
    // digit: the comb of seven boxes slid over the whole zone, each place
    // read once as laid; its best few places are read as well.
    for (int left : CombPlaces(plane, seg.band, DigitPitch, DigitWidth, references, cache))
      readings.push_back(ReadBoxes(plane, BoxesOnPitch(left, DigitPitch, DigitWidth), seg.band, reach, references, cache));
  }
  std::stable_sort(readings.begin(), readings.end(),
                   [](const ZoneReading& a, const ZoneReading& b) { return a.score() > b.score(); });
  return readings;
}

ZoneReading ReadZoneRobustly(const GreyPlane& zone, int zoneNumber, double DigitPitch, double DigitWidth,
                             const ReferenceDigits& references) {
  return ReadZoneCandidates(zone, zoneNumber, DigitPitch, DigitWidth, references).front();
}

int AgreeingDigits(const ZoneReading& a, const ZoneReading& b) {
  if (!a.read() || !b.read()) return 0;
  int same = 0;
  for (std::size_t i = 0; i < kDigits; ++i) same += a.Digits[i].Digit == b.Digits[i].Digit;
  return same;
}

bool ReadOneNumber(const ZoneReading& a, const ZoneReading& b) {
  return AgreeingDigits(a, b) >= static_cast<int>(kDigits) - kMostSettled;
}

std::pair<ZoneReading, ZoneReading> ChooseReadings(const std::vector<ZoneReading>& zone1,
                                                  const std::vector<ZoneReading>& zone2) {
  std::pair<std::size_t, std::size_t> best{0, 0};
  int bestSame = -1;
  double bestScore = 0;
  for (std::size_t i = 0; i < zone1.size(); ++i)
    for (std::size_t j = 0; j < zone2.size(); ++j) {
      const int same = AgreeingDigits(zone1[i], zone2[j]);
      const int counted = ReadOneNumber(zone1[i], zone2[j]) ? same : 0;
      const double score = zone1[i].score() + zone2[j].score();
      if (counted > bestSame || (counted == bestSame && score > bestScore)) {
        best = {i, j};
        bestSame = counted;
        bestScore = score;
      }
    }
  return {zone1[best.first], zone2[best.second]};
}

void SettleZones(ZoneReading& a, ZoneReading& b) {
  if (!a.read() || !b.read()) return;
  // Readings that differ in more places than a damaged print explains show
  // two different numbers; each stands as read.
  if (!ReadOneNumber(a, b)) return;
  for (std::size_t i = 0; i < kDigits; ++i) {
    std::array<double, 10> both{};
    for (std::size_t d = 0; d < 10; ++d) both[d] = (a.Digits[i].Scores[d] + b.Digits[i].Scores[d]) / 2;
    DigitChoice settled = DigitChoice::Of(both);
    // Two prints that agree are surer than either: their leads add up.
    if (a.Digits[i].Digit == b.Digits[i].Digit)
      settled.Runner = settled.Score - (a.Digits[i].Score - a.Digits[i].Runner) - (b.Digits[i].Score - b.Digits[i].Runner);
    a.Digits[i] = settled;
    b.Digits[i] = settled;
  }
}

}  // namespace morvex
