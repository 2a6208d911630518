#include <iterator>

#include "damage.h"
#include "note_layout.h"
#include "notegen.h"
#include "random.h"

namespace morvex::notegen {

namespace {

constexpr int kDenominations[] = {10, 50, 100, 500, 1000};

double Draw(Random& rng, Range r) { return r.hi > r.lo ? rng.uniform(r.lo, r.hi) : r.lo; }

}  // namespace

GenerationOptions PresetOptions(SampleSet set) {
  struct Preset {
    double tilt, offset;
    Range blur, noise, background;
  };
  // Clean: level, sharp, noiseless; typical: a hand-placed note on an office
  // scanner; hard: more of everything, the background still dark enough that
  // its noise never reaches the note's brightness; stress: stronger defocus
  // and noise, a darker base under an uneven background, and several kinds
  // of damage on every note.
  static constexpr Preset presets[] = {
      {0, 1, {0, 0}, {0, 0}, {14, 14}},
      {10, 2, {0.4, 0.9}, {2, 5}, {8, 30}},
      {30, 3, {0.8, 1.6}, {5, 10}, {15, 35}},
      {30, 3, {1.0, 1.9}, {6, 11}, {8, 18}},
  };
  const Preset& p = presets[static_cast<int>(set)];
  GenerationOptions o;
  o.maxTiltDegrees = p.tilt;
  o.maxOffsetMm = p.offset;
  o.blurSigma = p.blur;
  o.noiseSigma = p.noise;
  o.backgroundLevel = p.background;
  o.damaged = set == SampleSet::Stress;
  return o;
}

std::optional<SampleSet> ParseSampleSet(std::string_view name) {
  if (name == "clean") return SampleSet::Clean;
  if (name == "typical") return SampleSet::Typical;
  if (name == "hard") return SampleSet::Hard;
  if (name == "stress") return SampleSet::Stress;
  return std::nullopt;
}

NotePlan DrawNotePlan(const GenerationOptions& o, std::uint64_t seed, int index) {
  // Each note has a random stream of its own, so note i is the same whatever
  // the count, and its fields are drawn in a fixed order.
  Random rng(Mix64(seed) ^ Mix64(0xC0FFEE00ULL + static_cast<std::uint64_t>(index)));
  NotePlan s;
  const int steps = o.dpiMax >= o.dpiMin ? (o.dpiMax - o.dpiMin) / 10 + 1 : 1;
  s.dpi = o.dpiMin + 10 * rng.below(steps);
  s.numberSide = !rng.chance(o.backSideShare);
  s.upsideDown = rng.chance(o.upsideDownShare);
  s.denomination = kDenominations[rng.below(5)];
  constexpr int letters = static_cast<int>(std::size(kSeriesLetters)) - 1;
  for (int i = 0; i < 2; ++i) s.series += kSeriesLetters[rng.below(letters)];
  for (int i = 0; i < 7; ++i) s.number += static_cast<char>('0' + rng.below(10));
  s.tiltDegrees = o.maxTiltDegrees > 0 ? rng.uniform(-o.maxTiltDegrees, o.maxTiltDegrees) : 0;
  s.offsetXMm = o.maxOffsetMm > 0 ? rng.uniform(-o.maxOffsetMm, o.maxOffsetMm) : 0;
  s.offsetYMm = o.maxOffsetMm > 0 ? rng.uniform(-o.maxOffsetMm, o.maxOffsetMm) : 0;
  s.marginXMm = rng.uniform(2.5, 4.0);
  s.marginYMm = rng.uniform(5.0, 10.0);
  s.blurSigma = Draw(rng, o.blurSigma);
  s.noiseSigma = Draw(rng, o.noiseSigma);
  s.backgroundLevel = Draw(rng, o.backgroundLevel);
  s.grey8 = o.grey8;
  s.supersample = o.supersample;
  s.detailSeed = rng.next();
  // Drawn last, so that the sets without damage keep their plans.
  if (o.damaged) s.damage = DrawDamage(rng);
  return s;
}

}  // namespace morvex::notegen
