#include "note_face.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "damage.h"
#include "decoration.h"
#include "note_ink.h"
#include "random.h"

namespace morvex::notegen {

void DrawNoteFace(NoteCanvas& canvas, const Typeface& face, const NotePlan& plan) {
  Random rng(plan.detailSeed);
  constexpr double tau = 2 * std::numbers::pi;
  // Cream paper, a little different from note to note, with a slow unevenness.
  const double warm = rng.uniform(-3, 3);
  const Rgbf paper{239 + warm, 232 + warm * 0.5, 211 - warm};
  const double p1 = rng.uniform(0, tau), p2 = rng.uniform(0, tau), p3 = rng.uniform(0, tau);
  canvas.fillPaper(
      paper, [=](double d) { return 2.0 * std::sin(tau * d / 97 + p1) + 1.0 * std::sin(tau * d / 31 + p2); },
      [=](double e) { return 1.5 * std::sin(tau * e / 53 + p3); });

  const std::uint64_t art = rng.next();
  if (!plan.numberSide) {
    DrawBackDecoration(canvas, face, plan.denomination, art);
    DrawFaceWear(canvas, plan.damage);
    return;
  }
  DrawFrontDecoration(canvas, face, plan.denomination, art);
  DrawUnderprint(canvas, plan.damage);
  const auto ink = [&](const MmRect& zone) {
    return [&plan, zone](double d) { return InkOpacity(plan.damage, d, zone.d0, zone.d1); };
  };
  DrawSerial(canvas, face, plan.series, plan.number, kZone1, kZone1Ink, ink(kZone1));
  DrawSerial(canvas, face, plan.series, plan.number, kZone2, kZone2Ink, ink(kZone2));
  DrawMarks(canvas, plan.denomination, kMarkInk, std::min(1.0, plan.damage.inkStrength + 0.2));
  DrawFaceWear(canvas, plan.damage);
}

}  // namespace morvex::notegen
